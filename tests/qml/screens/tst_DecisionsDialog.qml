import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 700

    TestCase {
        id: testCase
        name: "DecisionsDialog"
        when: windowShown

        Component {
            id: dialogComponent
            DecisionsDialog { mgr: dfMgr }
        }
        Component {
            id: optionsComponent
            ScanOptions { width: 300; mgr: dfMgr }
        }
        Component {
            id: cardComponent
            GroupCard { width: 900; mgr: dfMgr; groupKey: 1000 }
        }

        Component {
            id: previewComponent
            PreviewPage { width: 1000; height: 600; mgr: dfMgr }
        }
        SignalSpy { id: backSpy; signalName: "backRequested" }

        function decisions(n) {
            var list = []
            for (var i = 0; i < n; ++i)
                list.push({ id: 11 + i, pathA: "C:/p/IMG_" + i + ".jpg", pathB: "D:/p/IMG_" + i + ".jpg",
                            created: new Date(2026, 0, 1 + i) })
            return list
        }

        function openDialog(n, enabled, error) {
            dfMgr.decisionsEnabled = enabled
            dfMgr.decisionsError = error
            dfMgr.setDecisions(decisions(n))
            dfMgr.clearCalls()
            var dialog = createTemporaryObject(dialogComponent, root)
            dialog.open()
            tryVerify(function () { return dialog.opened })
            return dialog
        }

        function cleanup() {
            dfMgr.decisionsEnabled = true
            dfMgr.decisionsError = ""
            dfMgr.hasEngineExtras = true
            dfMgr.setDecisions([])
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
            dfMgr.setupResults([])
        }

        function test_forgetOneThenAll() {
            var dialog = openDialog(3, true, "")
            var list = findChild(dialog, "decisionsList")
            compare(list.count, 3)
            // Forgetting the second row names its decision and the list follows the manager
            tryVerify(function () { return list.itemAtIndex(1) !== null })
            mouseClick(findChild(list.itemAtIndex(1), "forgetButton"))
            compare(dfMgr.calls[dfMgr.calls.length - 1], "forgetDecision(12)")
            compare(list.count, 2)
            var forgetAll = findChild(dialog, "forgetAllButton")
            verify(forgetAll.enabled)
            mouseClick(forgetAll)
            compare(dfMgr.callCount("forgetAllDecisions"), 1)
            compare(list.count, 0)
            verify(!forgetAll.enabled)
            verify(findChild(dialog, "decisionsIntro").text.indexOf("not said") >= 0)
        }

        function test_storeOffShowsWhyAndOffersNothing() {
            var dialog = openDialog(0, false, "Remembered decisions are off: damaged")
            var error = findChild(dialog, "decisionsError")
            verify(error.visible)
            compare(error.text, "Remembered decisions are off: damaged")
            verify(!findChild(dialog, "decisionsIntro").visible)
            verify(!findChild(dialog, "forgetAllButton").enabled)
        }

        function test_rotationOptionRoundTrip_data() {
            return [ { tag: "off", value: 0 }, { tag: "on", value: 1 } ]
        }

        function test_rotationOptionRoundTrip(data) {
            var options = createTemporaryObject(optionsComponent, root)
            options.load(Helpers.makeOptions(true, 100, 0, 70, data.value === 1))
            var check = findChild(options, "rotationsCheck")
            compare(check.checked, data.value === 1)
            mouseClick(check)
            compare(options.optionMap().rotationMatching.value, 1 - data.value)
            verify(options.touched)
            // The threshold popup's rewrite keeps the option
            compare(Helpers.withThreshold(options.optionMap(), 90).rotationMatching.value, 1 - data.value)
        }

        function test_notDuplicatesOnlyWithTheEngineAdditions_data() {
            return [
                { tag: "additions and store", extras: true, enabled: true, visible: true, calls: 1 },
                { tag: "store off", extras: true, enabled: false, visible: true, calls: 0 },
                { tag: "engine without additions", extras: false, enabled: true, visible: false, calls: 0 }
            ]
        }

        function test_notDuplicatesOnlyWithTheEngineAdditions(data) {
            dfMgr.setupResults([3])
            dfMgr.hasEngineExtras = data.extras
            dfMgr.decisionsEnabled = data.enabled
            dfMgr.clearCalls()
            var card = createTemporaryObject(cardComponent, root)
            var button = findChild(card, "notDuplicatesButton")
            compare(button.visible, data.visible)
            compare(button.enabled, data.enabled)
            if (button.visible)
                mouseClick(button)
            compare(dfMgr.callCount("separateGroup"), data.calls)
        }

        function test_pairDecisionFromTheCompareView() {
            dfMgr.setupResults([4])
            var page = createTemporaryObject(previewComponent, root)
            backSpy.clear()
            backSpy.target = page
            page.open(1000, 1)
            var button = findChild(page, "notDuplicatesPairButton")
            // Only two photos side by side make a pair
            verify(!button.visible)
            page.setCompare(3)
            verify(button.visible)
            dfMgr.clearCalls()
            mouseClick(button)
            compare(dfMgr.calls[0], "separatePair(1000," + page.pathAt(1) + "," + page.pathAt(3) + ")")
            // The regroup replaces the group on view, so the page goes back to the results
            compare(backSpy.count, 1)
        }

        function test_burstBadgeFollowsTheRole() {
            dfMgr.setupResults([3])
            var card = createTemporaryObject(cardComponent, root)
            var photos = dfMgr.getPhotosModelByCreate(1000)
            photos.setBurst([false, true, false])
            var strip = findChild(card, "photoStrip")
            tryVerify(function () { return strip.itemAtIndex(2) !== null })
            verify(!findChild(strip.itemAtIndex(0), "burstBadge").visible)
            tryVerify(function () { return findChild(strip.itemAtIndex(1), "burstBadge").visible })
        }
    }
}
