import QtQuick 2.15
import QtQuick.Controls 2.15
import DupPicsMgr 1.0
import Mirelle 1.0

// What a removal of the marked photos did: how many, how much space, where they went, and
// the way back when there is one; the photos that stayed are named with their reasons.
AppDialog {
    id: summary

    property var deltor: null
    property int removed: 0
    property double bytes: 0
    property int method: DFMEnum.DupPicType_MoveToTrash
    property string folder: ""
    property bool undoable: false
    property string failures: ""

    function show(count, size, how, where) {
        removed = count
        bytes = size
        method = how
        folder = where
        failures = ""
        undoable = count > 0 && how !== DFMEnum.DupPicType_DelPermanentiy && newestRestorable()
        open()
    }

    // The journal's newest request is the one just made; it can be undone while any of its
    // files can be put back.
    function newestRestorable() {
        var history = deltor ? deltor.removalHistory() : []
        var newest = null
        for (var i = 0; i < history.length; ++i) {
            if (!newest || Number(history[i].id) > Number(newest.id))
                newest = history[i]
        }
        return !!newest && newest.restorable > 0
    }

    function whereText() {
        var size = Format.size(bytes)
        if (method === DFMEnum.DupPicType_DelPermanentiy)
            return qsTr("%1 deleted permanently. This cannot be undone.").arg(size)
        if (method === DFMEnum.DupPicType_MoveToFolder)
            return qsTr("%1 moved to %2.").arg(size).arg(folder)
        return Helpers.recycleBin ? qsTr("%1 moved to the recycle bin.").arg(size) : qsTr("%1 moved to the trash.").arg(size)
    }

    title: removed > 0 ? Helpers.numerus(qsTr("%n photo(s) removed", "", removed), removed)
                       : qsTr("No photos were removed")
    iconName: failures === "" ? "check" : "warning"
    iconColor: failures === "" ? Theme.success : Theme.warning
    closePolicy: Popup.CloseOnEscape

    Label {
        objectName: "summaryText"
        visible: summary.removed > 0
        width: parent.width
        text: summary.whereText() + (summary.undoable ? " " + qsTr("Undo puts them back where they were.") : "")
        wrapMode: Text.Wrap
        font.pixelSize: Theme.fontBody
        color: Theme.text
    }
    ScrollView {
        visible: summary.failures !== ""
        width: parent.width
        height: Math.min(failureText.implicitHeight, 180)
        clip: true
        Label {
            id: failureText
            objectName: "summaryFailures"
            width: summary.availableWidth
            text: summary.failures
            wrapMode: Text.Wrap
            font.pixelSize: Theme.fontCaption + 1
            color: Theme.text
        }
    }

    buttons: [
        FlatButton {
            objectName: "summaryUndoButton"
            visible: summary.undoable
            text: qsTr("Undo")
            enabled: !!summary.deltor && !summary.deltor.undoRunning
            onClicked: {
                summary.close()
                summary.deltor.undoRemoval(-1)
            }
        },
        FlatButton {
            objectName: "summaryOkButton"
            kind: "primary"
            text: qsTr("OK")
            onClicked: summary.close()
        }
    ]
}
