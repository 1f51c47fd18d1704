import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// One step of the scan: its number, title, state, what it has counted and its percentage.
Item {
    id: step

    property int number: 1
    property string title: ""
    property string detail: ""
    property int percent: 0
    // "waiting", "active" or "done"
    property string phase: "waiting"

    implicitHeight: 56

    RowLayout {
        anchors.fill: parent
        spacing: Theme.spacingM

        Rectangle {
            width: 32
            height: 32
            radius: 16
            color: step.phase === "done" ? Theme.success
                 : step.phase === "active" ? Theme.accentFill : Theme.placeholder
            Behavior on color { ColorAnimation { duration: Theme.animationMs } }
            Label {
                anchors.centerIn: parent
                visible: step.phase !== "done"
                text: step.number
                font.pixelSize: Theme.fontBody
                font.weight: Font.DemiBold
                color: step.phase === "active" ? Theme.accentText : Theme.textMuted
            }
            GlyphIcon {
                anchors.centerIn: parent
                visible: step.phase === "done"
                width: 18
                height: 18
                name: "check"
                color: "#ffffff"
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingXs
            RowLayout {
                Layout.fillWidth: true
                Label {
                    Layout.fillWidth: true
                    text: step.title
                    font.pixelSize: Theme.fontBody
                    font.weight: step.phase === "active" ? Font.DemiBold : Font.Normal
                    color: step.phase === "waiting" ? Theme.textMuted : Theme.text
                }
                Label {
                    objectName: "stepDetail"
                    visible: step.detail !== ""
                    text: step.detail
                    font.pixelSize: Theme.fontCaption
                    color: Theme.textMuted
                }
                Label {
                    objectName: "stepPercent"
                    text: step.phase === "waiting" ? qsTr("Waiting") : qsTr("%1%").arg(step.percent)
                    font.pixelSize: Theme.fontCaption
                    color: step.phase === "done" ? Theme.success : Theme.textMuted
                }
            }
            ProgressBar {
                Layout.fillWidth: true
                from: 0
                to: 100
                // Not animated: with a percentage a second the animation never stops, and the
                // window would render frames without pause for the whole scan.
                value: step.percent
            }
        }
    }
}
