import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

// What a user decides on: the compare view, the preview's arrows and the pairs said not to
// be duplicates.
ScreenTestCase {
    id: root
    width: 1024
    height: 640
    name: "Decide"

    Component {
        id: decisionsComponent
        DecisionsDialog { mgr: dfMgr }
    }

    property var win: null

    function open(counts) {
        win = openMain(counts)
        return child(win, "previewPage")
    }

    function test_compareFromAnyPhoto_data() {
        return [
            { tag: "from the first", row: 0, other: 1 },
            { tag: "from the last", row: 2, other: 0 }
        ]
    }

    // Both panes fill and the table names the better photo of each differing row.
    function test_compareFromAnyPhoto(data) {
        var preview = open([3])
        win.openPreview(1000, data.row)
        mouseClick(child(preview, "compareButton"))
        compare(preview.compareRow, data.other)
        tryCompare(preview, "mainPhase", "ready", 10000)
        tryCompare(preview, "comparePhase", "ready", 10000)
        var table = child(preview, "compareTable")
        verify(table.visible)
        var resolution = child(table, "compareRow_resolution")
        // The fixture's first photo has the most pixels.
        compare([resolution.differs, resolution.better], [true, data.row === 0 ? -1 : 1])
        verify(child(table, "compareRow_resolution" + (data.row === 0 ? "_left" : "_right")).text.indexOf("✓") === 0)
        verify(!child(table, "compareRow_format").differs)
    }

    function test_arrowsCrossGroups_data() {
        return [
            { tag: "past the last photo", group: 1000, row: 1, key: Qt.Key_Right, toGroup: 1001, toRow: 0 },
            { tag: "before the first photo", group: 1001, row: 0, key: Qt.Key_Left, toGroup: 1000, toRow: 1 },
            { tag: "onto the next page", group: 1005, row: 1, button: "nextButton", toGroup: 1006, toRow: 0 },
            { tag: "no group after the last", group: 1006, row: 1, button: "nextButton", toGroup: 1006, toRow: 1 }
        ]
    }

    function test_arrowsCrossGroups(data) {
        var preview = open([2, 2, 2, 2, 2, 2, 2])
        var results = child(win, "resultsPage")
        tryCompare(results, "groupCount", 7)
        win.openPreview(data.group, data.row)
        if (data.button) {
            mouseClick(child(preview, data.button))
        } else {
            win.requestActivate()
            tryVerify(function () { return win.active && win.activeFocusItem === preview })
            keyClick(data.key)
        }
        compare([preview.groupKey, preview.row], [data.toGroup, data.toRow])
        tryCompare(preview, "mainPhase", "ready", 10000)
        if (data.toGroup === data.group)
            return
        // Back in the results, the page holds the group the arrows reached.
        mouseClick(child(preview, "backButton"))
        var row = data.toGroup - 1000
        compare([results.currentGroup, results.groupPages.page], [row, Math.floor(row / results.groupPages.pageSize)])
    }

    function test_groupOfOneLeaves_data() {
        return [
            { tag: "pair", first: 2, marks: [false, true] },
            { tag: "all but the last of three", first: 3, marks: [true, true, false] }
        ]
    }

    // A group left with one photo duplicates nothing: it leaves the view and the pages.
    function test_groupOfOneLeaves(data) {
        var counts = [data.first, 2, 2, 2, 2, 2, 2]
        open(counts)
        var results = child(win, "resultsPage")
        tryCompare(results, "groupCount", 7)
        compare(results.groupPages.pageCount, 2)
        fixture.setMarks(0, data.marks)
        tryCompare(dfMgr, "checkedItemCount", data.first - 1)
        dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
        tryCompare(results, "groupCount", 6, 10000)
        compare([results.groupPages.pageCount, results.groupKeyAt(0)], [1, 1001])
    }

    // Forgets what earlier tests decided: each forgetting regroups.
    function forgetDecisions() {
        var idle = function () { return !fixture.scanning() }
        waitFor(idle)
        dfMgr.forgetAllDecisions()
        waitFor(idle)
    }

    function test_pairDecisionIsMadeListedAndForgotten() {
        forgetDecisions()
        var preview = open([4])
        win.openPreview(1000, 1)
        var button = child(preview, "notDuplicatesPairButton")
        // Only two photos side by side make a pair
        verify(!button.visible)
        preview.setCompare(3)
        verify(button.visible)
        var pair = [preview.pathAt(1), preview.pathAt(3)].sort()
        mouseClick(button)
        var decisions = dfMgr.decisionList()
        compare(decisions.length, 1)
        compare([decisions[0].pathA, decisions[0].pathB].sort(), pair)
        // The regroup replaces the group on view, so the page goes back to the results
        compare(win.screen, "results")

        // The decisions dialog lists the pair and forgets it.
        waitFor(function () { return !fixture.scanning() })
        var dialog = createTemporaryObject(decisionsComponent, root)
        dialog.open()
        waitOpened(dialog)
        var list = child(dialog, "decisionsList")
        compare(list.count, 1)
        waitFor(function () { return list.itemAtIndex(0) !== null })
        mouseClick(child(list.itemAtIndex(0), "forgetButton"))
        compare([list.count, dfMgr.decisionCount], [0, 0])
        verify(!child(dialog, "forgetAllButton").enabled)
        waitFor(function () { return !fixture.scanning() })
    }
}
