import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

// This file's manager starts with nothing removed: until the last row removes a photo, there
// is nothing to undo.
ScreenTestCase {
    id: root
    name: "EmptyStates"

    function test_emptyResultsSayWhy_data() {
        return [
            { tag: "nothing similar", skipped: [], counts: [], title: "No similar photos found",
              says: "Try a lower similarity" },
            { tag: "originals only left all out", skipped: [0, 0, 0, 0, 0, 3], counts: [],
              title: "No camera originals among the similar photos", says: "left out 3 similar photos" },
            { tag: "all removed", skipped: [], counts: [2], title: "All duplicates removed", says: "tidy" }
        ]
    }

    function test_emptyResultsSayWhy(data) {
        fixture.setSkipped(data.skipped)
        var win = openMain(data.counts)
        var results = child(win, "resultsPage")
        var empty = child(results, "emptyResults")
        if (data.counts.length > 0) {
            verify(!empty.visible)
            fixture.setMarks(0, [false, true])
            tryCompare(dfMgr, "checkedItemCount", 1)
            dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
            waitFor(function () { return fixture.inTrash(fixture.photoPath(0, 1)) })
        }
        waitFor(function () { return empty.visible })
        compare(child(empty, "emptyTitle").text, data.title)
        var text = child(empty, "emptyText").text
        verify(text.indexOf(data.says) >= 0, text)
        verify(!child(results, "groupList").visible)
        verify(!child(results, "exportButton").visible)
        if (data.counts.length > 0)
            return

        waitFor(function () { return !child(results, "undoLastToolButton").enabled })
        var dialog = child(win, "undoDialog")
        dialog.showHistory()
        waitOpened(dialog)
        var shown = ["undoEmpty", "undoProblem"].map(function (name) { return child(dialog.contentItem, name).visible })
        compare(shown, [true, false], dialog.problem)
        verify(!child(dialog.contentItem, "undoLastButton").enabled)
        dialog.close()
    }
}
