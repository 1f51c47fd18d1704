import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// Progress of a removal, bound to the deletion service: percentage, current file, counts and
// cancel. The service opens and closes it through its signals.
AppDialog {
    id: progressDialog

    property var deltor: null
    property bool cancelling: false
    readonly property int percent: deltor ? deltor.progress : 0
    readonly property double doneCount: deltor ? Number(deltor.filecount) : 0
    // The total is a plain call; reading it again with each progress step keeps it current.
    readonly property double totalCount: {
        percent
        doneCount
        return deltor ? Number(deltor.totalFiles()) : 0
    }

    function begin() {
        cancelling = false
        open()
    }

    title: cancelling ? qsTr("Stopping…") : qsTr("Removing photos")
    iconName: "trash"
    iconColor: Theme.accent

    ProgressBar {
        objectName: "removalProgressBar"
        width: parent.width
        from: 0
        to: 100
        value: progressDialog.percent
        Behavior on value { NumberAnimation { duration: 250 } }
    }
    RowLayout {
        width: parent.width
        Label {
            objectName: "removalCounts"
            Layout.fillWidth: true
            text: progressDialog.totalCount > 0
                  ? qsTr("%1 of %2 photos · %3 freed").arg(progressDialog.doneCount).arg(progressDialog.totalCount)
                    .arg(Format.size(progressDialog.deltor ? progressDialog.deltor.filesize : 0))
                  : Helpers.numerus(qsTr("%n photo(s) removed", "", progressDialog.doneCount), progressDialog.doneCount)
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
        Label {
            objectName: "removalPercent"
            text: qsTr("%1%").arg(progressDialog.percent)
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
            color: Theme.accent
        }
    }
    Label {
        objectName: "removalCurrentFile"
        width: parent.width
        text: progressDialog.deltor && progressDialog.deltor.currentFile !== ""
              ? progressDialog.deltor.currentFile : qsTr("Preparing…")
        elide: Text.ElideMiddle
        font.pixelSize: Theme.fontCaption
        color: Theme.textMuted
    }

    buttons: [
        FlatButton {
            objectName: "cancelRemovalButton"
            text: progressDialog.cancelling ? qsTr("Cancelling…") : qsTr("Cancel")
            enabled: !progressDialog.cancelling
            onClicked: {
                progressDialog.cancelling = true
                if (progressDialog.deltor)
                    progressDialog.deltor.tryDelCancle()
            }
        }
    ]
}
