import QtQuick 2.15
import QtQuick.Controls 2.15

// Shown when a scan found nothing, or when every duplicate has been removed.
Item {
    id: empty

    property bool allRemoved: false

    signal newScanRequested()

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 2 * Theme.spacingXl, 440)
        spacing: Theme.spacingM

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 72
            height: 72
            radius: 36
            color: Theme.successSoft
            GlyphIcon {
                anchors.centerIn: parent
                width: 36
                height: 36
                name: "check"
                color: Theme.success
            }
        }
        Label {
            objectName: "emptyTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: empty.allRemoved ? qsTr("All duplicates removed") : qsTr("No similar photos found")
            font.pixelSize: Theme.fontTitle
            font.weight: Font.DemiBold
            color: Theme.text
        }
        Label {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: empty.allRemoved
                  ? qsTr("Every marked copy is gone. Your library is tidy.")
                  : qsTr("The scanned places hold no duplicate or similar photos at this similarity. Try a lower similarity or other folders.")
            font.pixelSize: Theme.fontBody
            color: Theme.textMuted
        }
        Item { width: 1; height: Theme.spacingXs }
        FlatButton {
            objectName: "newScanButton"
            anchors.horizontalCenter: parent.horizontalCenter
            kind: "primary"
            text: qsTr("Scan other folders")
            onClicked: empty.newScanRequested()
        }
    }
}
