import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 700

    ScreenTestCase {
        name: "DecisionsDialog"

        Component {
            id: dialogComponent
            DecisionsDialog { mgr: dfMgr }
        }
        Component {
            id: previewComponent
            PreviewPage { width: 1000; height: 600; mgr: dfMgr }
        }
        SignalSpy { id: backSpy; signalName: "backRequested" }

        // Forgets what earlier tests decided, then scans: a regroup rewrites the groups.
        function freshScan(counts) {
            var idle = function () { return !fixture.scanning() }
            waitFor(idle)
            dfMgr.forgetAllDecisions()
            waitFor(idle)
            verify(fixture.scan(counts))
        }

        function test_forgetListsAndForgetsTheDecision() {
            freshScan([2])
            verify(dfMgr.separatePair(1000, fixture.photoPath(0, 0), fixture.photoPath(0, 1)))
            waitFor(function () { return !fixture.scanning() })
            var dialog = createTemporaryObject(dialogComponent, root)
            dialog.open()
            waitOpened(dialog)
            var list = child(dialog, "decisionsList")
            compare(list.count, 1)
            waitFor(function () { return list.itemAtIndex(0) !== null })
            mouseClick(child(list.itemAtIndex(0), "forgetButton"))
            compare([list.count, dfMgr.decisionCount], [0, 0])
            verify(!child(dialog, "forgetAllButton").enabled)
            verify(child(dialog, "decisionsIntro").text.indexOf("not said") >= 0)
            waitFor(function () { return !fixture.scanning() })
        }

        function test_pairDecisionFromTheCompareView() {
            freshScan([4])
            var page = createTemporaryObject(previewComponent, root)
            backSpy.clear()
            backSpy.target = page
            page.open(1000, 1)
            var button = child(page, "notDuplicatesPairButton")
            // Only two photos side by side make a pair
            verify(!button.visible)
            page.setCompare(3)
            verify(button.visible)
            var pair = [page.pathAt(1), page.pathAt(3)].sort()
            mouseClick(button)
            var decisions = dfMgr.decisionList()
            compare(decisions.length, 1)
            compare([decisions[0].pathA, decisions[0].pathB].sort(), pair)
            // The regroup replaces the group on view, so the page goes back to the results
            compare(backSpy.count, 1)
        }
    }
}
