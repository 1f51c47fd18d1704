import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// The recorded trash and move removals, newest first, with an undo for each and the files an
// undo could not bring back. Permanent deletions are never listed: they cannot be undone.
AppDialog {
    id: undo

    property var deltor: null
    property var history: []
    property string problem: ""
    property string resultText: ""
    property var failedList: []
    readonly property bool running: deltor ? deltor.undoRunning : false
    readonly property bool canUndoLast: problem === "" && firstRestorable() >= 0

    function firstRestorable() {
        for (var i = 0; i < history.length; ++i) {
            if (history[i].restorable > 0)
                return i
        }
        return -1
    }

    function refresh() {
        if (!deltor) {
            history = []
            problem = qsTr("Undo is not available.")
            return
        }
        history = deltor.removalHistory()
        problem = deltor.journalProblem()
    }

    function showHistory() {
        resultText = ""
        failedList = []
        refresh()
        open()
    }

    function undoRequest(requestId) {
        if (!deltor || running)
            return
        resultText = ""
        failedList = []
        deltor.undoRemoval(requestId)
    }

    // "Undo last removal": straight from the results screen, with the outcome shown here.
    function undoLast() {
        showHistory()
        if (canUndoLast)
            undoRequest(-1)
    }

    function methodText(method) {
        if (method === 2)
            return qsTr("Moved to a folder")
        return Helpers.recycleBin ? qsTr("Moved to the recycle bin") : qsTr("Moved to the trash")
    }

    title: qsTr("Removal history")
    iconName: "back"
    closePolicy: Popup.CloseOnEscape
    width: 560

    Connections {
        target: undo.deltor
        function onSigUndoFinished(result) {
            undo.resultText = result.message
            undo.failedList = result.failed
            undo.refresh()
        }
    }

    Label {
        objectName: "undoProblem"
        visible: undo.problem !== ""
        width: parent.width
        text: undo.problem
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.danger
    }

    Label {
        objectName: "undoEmpty"
        visible: undo.problem === "" && undo.history.length === 0
        width: parent.width
        text: Helpers.recycleBin ? qsTr("No removal to undo. Photos moved to the recycle bin or to a folder are listed here.")
                                 : qsTr("No removal to undo. Photos moved to the trash or to a folder are listed here.")
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }

    ListView {
        id: historyList
        objectName: "historyList"
        visible: undo.history.length > 0
        width: parent.width
        height: Math.min(contentHeight, 220)
        clip: true
        model: undo.history
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        delegate: RowLayout {
            id: row
            required property var modelData
            required property int index
            width: historyList.width
            height: 40
            spacing: Theme.spacingM
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0
                Label {
                    Layout.fillWidth: true
                    text: undo.methodText(row.modelData.method) + " · "
                          + Helpers.numerus(qsTr("%n photo(s)", "", row.modelData.files), row.modelData.files)
                    elide: Text.ElideRight
                    font.pixelSize: Theme.fontBody
                    color: Theme.text
                }
                Label {
                    text: Format.dateTime(row.modelData.time)
                          + (row.modelData.restorable === 0 ? " · " + qsTr("undone")
                             : row.modelData.restorable < row.modelData.files
                               ? " · " + qsTr("%1 still to undo").arg(row.modelData.restorable) : "")
                    font.pixelSize: Theme.fontCaption
                    color: Theme.textMuted
                }
            }
            FlatButton {
                objectName: "undoRequestButton" + row.index
                implicitHeight: 28
                text: qsTr("Undo")
                enabled: row.modelData.restorable > 0 && !undo.running
                onClicked: undo.undoRequest(row.modelData.id)
            }
        }
    }

    RowLayout {
        visible: undo.running
        width: parent.width
        spacing: Theme.spacingS
        BusyIndicator {
            implicitWidth: 24
            implicitHeight: 24
            running: undo.running
        }
        Label {
            Layout.fillWidth: true
            text: qsTr("Bringing the photos back…")
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
    }

    Label {
        objectName: "undoResult"
        visible: undo.resultText !== "" && !undo.running
        width: parent.width
        text: undo.resultText
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        font.weight: Font.DemiBold
        color: undo.failedList.length > 0 ? Theme.danger : Theme.text
    }

    ListView {
        id: failedView
        objectName: "undoFailedList"
        visible: undo.failedList.length > 0 && !undo.running
        width: parent.width
        height: Math.min(contentHeight, 120)
        clip: true
        model: undo.failedList
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        delegate: Label {
            required property string modelData
            width: failedView.width
            text: modelData
            // Every character of the path counts here: the user looks for the file by it.
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            font.pixelSize: Theme.fontCaption
            color: Theme.text
        }
    }

    buttons: [
        FlatButton {
            objectName: "closeUndoButton"
            text: qsTr("Close")
            onClicked: undo.close()
        },
        FlatButton {
            objectName: "undoLastButton"
            kind: "primary"
            text: qsTr("Undo last removal")
            enabled: undo.canUndoLast && !undo.running
            onClicked: undo.undoRequest(-1)
        }
    ]
}
