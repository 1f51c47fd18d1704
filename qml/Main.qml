import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import DupPicsMgr 1.0

// The main window: it moves between the start, progress, results and preview screens as the
// scan manager reports, and runs the removal dialogs.
ApplicationWindow {
    id: window

    // Without a scan engine the program publishes no manager: every use below is guarded.
    readonly property var mgr: typeof dfMgr !== "undefined" && dfMgr ? dfMgr : null
    readonly property var deltor: typeof dfDeltor !== "undefined" && dfDeltor ? dfDeltor : null
    readonly property var loader: typeof apploader !== "undefined" && apploader ? apploader : null
    readonly property var languages: typeof multilanguage !== "undefined" && multilanguage ? multilanguage : null
    readonly property var suite: typeof publicLoader !== "undefined" && publicLoader ? publicLoader : null
    // "start", "progress", "results" or "preview"
    property string screen: "start"
    property int removalMethod: DFMEnum.DupPicType_MoveToTrash
    property string removalFolder: ""
    readonly property var screens: ["start", "progress", "results", "preview"]

    function startScan(optionMap) {
        if (!mgr)
            return
        mgr.resetModel()
        mgr.setOption(Helpers.merged(mgr.getOption(), optionMap))
        mgr.catchOption()
        resultsPage.reset()
        progressPage.begin()
        screen = "progress"
        mgr.collectDupFiles()
    }

    function openPreview(groupKey, row) {
        if (!mgr || !groupKey)
            return
        previewPage.open(groupKey, row)
        screen = "preview"
    }

    function requestRemoval() {
        if (!mgr || mgr.checkedItemCount <= 0)
            return
        // The manager counts fully marked groups itself where it offers that count; otherwise
        // the groups whose photos were opened are looked at here.
        var whole = mgr.fullyMarkedGroupCount !== undefined ? Number(mgr.fullyMarkedGroupCount)
                                                             : Helpers.fullyMarkedGroups(mgr, resultsPage.groupModel).length
        if (whole > 0 || mgr.getShowDeleteWin())
            removalDialog.ask(whole)
        else
            removeMarked(removalMethod, removalFolder)
    }

    function removeMarked(method, folder) {
        removalMethod = method
        removalFolder = folder
        if (mgr)
            mgr.doDelDupPicByMark(method, folder)
    }

    // Delete asks first; once told not to ask, it removes at once and offers an undo instead.
    function removeOne(groupKey, path) {
        if (!mgr || !groupKey || path === "")
            return
        if (mgr.getShowDeleteWin())
            deleteQuestion.ask(groupKey, path)
        else
            removeOneNow(groupKey, path)
    }

    function removeOneNow(groupKey, path) {
        undoBar.path = path
        mgr.doDelSingleDupPic(groupKey, path, DFMEnum.DupPicType_MoveToTrash)
    }

    // A dialog that closes, or a tile that goes, takes the keyboard focus with it; the
    // screen on view gets it back so that the keys keep working.
    function keepFocusVisible() {
        var page = [startPage, progressPage, resultsPage, previewPage][Math.max(0, window.screens.indexOf(window.screen))]
        var item = window.activeFocusItem
        var inside = function (ancestor) {
            for (var p = item; p; p = p.parent) {
                if (p === ancestor)
                    return true
            }
            return false
        }
        if (!item || !item.visible || !(inside(page) || inside(window.overlay)))
            page.forceActiveFocus()
    }
    onActiveFocusItemChanged: Qt.callLater(keepFocusVisible)
    onScreenChanged: Qt.callLater(keepFocusVisible)

    // One line per drive whose trash cannot take its marked photos, as the deletion
    // service found them just before asking.
    function trashRefusalLines() {
        var list = deltor && deltor.trashRefusals ? deltor.trashRefusals() : []
        var lines = []
        for (var i = 0; i < list.length; ++i)
            lines.push(qsTr("%1: %n photo(s), %2", "", list[i].photos).arg(list[i].volume).arg(list[i].reason))
        return lines.join("\n")
    }

    function askQuestion(kind, path) {
        question.kind = kind
        if (kind === "usb" || kind === "trash") {
            // A removable drive has a trash of its own: the question is only ever about the
            // drives whose trash cannot be used, whichever check found them.
            question.title = qsTr("The trash cannot take them all")
            question.text = qsTr("The trash cannot take the marked photos on these drives:") + "\n\n"
                            + trashRefusalLines() + "\n\n"
                            + qsTr("Delete those photos permanently? The other marked photos still go to the trash.")
                            + " " + qsTr("Permanent deletion cannot be undone.")
        } else if (kind === "journal") {
            question.title = qsTr("Undo not available")
            question.text = qsTr("This removal cannot be recorded, so it could not be undone later (%1). Remove the photos anyway?").arg(path)
        } else {
            question.title = qsTr("Not enough space")
            question.text = qsTr("There is not enough free space to move the marked photos to %1. Nothing was moved.").arg(path)
        }
        question.noticeOnly = kind === "space"
        question.acceptText = kind === "journal" ? qsTr("Remove without undo") : qsTr("Delete permanently")
        question.ask()
    }

    width: 1020
    height: 600
    minimumWidth: 900
    minimumHeight: 560
    visible: true
    title: qsTr("Mirelle — similar photo finder")
    color: Theme.window
    font.pixelSize: Theme.fontBody
    palette.highlight: Theme.accentFill
    palette.highlightedText: Theme.accentText
    palette.window: Theme.window
    palette.base: Theme.surface
    palette.button: Theme.surfaceAlt
    palette.text: Theme.text
    palette.windowText: Theme.text
    palette.buttonText: Theme.text
    palette.mid: Theme.border

    Connections {
        target: window.loader
        function onSigShowWindow() {
            window.show()
            window.raise()
            window.requestActivate()
        }
    }

    Connections {
        target: window.mgr
        function onSignalNextPage() {
            if (window.screen === "start") {
                progressPage.begin()
                window.screen = "progress"
            }
        }
        function onSigScanComplete(result) {
            if (result !== 0) {
                if (window.screen === "progress")
                    window.screen = "start"
                notice.show(qsTr("The scan failed"),
                            qsTr("These folders went away during the scan (deleted or unmounted), so its results would be incomplete:")
                            + "\n" + window.mgr.scanVanished.join("\n") + "\n\n" + qsTr("Scan again once they are back."))
                return
            }
            // The automatic rule marks the copies at once, as the command line does; the
            // results header says so.
            if (window.screen === "progress" && window.mgr.totalGroupCount > 0) {
                resultsPage.autoMarked = true
                window.mgr.doAllMark()
            }
            if (window.screen === "progress")
                window.screen = "results"
        }
        // A stopped scan keeps what it found: the groups so far are shown, or the start
        // screen with its places and options.
        function onSigNotifyCanceled() {
            if (window.screen !== "progress")
                return
            if (window.mgr.totalGroupCount > 0) {
                // The groups kept are marked as those of a finished scan, and the header says so.
                resultsPage.autoMarked = true
                window.mgr.doAllMark()
                window.screen = "results"
                notice.show(qsTr("Scan stopped"),
                            qsTr("The scan was stopped. The groups found so far are shown; your places and options are kept."),
                            "search")
            } else {
                window.screen = "start"
                notice.show(qsTr("Scan stopped"),
                            qsTr("The scan was stopped before it found similar photos. Your places and options are kept."),
                            "search")
            }
        }
        function onSignalShowCheckUsb() { window.askQuestion("usb", "") }
        function onSignalShowCheckTrash() { window.askQuestion("trash", "") }
        function onSignalShowCheckSpace(path) { window.askQuestion("space", path) }
        function onSignalShowCheckJournal(reason) { window.askQuestion("journal", reason) }
        function onSigDelDupImgsResult(failList, succList) {
            // The manager's method is the one this removal ran with, however it was started.
            removalSummary.show(succList.length, window.deltor ? Number(window.deltor.filesize) : 0,
                                Number(window.mgr.deleteMethod), window.removalFolder)
            if (failList.length > 0)
                window.mgr.showFailedDelList()
        }
        function onSigSourcesSkipped(listPaths) {
            notice.show(qsTr("Some places were not added"),
                        qsTr("Only folders on this computer can be scanned. These were not added:") + "\n"
                        + listPaths.join("\n"))
        }
        function onSigShowFailedDelList(failList) {
            if (removalSummary.opened || removalSummary.visible)
                removalSummary.failures = failList
            else
                notice.show(qsTr("Some photos were not removed"), failList)
        }
        function onSigDelSingleDupImgResult(strFilePath, bSuccess) {
            if (bSuccess && strFilePath === undoBar.path)
                undoBar.show()
            if (!bSuccess && strFilePath !== "")
                notice.show(qsTr("The photo was not removed"),
                            qsTr("Failed to remove %1!").arg(window.mgr.getFileName(strFilePath)))
        }
        function onSigCloseProcessWind() { removalProgress.close() }
        // Usage events go on to the suite's bridge, which keeps them on this machine.
        function onSigSendUserInfo(strWindow, strActivity, list) {
            if (window.suite)
                window.suite.sendUserInfo(strWindow, strActivity, list)
        }
    }

    Connections {
        target: window.deltor
        function onSigShowProcessWind() { removalProgress.begin() }
        function onSigCloseProcessWind() { removalProgress.close() }
    }

    // The interface language, offered on the start screen where nothing is in progress.
    ComboBox {
        id: languageBox
        objectName: "languageBox"
        z: 2
        visible: window.screen === "start" && !!window.languages && window.languages.languages.length > 1
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        width: 140
        model: window.languages ? window.languages.languages : []
        displayText: window.languageName(currentText)
        delegate: ItemDelegate {
            required property string modelData
            width: languageBox.width
            text: window.languageName(modelData)
        }
        Component.onCompleted: {
            if (window.languages)
                currentIndex = Math.max(0, model.indexOf(window.languages.currentLanguage))
        }
        onActivated: {
            const language = model[index]
            if (window.languages && window.languages.setLanguage(language) && typeof mainUI !== "undefined" && mainUI)
                mainUI.slotLanguageChanged(language)
        }
    }

    function languageName(code) {
        const names = { "en": "English", "de": "Deutsch" }
        return names[code] !== undefined ? names[code] : code
    }

    StackLayout {
        anchors.fill: parent
        currentIndex: Math.max(0, window.screens.indexOf(window.screen))

        StartPage {
            id: startPage
            objectName: "startPage"
            mgr: window.mgr
            onScanRequested: window.startScan(optionMap)
        }
        ProgressPage {
            id: progressPage
            objectName: "progressPage"
            mgr: window.mgr
            onScanSettled: if (window.screen === "progress") window.screen = "results"
        }
        ResultsPage {
            id: resultsPage
            objectName: "resultsPage"
            mgr: window.mgr
            deltor: window.deltor
            onPreviewRequested: window.openPreview(groupKey, row)
            onRemoveMarkedRequested: window.requestRemoval()
            onRemoveOneRequested: window.removeOne(groupKey, path)
            onNewScanRequested: window.screen = "start"
            onUndoLastRequested: undoDialog.undoLast()
            onHistoryRequested: undoDialog.showHistory()
        }
        PreviewPage {
            id: previewPage
            objectName: "previewPage"
            mgr: window.mgr
            groupModel: resultsPage.groupModel
            onBackRequested: window.screen = "results"
            // Back in the results, the group the arrows reached is the one on view.
            onGroupEntered: {
                resultsPage.currentGroup = groupRow
                resultsPage.currentPhoto = previewPage.row
                resultsPage.revealCurrent()
            }
            onRemoveOneRequested: window.removeOne(groupKey, path)
            onPhotoCountChanged: if (visible && photoCount === 0) window.screen = "results"
        }
    }

    Loader {
        id: warmUp
        // Frames the window began with it: by the third, the first has been drawn.
        property int frames: 0
        x: -10000
        sourceComponent: WarmUp {}
        Connections {
            target: warmUp.active ? window : null
            function onAfterAnimating() {
                if (++warmUp.frames === 3)
                    Qt.callLater(function () { warmUp.active = false })
            }
        }
    }

    RemovalDialog {
        id: removalDialog
        objectName: "removalDialog"
        mgr: window.mgr
        method: window.removalMethod
        folder: window.removalFolder
        onConfirmed: window.removeMarked(method, folder)
    }

    QuestionDialog {
        id: question
        objectName: "questionDialog"
        property string kind: ""
        onAnswer: {
            if (!window.mgr)
                return
            if (kind === "usb")
                window.mgr.retForCheckUsb(iRet)
            else if (kind === "trash")
                window.mgr.retForCheckTrash(iRet)
            else if (kind === "journal")
                window.mgr.retForCheckJournal(iRet)
            else
                window.mgr.retForCheckSpace(iRet)
        }
    }

    RemovalProgressDialog {
        id: removalProgress
        objectName: "removalProgress"
        deltor: window.deltor
    }

    NoticeDialog {
        id: notice
        objectName: "noticeDialog"
    }

    RemovalSummary {
        id: removalSummary
        objectName: "removalSummary"
        deltor: window.deltor
    }

    UndoDialog {
        id: undoDialog
        objectName: "undoDialog"
        deltor: window.deltor
    }

    AppDialog {
        id: deleteQuestion
        objectName: "deleteQuestion"
        property var groupKey: 0
        property string path: ""

        function ask(key, filePath) {
            groupKey = key
            path = filePath
            dontAskCheck.checked = false
            open()
        }
        function accept() {
            if (dontAskCheck.checked && window.mgr)
                window.mgr.setShowDeleteWin(false)
            close()
            window.removeOneNow(groupKey, path)
        }

        title: qsTr("Move this photo to the trash?")
        iconName: "warning"
        iconColor: Theme.warning
        closePolicy: Popup.CloseOnEscape

        Label {
            objectName: "deleteQuestionText"
            width: parent.width
            text: deleteQuestion.path
            wrapMode: Text.WrapAnywhere
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
        CheckBox {
            id: dontAskCheck
            objectName: "deleteDontAskCheck"
            text: qsTr("Do not ask again")
            // The closed question keeps the hover: its delayed tip would open with no window.
            ToolTip.visible: Window.window !== null && hovered && deleteQuestion.opened
            ToolTip.delay: 600
            ToolTip.text: qsTr("Asking can be turned back on in the scan options")
        }

        buttons: [
            FlatButton {
                objectName: "deleteCancelButton"
                text: qsTr("Cancel")
                onClicked: deleteQuestion.close()
            },
            FlatButton {
                objectName: "deleteAcceptButton"
                kind: "danger"
                text: qsTr("Move to trash")
                onClicked: deleteQuestion.accept()
            }
        ]
    }

    // Says what a Delete did and offers to take it back, for a while.
    Rectangle {
        id: undoBar
        objectName: "undoBar"
        property string path: ""

        function show() {
            visible = true
            hideTimer.restart()
        }

        visible: false
        z: 10
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 48
        width: undoRow.implicitWidth + 2 * Theme.spacingL
        height: undoRow.implicitHeight + Theme.spacingM
        radius: Theme.radiusS
        color: Theme.text

        Timer {
            id: hideTimer
            interval: 10000
            onTriggered: undoBar.visible = false
        }
        RowLayout {
            id: undoRow
            anchors.centerIn: parent
            spacing: Theme.spacingM
            Label {
                objectName: "undoBarText"
                text: qsTr("%1 was moved to the trash.").arg(undoBar.path.substring(undoBar.path.lastIndexOf("/") + 1))
                color: Theme.window
            }
            FlatButton {
                objectName: "undoBarButton"
                kind: "primary"
                text: qsTr("Undo")
                enabled: !!window.deltor && !window.deltor.undoRunning
                onClicked: {
                    undoBar.visible = false
                    window.deltor.undoRemoval(-1)
                }
            }
        }
    }
}
