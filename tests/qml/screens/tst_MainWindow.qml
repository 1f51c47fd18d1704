import QtQuick 2.15
import QtTest 1.15
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
            dfMgr.existingDirectory = ""
            dfMgr.setupResults([3, 3])
            if (dfDeltor.undoRunning)
                dfDeltor.finishUndo([], [], "")
            dfDeltor.setHistory([])
            dfDeltor.clearUndoCalls()
            win = createTemporaryObject(mainComponent, root)
            verify(win)
            dfMgr.clearCalls()
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function object(name) {
            var found = findChild(win, name)
            verify(found, "no object " + name)
            return found
        }

        function lastCall() {
            return dfMgr.calls.length > 0 ? dfMgr.calls[dfMgr.calls.length - 1] : ""
        }

        function openRemoval() {
            win.requestRemoval()
            var dialog = object("removalDialog")
            tryVerify(function () { return dialog.opened })
            return dialog
        }

        function test_scanFlow() {
            win.startScan(Helpers.makeOptions(true, 100, 0, 70))
            compare(dfMgr.calls, ["resetModel", "setOption", "catchOption", "collectDupFiles"])
            compare(win.screen, "progress")
            dfMgr.sigScanComplete(0)
            compare(win.screen, "results")

            win.screen = "start"
            win.startScan(Helpers.makeOptions(true, 100, 0, 70))
            dfMgr.sigNotifyCanceled()
            compare(win.screen, "start")
        }

        // A scan the engine ended without success still reaches 100 % but is not confirmed.
        function test_unconfirmedScanEndShowsResults() {
            win.startScan(Helpers.makeOptions(true, 100, 0, 70))
            dfMgr.sigProcProgress(3, 100)
            compare(win.screen, "progress")
            tryCompare(win, "screen", "results", 6000)
        }

        function test_removalMethod_data() {
            return [
                { tag: "recycle bin by default", radio: "", folder: "", call: "doDelDupPicByMark(1,)" },
                { tag: "permanent", radio: "permanentRadio", folder: "", call: "doDelDupPicByMark(0,)" },
                { tag: "folder", radio: "folderRadio", folder: "/tmp/kept", call: "doDelDupPicByMark(2,/tmp/kept)" }
            ]
        }

        function test_removalMethod(data) {
            dfMgr.existingDirectory = data.folder
            dfMgr.doAllMark()
            var dialog = openRemoval()
            waitForRendering(dialog.contentItem)
            if (data.radio !== "")
                mouseClick(findChild(dialog.contentItem, data.radio))
            mouseClick(findChild(dialog.contentItem, "removeButton"))
            compare(lastCall(), data.call)
            tryVerify(function () { return !dialog.visible })
        }

        function test_moveNeedsAFolder() {
            dfMgr.doAllMark()
            var dialog = openRemoval()
            waitForRendering(dialog.contentItem)
            mouseClick(findChild(dialog.contentItem, "folderRadio"))
            compare(dfMgr.callCount("getExistingDirectory"), 1)
            var remove = findChild(dialog.contentItem, "removeButton")
            verify(!remove.enabled)
            mouseClick(remove)
            compare(dfMgr.callCount("doDelDupPicByMark"), 0)
        }

        function test_wholeGroupWarning_data() {
            return [
                { tag: "automatic marks keep a copy", marks: [[false, true, true], [false, true, true]], whole: 0 },
                { tag: "one group fully marked", marks: [[true, true, true], [false, true, false]], whole: 1 },
                { tag: "both groups fully marked", marks: [[true, true, true], [true, true, true]], whole: 2 }
            ]
        }

        function test_wholeGroupWarning(data) {
            for (var g = 0; g < data.marks.length; ++g)
                dfMgr.getPhotosModelByCreate(1000 + g).setMarks(data.marks[g])
            var dialog = openRemoval()
            compare(dialog.wholeGroups, data.whole)
            compare(findChild(dialog.contentItem, "wholeGroupWarning").visible, data.whole > 0)
        }

        // Once told not to ask, a removal goes straight out with the last method, unless
        // whole groups would go.
        function test_dontAskAgain() {
            dfMgr.doAllMark()
            var dialog = openRemoval()
            waitForRendering(dialog.contentItem)
            mouseClick(findChild(dialog.contentItem, "permanentRadio"))
            mouseClick(findChild(dialog.contentItem, "dontAskCheck"))
            mouseClick(findChild(dialog.contentItem, "removeButton"))
            compare(dfMgr.callCount("setShowDeleteWin"), 1)
            tryVerify(function () { return !dialog.visible })
            dfMgr.clearCalls()
            win.requestRemoval()
            verify(!dialog.opened)
            compare(lastCall(), "doDelDupPicByMark(0,)")

            dfMgr.getPhotosModelByCreate(1000).setMarks([true, true, true])
            win.requestRemoval()
            tryVerify(function () { return dialog.opened })
            dialog.close()
        }

        function test_nothingMarkedAsksNothing() {
            win.requestRemoval()
            verify(!object("removalDialog").opened)
            compare(dfMgr.callCount("doDelDupPicByMark"), 0)
        }

        function test_questions_data() {
            return [
                { tag: "removable drive, go on", signal: "signalShowCheckUsb", button: "acceptButton", call: "retForCheckUsb(0)" },
                { tag: "removable drive, stop", signal: "signalShowCheckUsb", button: "rejectButton", call: "retForCheckUsb(1)" },
                { tag: "removable drive, escape", signal: "signalShowCheckUsb", button: "", call: "retForCheckUsb(1)" },
                { tag: "small recycle bin, go on", signal: "signalShowCheckTrash", button: "acceptButton", call: "retForCheckTrash(0)" },
                { tag: "small recycle bin, stop", signal: "signalShowCheckTrash", button: "rejectButton", call: "retForCheckTrash(1)" },
                { tag: "no space, notice", signal: "signalShowCheckSpace", button: "acceptButton", call: "retForCheckSpace(0)" },
                { tag: "no space, escape", signal: "signalShowCheckSpace", button: "", call: "retForCheckSpace(0)" }
            ]
        }

        // The manager's worker waits for exactly one answer to each question.
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
            compare(dfMgr.calls, [data.call])
        }

        function test_progressWindow() {
            var progress = object("removalProgress")
            dfDeltor.setState(0, "", 0, 0, 0)
            dfDeltor.sigShowProcessWind()
            tryVerify(function () { return progress.opened })
            dfDeltor.setState(40, "C:/p/IMG_1.jpg", 4, 10, 2048)
            compare(findChild(progress.contentItem, "removalPercent").text, "40%")
            compare(findChild(progress.contentItem, "removalCurrentFile").text, "C:/p/IMG_1.jpg")
            verify(findChild(progress.contentItem, "removalCounts").text.indexOf("4 of 10") === 0)
            compare(findChild(progress.contentItem, "removalProgressBar").to, 100)
            var before = dfDeltor.cancelCount
            waitForRendering(progress.contentItem)
            mouseClick(findChild(progress.contentItem, "cancelRemovalButton"))
            compare(dfDeltor.cancelCount, before + 1)
            dfMgr.sigCloseProcessWind()
            tryVerify(function () { return !progress.visible })
        }

        function test_failureMessage() {
            dfMgr.setFailedList(["C:/p/a.jpg", "C:/p/b.jpg", "C:/p/c.jpg"])
            dfMgr.sigDelDupImgsResult([], ["C:/p/d.jpg"])
            compare(dfMgr.callCount("showFailedDelList"), 0)
            dfMgr.sigDelDupImgsResult(["C:/p/a.jpg", "C:/p/b.jpg", "C:/p/c.jpg"], [])
            compare(dfMgr.callCount("showFailedDelList"), 1)
            var notice = object("noticeDialog")
            tryVerify(function () { return notice.opened })
            compare(findChild(notice.contentItem, "noticeText").text, "Failed to remove a.jpg and other 2 files!")
            notice.close()
        }

        function test_permanentDeletionWarnsBeforeItRuns() {
            dfMgr.doAllMark()
            var dialog = openRemoval()
            waitForRendering(dialog.contentItem)
            var warning = findChild(dialog.contentItem, "permanentWarning")
            verify(!warning.visible)
            mouseClick(findChild(dialog.contentItem, "permanentRadio"))
            verify(warning.visible)
            compare(warning.text, "Permanent deletion cannot be undone.")
            dialog.close()
            // The fallback questions of a recycle-bin removal say it too, and name the drives.
            dfDeltor.setTrashRefusals([{ volume: "/media/card", reason: "the drive is read-only", photos: 2 }])
            dfMgr.signalShowCheckUsb()
            var question = object("questionDialog")
            tryVerify(function () { return question.opened })
            verify(question.text.indexOf("Permanent deletion cannot be undone.") > 0)
            verify(question.text.indexOf("/media/card: 2 photo(s), the drive is read-only") > 0, question.text)
            question.reply(1)
        }

        function openUndoFromResults(button) {
            win.screen = "results"
            var results = object("resultsPage")
            waitForRendering(results)
            mouseClick(findChild(results, button))
            var dialog = object("undoDialog")
            tryVerify(function () { return dialog.opened })
            waitForRendering(dialog.contentItem)
            return dialog
        }

        function test_undoLastShowsWhatCouldNotComeBack() {
            dfDeltor.setHistory([3, 2])
            var dialog = openUndoFromResults("undoLastToolButton")
            compare(dfDeltor.undoCalls, [-1])
            verify(!findChild(dialog.contentItem, "undoLastButton").enabled)
            dfDeltor.finishUndo(["C:/p/a.jpg", "C:/p/c.jpg"], ["C:/p/b.jpg: another file now takes its place"],
                                "2 of 3 files are back in place. These could not come back:")
            var result = findChild(dialog.contentItem, "undoResult")
            tryVerify(function () { return result.visible })
            compare(result.text, "2 of 3 files are back in place. These could not come back:")
            var failed = findChild(dialog.contentItem, "undoFailedList")
            verify(failed.visible)
            compare(failed.count, 1)
            // The refused file keeps its request on the list, ready for another try.
            verify(findChild(dialog.contentItem, "undoRequestButton0").enabled)
            dialog.close()
        }

        function test_historyUndoesTheChosenRequest() {
            dfDeltor.setHistory([4, 1, 2])
            var dialog = openUndoFromResults("historyToolButton")
            compare(dfDeltor.undoCalls, [])
            compare(findChild(dialog.contentItem, "historyList").count, 3)
            mouseClick(findChild(dialog.contentItem, "undoRequestButton1"))
            compare(dfDeltor.undoCalls, [2])
            // One undo at a time.
            mouseClick(findChild(dialog.contentItem, "undoRequestButton2"))
            compare(dfDeltor.undoCalls, [2])
            dfDeltor.finishUndo(["C:/p/x.jpg"], [], "1 file(s) are back in place.")
            dialog.close()
        }

        function test_badJournalDisablesUndo() {
            dfDeltor.setHistory([], "The removal journal /home/anna/.local/share/mirelle/removals.sqlite is damaged")
            var dialog = openUndoFromResults("undoLastToolButton")
            compare(dfDeltor.undoCalls, [])
            var problem = findChild(dialog.contentItem, "undoProblem")
            verify(problem.visible)
            verify(problem.text.indexOf("is damaged") > 0)
            verify(!findChild(dialog.contentItem, "undoLastButton").enabled)
            verify(!findChild(dialog.contentItem, "undoEmpty").visible)
            dialog.close()
        }

        function test_skippedPlacesAreNamed() {
            dfMgr.sigSourcesSkipped(["/missing/folder", "/photos/a.jpg"])
            var notice = object("noticeDialog")
            tryVerify(function () { return notice.opened })
            compare(notice.title, "Some places were not added")
            verify(notice.text.indexOf("/missing/folder\n/photos/a.jpg") >= 0, notice.text)
            notice.close()
        }

        function test_singleRemovalFailure() {
            dfMgr.sigDelSingleDupImgResult("C:/p/a.jpg", true)
            var notice = object("noticeDialog")
            verify(!notice.opened)
            dfMgr.sigDelSingleDupImgResult("C:/p/a.jpg", false)
            tryVerify(function () { return notice.opened })
            compare(findChild(notice.contentItem, "noticeText").text, "Failed to remove a.jpg!")
            notice.close()
        }

        function test_previewOpensAndReturns() {
            win.screen = "results"
            win.openPreview(1001, 1)
            compare(win.screen, "preview")
            var preview = object("previewPage")
            compare(preview.row, 1)
            var photos = dfMgr.getPhotosModelByCreate(1001)
            compare(preview.photoModel.lastMaxThumbPath, photos.data(photos.index(1, 0), 264))
            compare(preview.mainPhase, "ready")
            verify(preview.mainDetails.length >= 4)
            // The fake cannot make the third photo of this group: its preview says so.
            preview.showRow(2)
            compare(preview.row, 2)
            compare(preview.mainPhase, "failed")
            preview.setCompare(0)
            compare(preview.compareRow, 0)
            preview.applyView(2, 0.3, 0.7)
            compare(findChild(preview, "mainPane").zoom, 2)
            compare(findChild(preview, "comparePane").zoom, 2)
            compare(findChild(preview, "comparePane").centerX, 0.3)
            // Dragging one zoomed picture pans the other with it.
            preview.showRow(1)
            var mainPane = findChild(preview, "mainPane")
            tryVerify(function () { return mainPane.imageReady })
            preview.applyView(3, 0.5, 0.5)
            waitForRendering(preview)
            mouseDrag(mainPane, mainPane.width / 2, mainPane.height / 2, -120, 0)
            verify(preview.centerX > 0.5, preview.centerX)
            compare(findChild(preview, "comparePane").centerX, preview.centerX)
            compare(mainPane.centerX, preview.centerX)
            waitForRendering(preview)
            mouseClick(findChild(preview, "openButton"))
            verify(lastCall().indexOf("openFile(") === 0)
            mouseClick(findChild(preview, "locateButton"))
            verify(lastCall().indexOf("locateFile(") === 0)
            mouseClick(findChild(preview, "backButton"))
            compare(win.screen, "results")
        }
    }
}
