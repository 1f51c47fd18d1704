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
            id: previewComponent
            PreviewPage { width: 1000; height: 600; mgr: dfMgr }
        }
        SignalSpy { id: backSpy; signalName: "backRequested" }

        // Forgets what earlier tests decided, then scans: a regroup rewrites the groups.
        function freshScan(counts) {
            tryVerify(function () { return !fixture.scanning() })
            dfMgr.forgetAllDecisions()
            tryVerify(function () { return !fixture.scanning() })
            verify(fixture.scan(counts))
        }

        function openDialog() {
            freshScan([2])
            verify(dfMgr.separatePair(1000, fixture.photoPath(0, 0), fixture.photoPath(0, 1)))
            tryVerify(function () { return !fixture.scanning() })
            var dialog = createTemporaryObject(dialogComponent, root)
            dialog.open()
            tryVerify(function () { return dialog.opened })
            return dialog
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function test_forgetListsAndForgetsTheDecision() {
            var dialog = openDialog()
            var list = findChild(dialog, "decisionsList")
            compare(list.count, 1)
            tryVerify(function () { return list.itemAtIndex(0) !== null })
            mouseClick(findChild(list.itemAtIndex(0), "forgetButton"))
            compare(list.count, 0)
            compare(dfMgr.decisionCount, 0)
            verify(!findChild(dialog, "forgetAllButton").enabled)
            verify(findChild(dialog, "decisionsIntro").text.indexOf("not said") >= 0)
            tryVerify(function () { return !fixture.scanning() })
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

        function test_pairDecisionFromTheCompareView() {
            freshScan([4])
            var page = createTemporaryObject(previewComponent, root)
            backSpy.clear()
            backSpy.target = page
            page.open(1000, 1)
            var button = findChild(page, "notDuplicatesPairButton")
            // Only two photos side by side make a pair
            verify(!button.visible)
            page.setCompare(3)
            verify(button.visible)
            var pathA = page.pathAt(1)
            var pathB = page.pathAt(3)
            mouseClick(button)
            var decisions = dfMgr.decisionList()
            compare(decisions.length, 1)
            compare([decisions[0].pathA, decisions[0].pathB].sort(), [pathA, pathB].sort())
            // The regroup replaces the group on view, so the page goes back to the results
            compare(backSpy.count, 1)
        }
    }
}
