import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 600

    TestCase {
        id: testCase
        name: "MainWindow"
        when: windowShown

        Component {
            id: mainComponent
            Main {}
        }

        property var win: null

        function init() {
            dfMgr.setShowDeleteWin(true)
            verify(fixture.scan([3, 3]))
            win = createTemporaryObject(mainComponent, root)
            verify(win)
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function object(name) {
            var found = findChild(win, name)
            verify(found, "no object " + name)
            return found
        }

        function openRemoval() {
            win.requestRemoval()
            var dialog = object("removalDialog")
            tryVerify(function () { return dialog.opened })
            waitForRendering(dialog.contentItem)
            return dialog
        }

        function markCopies() {
            dfMgr.doAllMark()
            tryCompare(dfMgr, "checkedItemCount", 4)
        }

        function test_scanFlow() {
            verify(fixture.prepare([2, 2]))
            win.startScan(Helpers.makeOptions(true, 100, 0, 70))
            compare(win.screen, "progress")
            tryCompare(win, "screen", "results", 10000)
            tryCompare(dfMgr, "totalGroupCount", 2)
            // The copies are marked at once and the header says how to change that.
            tryCompare(dfMgr, "checkedItemCount", 2)
            var note = object("autoMarkNote")
            tryVerify(function () { return note.visible })
            mouseClick(object("clearMarksButton"))
            tryCompare(dfMgr, "checkedItemCount", 0)
            verify(!note.visible)
        }

        function test_cancelKeepsWhatWasFound_data() {
            return [
                { tag: "groups found", counts: [2, 2], screen: "results", says: "groups found so far are shown", marked: 2 },
                { tag: "nothing found", counts: [], screen: "start", says: "before it found similar photos", marked: 0 }
            ]
        }

        function test_cancelKeepsWhatWasFound(data) {
            verify(fixture.prepare(data.counts, true))
            win.startScan(Helpers.makeOptions(true, 100, 0, 70))
            compare(win.screen, "progress")
            tryCompare(dfMgr, "totalGroupCount", data.counts.length, 10000)
            dfMgr.cancel()
            tryCompare(win, "screen", data.screen, 10000)
            var notice = object("noticeDialog")
            tryVerify(function () { return notice.opened })
            verify(notice.text.indexOf(data.says) >= 0, notice.text)
            // The groups kept are marked as after a finished scan.
            tryCompare(dfMgr, "checkedItemCount", data.marked, 10000)
            notice.close()
            tryVerify(function () { return !fixture.scanning() }, 10000)
        }

        function test_removalMethod_data() {
            return [
                { tag: "trash by default", radio: "", trashed: true, says: "moved to the trash", undo: true },
                { tag: "permanent", radio: "permanentRadio", trashed: false, says: "deleted permanently", undo: false }
            ]
        }

        function test_removalMethod(data) {
            markCopies()
            var dialog = openRemoval()
            if (data.radio !== "")
                mouseClick(findChild(dialog.contentItem, data.radio))
            mouseClick(findChild(dialog.contentItem, "removeButton"))
            tryVerify(function () { return !dialog.visible })
            var copy = fixture.photoPath(0, 1)
            tryVerify(function () { return !fixture.exists(copy) }, 10000)
            compare(fixture.inTrash(copy), data.trashed)
            verify(fixture.exists(fixture.photoPath(0, 0)))
            // The summary says how many went where, and offers the way back when there is one.
            var summary = object("removalSummary")
            tryVerify(function () { return summary.opened })
            compare(summary.title, "4 photos removed")
            var text = findChild(summary.contentItem, "summaryText").text
            verify(text.indexOf(data.says) >= 0, text)
            compare(findChild(summary.contentItem, "summaryUndoButton").visible, data.undo)
            if (data.undo) {
                mouseClick(findChild(summary.contentItem, "summaryUndoButton"))
                tryVerify(function () { return fixture.exists(copy) }, 10000)
                return
            }
            // It has the keys, not the page that the closed progress handed them back to.
            win.requestActivate()
            tryVerify(function () { return win.active })
            keyClick(Qt.Key_Escape)
            tryVerify(function () { return !summary.visible })
        }

        function test_wholeGroupWarning_data() {
            return [
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
            var dialog = openRemoval()
            compare(dialog.wholeGroups, data.whole)
            compare(findChild(dialog.contentItem, "wholeGroupWarning").visible, data.whole > 0)
            dialog.close()
        }

        // Once told not to ask, a removal goes straight out with the last method, unless
        // whole groups would go.
        function test_dontAskAgain() {
            markCopies()
            var dialog = openRemoval()
            mouseClick(findChild(dialog.contentItem, "permanentRadio"))
            mouseClick(findChild(dialog.contentItem, "dontAskCheck"))
            mouseClick(findChild(dialog.contentItem, "removeButton"))
            tryVerify(function () { return !dialog.visible })
            verify(!dfMgr.getShowDeleteWin())
            tryCompare(dfMgr, "checkedItemCount", 0, 10000)
            // Each removal ends with its summary; the next step starts after it, as a user would.
            var summary = object("removalSummary")
            tryVerify(function () { return summary.opened }, 10000)
            summary.close()

            verify(fixture.scan([2, 2]))
            dfMgr.doAllMark()
            tryCompare(dfMgr, "checkedItemCount", 2)
            win.requestRemoval()
            verify(!dialog.opened)
            var copy = fixture.photoPath(1, 1)
            tryVerify(function () { return !fixture.exists(copy) }, 10000)
            verify(!fixture.inTrash(copy))
            tryVerify(function () { return summary.opened }, 10000)
            summary.close()

            verify(fixture.scan([2]))
            fixture.setMarks(0, [true, true])
            tryCompare(dfMgr, "fullyMarkedGroupCount", 1)
            win.requestRemoval()
            tryVerify(function () { return dialog.opened })
            dialog.close()
        }

        function test_nothingMarkedAsksNothing() {
            win.requestRemoval()
            verify(!object("removalDialog").opened)
        }

        function test_questions_data() {
            return [
                { tag: "removable drive, go on", signal: "signalShowCheckUsb", button: "acceptButton" },
                { tag: "removable drive, escape", signal: "signalShowCheckUsb", button: "" },
                { tag: "small trash, stop", signal: "signalShowCheckTrash", button: "rejectButton" },
                { tag: "no space, notice", signal: "signalShowCheckSpace", button: "acceptButton" }
            ]
        }

        function test_questions(data) {
            if (data.signal === "signalShowCheckSpace")
                dfMgr.signalShowCheckSpace("/media/full")
            else
                dfMgr[data.signal]()
            var question = object("questionDialog")
            tryVerify(function () { return question.opened })
            waitForRendering(question.contentItem)
            if (data.signal === "signalShowCheckSpace")
                verify(findChild(question.contentItem, "questionText").text.indexOf("/media/full") >= 0)
            if (data.button === "")
                keyClick(Qt.Key_Escape)
            else
                mouseClick(findChild(question.contentItem, data.button))
            tryVerify(function () { return !question.visible })
        }

        // A photo that went missing since the scan fails, and the summary names it.
        function test_failureMessage() {
            fixture.setMarks(0, [false, true, true])
            tryCompare(dfMgr, "checkedItemCount", 2)
            var missing = fixture.photoPath(0, 1)
            verify(fixture.remove(missing))
            dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
            var summary = object("removalSummary")
            tryVerify(function () { return summary.opened && summary.failures !== "" }, 10000)
            compare(summary.title, "1 photo removed")
            verify(summary.failures.indexOf(missing.substring(missing.lastIndexOf("/") + 1)) >= 0, summary.failures)
            summary.close()
        }

        function test_permanentDeletionWarnsBeforeItRuns() {
            markCopies()
            var dialog = openRemoval()
            var warning = findChild(dialog.contentItem, "permanentWarning")
            verify(!warning.visible)
            mouseClick(findChild(dialog.contentItem, "permanentRadio"))
            verify(warning.visible)
            compare(warning.text, "Permanent deletion cannot be undone.")
            dialog.close()
            // The fallback question of a trash removal says it too.
            dfMgr.signalShowCheckUsb()
            var question = object("questionDialog")
            tryVerify(function () { return question.opened })
            verify(question.text.indexOf("Permanent deletion cannot be undone.") > 0)
            question.reply(1)
        }

        function removeToTrash(group) {
            fixture.setMarks(group, [false, true])
            tryCompare(dfMgr, "checkedItemCount", 1)
            dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
            tryCompare(dfMgr, "checkedItemCount", 0, 10000)
            tryVerify(function () { return fixture.inTrash(fixture.photoPath(group, 1)) })
            var summary = object("removalSummary")
            tryVerify(function () { return summary.opened })
            summary.close()
            tryVerify(function () { return !summary.visible })
        }

        function openUndo(last) {
            win.screen = "results"
            var dialog = object("undoDialog")
            dialog.showHistory()
            if (last)
                dialog.undoRequest(-1)
            tryVerify(function () { return dialog.opened })
            waitForRendering(dialog.contentItem)
            return dialog
        }

        // A file that now takes the place of a removed photo stays; the other comes back.
        function test_undoLastShowsWhatCouldNotComeBack() {
            fixture.setMarks(0, [false, true, true])
            tryCompare(dfMgr, "checkedItemCount", 2)
            dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
            var taken = fixture.photoPath(0, 1)
            tryVerify(function () { return fixture.inTrash(taken) }, 10000)
            verify(fixture.writeFile(taken))
            var dialog = openUndo(true)
            var result = findChild(dialog.contentItem, "undoResult")
            tryVerify(function () { return result.visible }, 10000)
            verify(fixture.exists(fixture.photoPath(0, 2)))
            compare(findChild(dialog.contentItem, "undoFailedList").count, 1)
            dialog.close()
        }

        function test_historyUndoesTheChosenRequest() {
            removeToTrash(0)
            removeToTrash(1)
            var dialog = openUndo(false)
            var history = findChild(dialog.contentItem, "historyList")
            tryVerify(function () { return history.count >= 2 })
            // Newest first: the second row is the first removal.
            mouseClick(findChild(dialog.contentItem, "undoRequestButton1"))
            tryVerify(function () { return fixture.exists(fixture.photoPath(0, 1)) }, 10000)
            verify(!fixture.exists(fixture.photoPath(1, 1)))
            dialog.close()
        }

        function currentPath(results) {
            var photos = results.photoModelAt(results.currentGroup)
            return photos.data(photos.index(results.currentPhoto, 0), 264)
        }

        function focusOnResults(results) {
            tryVerify(function () { return win.activeFocusItem === results })
        }

        // Not asked, Delete removes at once and the undo bar brings the photo back; asked, a
        // closed question hands the keys back to the results. The manager ignores a second
        // single removal within two seconds, so only the first half removes.
        function test_deleteAsksOrOffersUndo() {
            win.screen = "results"
            var results = object("resultsPage")
            waitForRendering(results)
            focusOnResults(results)
            dfMgr.setShowDeleteWin(false)
            keyClick(Qt.Key_Right)
            var path = currentPath(results)
            keyClick(Qt.Key_Delete)
            var question = object("deleteQuestion")
            verify(!question.opened)
            var bar = object("undoBar")
            tryVerify(function () { return bar.visible && !fixture.exists(path) }, 10000)
            compare(findChild(bar, "undoBarText").text, path.substring(path.lastIndexOf("/") + 1) + " was moved to the trash.")
            findChild(bar, "undoBarButton").clicked()
            tryVerify(function () { return fixture.exists(path) }, 10000)
            verify(!bar.visible)

            // The photo back in place joins its group again.
            tryVerify(function () { return !fixture.scanning() && results.groupCount === 2 }, 10000)
            dfMgr.setShowDeleteWin(true)
            focusOnResults(results)
            keyClick(Qt.Key_Delete)
            tryVerify(function () { return question.opened })
            keyClick(Qt.Key_Escape)
            tryVerify(function () { return !question.visible })
            focusOnResults(results)
            // The closing popup hands the keys back within a few event-loop turns.
            tryVerify(function () {
                keyClick(Qt.Key_Delete)
                return question.opened
            })
            waitForRendering(question.contentItem)
            mouseClick(findChild(question.contentItem, "deleteDontAskCheck"))
            mouseClick(findChild(question.contentItem, "deleteAcceptButton"))
            tryVerify(function () { return !question.visible })
            verify(!dfMgr.getShowDeleteWin())
            focusOnResults(results)
        }

        function test_skippedPlacesAreNamed() {
            var missing = fixture.folder() + "/missing"
            dfMgr.addDropPaths([Qt.resolvedUrl("file://" + missing)])
            var notice = object("noticeDialog")
            tryVerify(function () { return notice.opened })
            compare(notice.title, "Some places were not added")
            verify(notice.text.indexOf(missing) >= 0, notice.text)
            notice.close()
        }

        function test_previewOpensAndReturns() {
            win.screen = "results"
            win.openPreview(1001, 1)
            compare(win.screen, "preview")
            var preview = object("previewPage")
            compare(preview.row, 1)
            tryCompare(preview, "mainPhase", "ready", 10000)
            verify(preview.mainDetails.length >= 4)
            preview.setCompare(0)
            compare(preview.compareRow, 0)
            preview.applyView(2, 0.3, 0.7)
            compare(findChild(preview, "mainPane").zoom, 2)
            compare(findChild(preview, "comparePane").zoom, 2)
            compare(findChild(preview, "comparePane").centerX, 0.3)
            // Dragging one zoomed picture pans the other with it.
            var mainPane = findChild(preview, "mainPane")
            tryVerify(function () { return mainPane.imageReady })
            preview.applyView(3, 0.5, 0.5)
            waitForRendering(preview)
            mouseDrag(mainPane, mainPane.width / 2, mainPane.height / 2, -120, 0)
            verify(preview.centerX > 0.5, preview.centerX)
            compare(findChild(preview, "comparePane").centerX, preview.centerX)
            mouseClick(findChild(preview, "backButton"))
            compare(win.screen, "results")
        }
    }
}
