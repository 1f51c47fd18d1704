import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

ScreenTestCase {
    id: root
    name: "MainWindow"

    property var win: null

    function init() {
        dfMgr.setShowDeleteWin(true)
        win = openMain([3, 3])
    }

    function object(name) { return child(win, name) }

    function openRemoval(when) {
        win.requestRemoval()
        return waitOpened(object("removalDialog"), when)
    }

    function markCopies() {
        dfMgr.doAllMark()
        tryCompare(dfMgr, "checkedItemCount", 4)
    }

    // Each removal ends with its summary; the next step starts after it, as a user would.
    function closeSummary() {
        var summary = waitOpened(object("removalSummary"))
        summary.close()
        waitClosed(summary)
    }

    // A finished scan marks the copies at once; a cancelled one keeps what it found, says so
    // and marks it alike.
    function test_scan_data() {
        return [
            { tag: "finished", counts: [2, 2], cancel: false, screen: "results", marked: 2 },
            { tag: "cancelled with groups found", counts: [2, 2], cancel: true, screen: "results",
              says: "groups found so far are shown", marked: 2 },
            { tag: "cancelled before any", counts: [], cancel: true, screen: "start", says: "before it found similar photos",
              marked: 0 }
        ]
    }

    function test_scan(data) {
        verify(fixture.prepare(data.counts, data.cancel))
        win.startScan(Helpers.makeOptions(true, 100, 0, 70))
        compare(win.screen, "progress")
        tryCompare(dfMgr, "totalGroupCount", data.counts.length, 10000)
        if (data.cancel)
            dfMgr.cancel()
        tryCompare(win, "screen", data.screen, 10000)
        tryCompare(dfMgr, "checkedItemCount", data.marked, 10000)
        if (!data.cancel)
            return
        var notice = waitOpened(object("noticeDialog"))
        verify(notice.text.indexOf(data.says) >= 0, notice.text)
        notice.close()
        waitFor(function () { return !fixture.scanning() })
    }

    // To the trash or for good; a photo that went missing since the scan fails, and the
    // summary names it.
    function test_removalMethod_data() {
        return [
            { tag: "trash by default", radio: "", trashed: true, says: "moved to the trash", undo: true,
              missing: false, title: "4 photos removed" },
            { tag: "permanent", radio: "permanentRadio", trashed: false, says: "deleted permanently", undo: false,
              missing: false, title: "4 photos removed" },
            { tag: "one gone since the scan", radio: "", trashed: true, says: "moved to the trash", undo: true,
              missing: true, title: "3 photos removed" }
        ]
    }

    function test_removalMethod(data) {
        markCopies()
        var missing = fixture.photoPath(0, 1)
        if (data.missing)
            verify(fixture.remove(missing))
        var dialog = openRemoval()
        var warning = child(dialog.contentItem, "permanentWarning")
        verify(!warning.visible)
        if (data.radio !== "")
            mouseClick(child(dialog.contentItem, data.radio))
        // Permanent deletion warns before it runs.
        compare(warning.visible, !data.undo)
        mouseClick(child(dialog.contentItem, "removeButton"))
        waitClosed(dialog)
        var copy = fixture.photoPath(1, 1)
        waitFor(function () { return !fixture.exists(copy) })
        compare(fixture.inTrash(copy), data.trashed)
        verify(fixture.exists(fixture.photoPath(0, 0)))
        // The summary says how many went where, and offers the way back when there is one.
        var summary = waitOpened(object("removalSummary"))
        compare(summary.title, data.title)
        var text = child(summary.contentItem, "summaryText").text
        verify(text.indexOf(data.says) >= 0, text)
        var name = missing.substring(missing.lastIndexOf("/") + 1)
        compare(summary.failures.indexOf(name) >= 0, data.missing, summary.failures)
        var undo = child(summary.contentItem, "summaryUndoButton")
        compare(undo.visible, data.undo)
        if (data.undo) {
            mouseClick(undo)
            waitFor(function () { return fixture.exists(copy) })
            return
        }
        // It has the keys, not the page that the closed progress handed them back to.
        win.requestActivate()
        waitFor(function () { return win.active })
        keyClick(Qt.Key_Escape)
        waitClosed(summary)
    }

    function test_wholeGroupWarning_data() {
        return [
            { tag: "nothing marked asks nothing", marks: [[false, false, false], [false, false, false]], whole: 0 },
            { tag: "automatic marks keep a copy", marks: [[false, true, true], [false, true, true]], whole: 0 },
            { tag: "one group fully marked", marks: [[true, true, true], [false, true, false]], whole: 1 },
            { tag: "both groups fully marked", marks: [[true, true, true], [true, true, true]], whole: 2 }
        ]
    }

    function test_wholeGroupWarning(data) {
        var marked = 0
        for (var g = 0; g < data.marks.length; ++g) {
            fixture.setMarks(g, data.marks[g])
            marked += data.marks[g].filter(function (m) { return m }).length
        }
        tryCompare(dfMgr, "checkedItemCount", marked)
        tryCompare(dfMgr, "fullyMarkedGroupCount", data.whole)
        if (marked === 0) {
            win.requestRemoval()
            verify(!object("removalDialog").opened)
            return
        }
        var dialog = openRemoval()
        compare(dialog.wholeGroups, data.whole)
        compare(child(dialog.contentItem, "wholeGroupWarning").visible, data.whole > 0)
        dialog.close()
    }

    // Once told not to ask, a removal goes straight out with the last method, unless
    // whole groups would go.
    function test_dontAskAgain() {
        markCopies()
        var dialog = openRemoval("at first")
        mouseClick(child(dialog.contentItem, "permanentRadio"))
        mouseClick(child(dialog.contentItem, "dontAskCheck"))
        mouseClick(child(dialog.contentItem, "removeButton"))
        waitClosed(dialog)
        verify(!dfMgr.getShowDeleteWin())
        tryCompare(dfMgr, "checkedItemCount", 0, 10000)
        closeSummary()

        verify(fixture.scan([2, 2]))
        dfMgr.doAllMark()
        tryCompare(dfMgr, "checkedItemCount", 2)
        win.requestRemoval()
        verify(!dialog.opened)
        var copy = fixture.photoPath(1, 1)
        waitFor(function () { return !fixture.exists(copy) })
        verify(!fixture.inTrash(copy))
        closeSummary()

        verify(fixture.scan([2]))
        fixture.setMarks(0, [true, true])
        // A removal asks only once the marks are counted.
        tryCompare(dfMgr, "checkedItemCount", 2)
        tryCompare(dfMgr, "fullyMarkedGroupCount", 1)
        openRemoval("for a whole group").close()
    }

    function test_questions_data() {
        return [
            { tag: "removable drive, go on", signal: "signalShowCheckUsb", button: "acceptButton",
              says: "Permanent deletion cannot be undone." },
            { tag: "small trash, stop", signal: "signalShowCheckTrash", button: "rejectButton", says: "" },
            { tag: "no space, notice", signal: "signalShowCheckSpace", button: "acceptButton", says: "/media/full" }
        ]
    }

    function test_questions(data) {
        dfMgr[data.signal]("/media/full")
        var question = waitOpened(object("questionDialog"))
        verify(child(question.contentItem, "questionText").text.indexOf(data.says) >= 0, question.text)
        mouseClick(child(question.contentItem, data.button))
        waitClosed(question)
    }

    function removeToTrash(group, marks) {
        fixture.setMarks(group, marks)
        tryCompare(dfMgr, "checkedItemCount", marks.filter(function (m) { return m }).length)
        dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
        tryCompare(dfMgr, "checkedItemCount", 0, 10000)
        closeSummary()
    }

    // The history undoes the request chosen; a file that now takes the place of one of
    // its photos stays, and the dialog lists it.
    function test_historyUndoesTheChosenRequest() {
        removeToTrash(0, [false, true, true])
        removeToTrash(1, [false, true, false])
        verify(fixture.writeFile(fixture.photoPath(0, 1)))
        var dialog = object("undoDialog")
        dialog.showHistory()
        waitOpened(dialog)
        var history = child(dialog.contentItem, "historyList")
        waitFor(function () { return history.count >= 2 })
        // Newest first: the second row is the first removal.
        mouseClick(child(dialog.contentItem, "undoRequestButton1"))
        var result = child(dialog.contentItem, "undoResult")
        waitFor(function () { return result.visible })
        verify(fixture.exists(fixture.photoPath(0, 2)))
        verify(!fixture.exists(fixture.photoPath(1, 1)))
        compare(child(dialog.contentItem, "undoFailedList").count, 1)
        dialog.close()
    }

    function currentPath(results) {
        var photos = results.photoModelAt(results.currentGroup)
        return photos.data(photos.index(results.currentPhoto, 0), 264)
    }

    // Not asked, Delete removes at once and the undo bar brings the photo back; asked, a
    // closed question hands the keys back to the results.
    function test_deleteAsksOrOffersUndo() {
        var results = object("resultsPage")
        var hasKeys = function () { return win.activeFocusItem === results }
        waitForRendering(results)
        waitFor(hasKeys)
        dfMgr.setShowDeleteWin(false)
        keyClick(Qt.Key_Right)
        var path = currentPath(results)
        keyClick(Qt.Key_Delete)
        var question = object("deleteQuestion")
        verify(!question.opened)
        var bar = object("undoBar")
        waitFor(function () { return bar.visible && !fixture.exists(path) })
        compare(child(bar, "undoBarText").text, path.substring(path.lastIndexOf("/") + 1) + " was moved to the trash.")
        child(bar, "undoBarButton").clicked()
        waitFor(function () { return fixture.exists(path) })
        verify(!bar.visible)

        // The photo back in place joins its group again, in a regroup that replaces the
        // group's photos; Delete acts on the current photo only once they are back.
        waitFor(function () {
            var back = results.photoModelAt(0)
            return !fixture.scanning() && back && back.rowCount() === 3
        })
        dfMgr.setShowDeleteWin(true)
        waitFor(hasKeys)
        // Another photo: the same one again within two seconds would be taken for a repeat.
        keyClick(Qt.Key_Right)
        var removed = path
        path = currentPath(results)
        verify(path !== removed, path)
        keyClick(Qt.Key_Delete)
        waitOpened(question)
        keyClick(Qt.Key_Escape)
        waitClosed(question)
        waitFor(hasKeys)
        // The closing popup hands the keys back within a few event-loop turns.
        waitFor(function () {
            keyClick(Qt.Key_Delete)
            return question.opened
        })
        waitOpened(question)
        mouseClick(child(question.contentItem, "deleteDontAskCheck"))
        mouseClick(child(question.contentItem, "deleteAcceptButton"))
        waitClosed(question)
        verify(!dfMgr.getShowDeleteWin())
        waitFor(function () { return bar.visible && !fixture.exists(path) })
        waitFor(hasKeys)
    }
}
