import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Picks another similarity threshold for re-grouping the found photos without a new scan.
Popup {
    id: popup

    property int threshold: Helpers.defaultThreshold

    signal regroupRequested(int threshold)

    padding: Theme.spacingL
    modal: false
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    background: Card {}

    contentItem: ColumnLayout {
        spacing: Theme.spacingS
        RowLayout {
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: qsTr("Similarity")
                font.pixelSize: Theme.fontBody
                font.weight: Font.DemiBold
                color: Theme.text
            }
            Label {
                text: qsTr("%1%").arg(popup.threshold)
                font.pixelSize: Theme.fontBody
                font.weight: Font.DemiBold
                color: Theme.accent
            }
        }
        Slider {
            objectName: "regroupSlider"
            Layout.preferredWidth: 260
            from: 0
            to: 100
            stepSize: 5
            snapMode: Slider.SnapAlways
            value: popup.threshold
            onMoved: popup.threshold = Math.round(value)
        }
        Label {
            Layout.preferredWidth: 260
            wrapMode: Text.WordWrap
            text: qsTr("Groups the photos found again at this similarity. Marks are cleared.")
            font.pixelSize: Theme.fontCaption
            color: Theme.textMuted
        }
        FlatButton {
            objectName: "regroupButton"
            Layout.alignment: Qt.AlignRight
            kind: "primary"
            text: qsTr("Re-group")
            onClicked: {
                popup.close()
                popup.regroupRequested(popup.threshold)
            }
        }
    }
}
