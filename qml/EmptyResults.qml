import QtQuick 2.15
import QtQuick.Controls 2.15

// Shown when a scan found nothing, or when every duplicate has been removed.
Item {
    id: empty

    property bool allRemoved: false
    // Similar photos that "Original photos only" left out: then the option, not the
    // similarity, emptied the results.
    property int notOriginal: 0
    readonly property bool byOption: !allRemoved && notOriginal > 0

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
            text: empty.allRemoved ? qsTr("All duplicates removed")
                  : empty.byOption ? qsTr("No camera originals among the similar photos")
                  : qsTr("No similar photos found")
            font.pixelSize: Theme.fontTitle
            font.weight: Font.DemiBold
            color: Theme.text
        }
        Label {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            objectName: "emptyText"
            text: empty.allRemoved
                  ? qsTr("Every marked copy is gone. Your library is tidy.")
                  : empty.byOption
                  ? Helpers.numerus(qsTr("\"Original photos only\" left out %n similar photo(s): their groups hold no camera original. Turn the option off in the scan options to see them.", "", empty.notOriginal), empty.notOriginal)
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
