import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/qml"

ScreenTestCase {
    id: root
    name: "StartPage"

    Component {
        id: pageComponent
        StartPage { width: 1020; height: 600; mgr: dfMgr }
    }

    SignalSpy { id: scanSpy; signalName: "scanRequested"; target: page }

    property var page: null

    // The real folders below the fixture's, as a drop gives them.
    function setSources(names) {
        dfMgr.clear()
        dfMgr.addDropPaths(names.map(function (name) {
            fixture.makeFolder(name)
            return "file://" + fixture.folder() + "/" + name
        }))
    }

    function init() {
        dfMgr.clear()
        page = createTemporaryObject(pageComponent, root)
    }

    // What the controls show: the threshold, the minimum size and its unit, which photos,
    // and whether rotated copies count.
    function shown(item) {
        return [child(item, "thresholdSlider").value, child(item, "minSizeSpin").value,
                child(item, "unitCombo").currentIndex, child(item, "originalOnlyRadio").checked,
                child(item, "rotationsCheck").checked]
    }

    // A scan needs a source; a click removes the source it is on.
    function test_sources() {
        var scan = child(page, "scanButton")
        verify(!scan.enabled)
        setSources(["a", "b", "c"])
        verify(scan.enabled)
        var list = child(page, "sourceListView")
        tryCompare(list, "count", 3)
        waitForRendering(list)
        mouseClick(child(list.itemAtIndex(1), "removeSource"))
        compare(dfMgr.sources, [fixture.folder() + "/a", fixture.folder() + "/c"])
        dfMgr.clear()
        verify(!scan.enabled)
    }

    // The controls start from the manager's options and go out as its option map, built from
    // what they show; loaded back into a fresh page, the map shows the same choices.
    function test_controlsRoundTripThroughTheOptionMap() {
        compare(shown(page), [70, 100, 0, true, false])
        compare(child(page, "thresholdLabel").text, "70%")
        verify(!child(page, "noEngineBanner").visible)
        setSources(["a"])
        waitForRendering(page)
        mouseClick(child(page, "allImagesRadio"))
        var spin = child(page, "minSizeSpin")
        spin.value = 250
        spin.valueModified()
        child(page, "unitCombo").currentIndex = 1
        child(page, "unitCombo").activated(1)
        child(page, "thresholdSlider").value = 85
        child(page, "thresholdSlider").moved()
        mouseClick(child(page, "rotationsCheck"))
        mouseClick(child(page, "scanButton"))
        compare(scanSpy.count, 1)
        var map = scanSpy.signalArguments[0][0]
        // As the manager reads them: 85% is the engine's slot 3, 250 in the second unit.
        compare([map.photoType.value, map.minSize.value, map.minSize.index, map.similarSlot.value, map.rotationMatching.value],
                [1, 250, 1, 3, 1])

        dfMgr.setOption(map)
        compare(shown(createTemporaryObject(pageComponent, root)), [85, 250, 1, false, true])
        dfMgr.setOption(Helpers.makeOptions(true, 100, 0, 70))
    }
}
