import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15

// The folders and drives chosen for the scan, each with its remove button.
Card {
    id: card

    property var mgr: null
    readonly property var sources: mgr ? mgr.sources : []

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingS

        RowLayout {
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: qsTr("Places to scan")
                font.pixelSize: Theme.fontSubtitle
                font.weight: Font.DemiBold
                color: Theme.text
            }
            Label {
                text: Helpers.numerus(qsTr("%n place(s)", "", card.sources.length), card.sources.length)
                color: Theme.textMuted
                font.pixelSize: Theme.fontCaption
            }
            FlatButton {
                kind: "ghost"
                text: qsTr("Clear all")
                implicitHeight: 28
                visible: card.sources.length > 1
                onClicked: card.mgr.removeCollectPath("")
            }
        }

        ListView {
            id: list
            objectName: "sourceListView"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 2
            model: card.sources
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

            delegate: Rectangle {
                id: row
                required property string modelData
                required property int index
                readonly property bool isSystemRoot: modelData === "/"
                readonly property bool isDrive: isSystemRoot || /^[A-Za-z]:\/?$/.test(modelData)

                width: ListView.view.width
                height: 40
                radius: Theme.radiusS
                color: hover.hovered ? Theme.placeholder : "transparent"

                HoverHandler { id: hover }

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: Theme.spacingS
                    anchors.rightMargin: Theme.spacingXs
                    spacing: Theme.spacingM
                    GlyphIcon {
                        width: 20
                        height: 20
                        name: row.isDrive ? "drive" : "folder"
                        color: Theme.accent
                    }
                    Label {
                        Layout.fillWidth: true
                        text: row.isSystemRoot ? qsTr("System drive (/)")
                              : row.isDrive ? qsTr("Drive %1").arg(row.modelData.charAt(0).toUpperCase())
                              : row.modelData
                        elide: Text.ElideMiddle
                        color: Theme.text
                        font.pixelSize: Theme.fontBody
                    }
                    ToolButton {
                        objectName: "removeSource"
                        implicitWidth: 30
                        implicitHeight: 30
                        opacity: hover.hovered || activeFocus ? 1 : 0.55
                        onClicked: card.mgr.removeCollectPath(row.modelData)
                        ToolTip.visible: Window.window !== null && hovered
                        ToolTip.delay: 600
                        ToolTip.text: qsTr("Remove from the list")
                        contentItem: GlyphIcon { name: "close"; color: Theme.textMuted }
                        background: Rectangle {
                            radius: 15
                            color: parent.hovered ? Theme.dangerSoft : "transparent"
                        }
                    }
                }
            }
        }
    }
}
