import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 600

    TestCase {
        id: testCase
        name: "StartPage"
        when: windowShown

        Component {
            id: pageComponent
            StartPage {
                width: 1020
                height: 600
                mgr: dfMgr
            }
        }

        SignalSpy {
            id: scanSpy
            signalName: "scanRequested"
        }

        property var page: null

        // The real folders below the fixture's, as a drop gives them.
        function setSources(names) {
            dfMgr.clear()
            var urls = []
            for (var i = 0; i < names.length; ++i) {
                fixture.makeFolder(names[i])
                urls.push("file://" + fixture.folder() + "/" + names[i])
            }
            dfMgr.addDropPaths(urls)
        }

        function init() {
            dfMgr.clear()
            page = createTemporaryObject(pageComponent, root)
            scanSpy.clear()
            scanSpy.target = page
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function child(name) {
            var item = findChild(page, name)
            verify(item, "no child " + name)
            return item
        }

        function test_noEngineBannerOnlyWithoutManager() {
            verify(!child("noEngineBanner").visible)
        }

        function test_scanNeedsASource() {
            var scan = child("scanButton")
            verify(!scan.enabled)
            setSources(["Pictures"])
            verify(scan.enabled)
            dfMgr.clear()
            verify(!scan.enabled)
        }

        function test_sourceListRemovesTheClickedEntry() {
            setSources(["a", "b", "c"])
            var list = child("sourceListView")
            tryCompare(list, "count", 3)
            waitForRendering(list)
            var remove = findChild(list.itemAtIndex(1), "removeSource")
            mouseClick(remove)
            compare(dfMgr.sources, [fixture.folder() + "/a", fixture.folder() + "/c"])
        }

        function test_defaultsComeFromTheManager() {
            compare(child("thresholdSlider").value, 70)
            compare(child("thresholdLabel").text, "70%")
            compare(child("minSizeSpin").value, 100)
            compare(child("unitCombo").currentIndex, 0)
            verify(child("originalOnlyRadio").checked)
        }

        // The options go out as the manager's option map, built from what the controls show.
        function test_controlsRoundTripThroughTheOptionMap() {
            setSources(["a"])
            waitForRendering(page)
            mouseClick(child("allImagesRadio"))
            var spin = child("minSizeSpin")
            spin.value = 250
            spin.valueModified()
            var combo = child("unitCombo")
            combo.currentIndex = 1
            combo.activated(1)
            var slider = child("thresholdSlider")
            slider.value = 85
            slider.moved()
            mouseClick(child("scanButton"))
            compare(scanSpy.count, 1)
            var map = scanSpy.signalArguments[0][0]
            compare(map.photoType.value, 1)
            compare(map.minSize.value, 250)
            compare(map.minSize.index, 1)
            compare(map.minSize.unit, "MB")
            compare(map.similarSlot.value, 3)

            // Loading that map back into a fresh page shows the same choices.
            dfMgr.setOption(map)
            var second = createTemporaryObject(pageComponent, root)
            compare(findChild(second, "thresholdSlider").value, 85)
            compare(findChild(second, "minSizeSpin").value, 250)
            compare(findChild(second, "unitCombo").currentIndex, 1)
            verify(findChild(second, "allImagesRadio").checked)
            dfMgr.setOption(Helpers.makeOptions(true, 100, 0, 70))
        }
    }
}
