import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// One photo in a group's strip: thumbnail, removal mark, the part of its folder that tells it
// from the other copies, resolution, size, date and how like the group's first photo it is.
Item {
    id: tile
    objectName: "photoTile"

    property string thumbUrl: ""
    property int thumbState: 1
    property int revision: 0
    property string fileName: ""
    property string filePath: ""
    property string fileType: ""
    property int pixelWidth: 0
    property int pixelHeight: 0
    property double fileSize: 0
    property string dateText: ""
    property string folderPart: ""
    // Percent to the group's first photo; below 0 for the first photo itself.
    property int similarity: -1
    property bool marked: false
    // The rule that proposed the mark, when the automatic marking set it.
    property string markReason: ""
    property bool identical: false
    property bool burst: false
    property bool current: false
    readonly property alias hovered: hover.hovered

    signal toggleMark()
    signal chosen()
    signal opened()

    implicitWidth: Helpers.thumbSizeDefault
    implicitHeight: Helpers.tileHeight(implicitWidth)

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: Theme.radius
        color: tile.marked ? Theme.dangerSoft : (hover.hovered ? Theme.placeholder : "transparent")
        border.width: tile.current ? 2 : 1
        border.color: tile.current ? Theme.accent : (tile.marked ? Theme.danger : "transparent")
        Behavior on color { ColorAnimation { duration: Theme.animationMs } }
    }

    HoverHandler { id: hover }

    TapHandler {
        onTapped: tile.chosen()
        onDoubleTapped: tile.opened()
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 6
        spacing: 2

        ThumbImage {
            id: thumb
            objectName: "tileThumb"
            Layout.fillWidth: true
            Layout.preferredHeight: width * 0.75
            radius: Theme.radiusS
            source: tile.thumbUrl
            thumbState: tile.thumbState
            revision: tile.revision
            opacity: tile.marked ? 0.55 : 1
            Behavior on opacity { NumberAnimation { duration: Theme.animationMs } }

            // The badges of rarer photos are made only for them: a page makes dozens of tiles.
            Loader {
                anchors.left: parent.left
                anchors.bottom: parent.bottom
                anchors.margins: 6
                active: tile.identical
                sourceComponent: Rectangle {
                    width: identicalLabel.implicitWidth + 10
                    height: 16
                    radius: 8
                    color: Theme.successFill
                    Label {
                        id: identicalLabel
                        anchors.centerIn: parent
                        text: qsTr("Identical")
                        font.pixelSize: 9
                        font.weight: Font.DemiBold
                        color: "#ffffff"
                    }
                }
            }

            Loader {
                anchors.right: typeBadge.left
                anchors.top: parent.top
                anchors.margins: 6
                active: tile.burst
                sourceComponent: Rectangle {
                    objectName: "burstBadge"
                    width: burstLabel.implicitWidth + 10
                    height: 16
                    radius: 8
                    color: Theme.accentFill
                    Label {
                        id: burstLabel
                        anchors.centerIn: parent
                        text: qsTr("Burst")
                        font.pixelSize: 9
                        font.weight: Font.DemiBold
                        color: Theme.accentText
                    }
                    ToolTip.visible: Window.window !== null && burstHover.hovered
                    ToolTip.delay: 600
                    ToolTip.text: qsTr("A frame of a burst: another moment, so it is not marked unless it is an exact copy")
                    HoverHandler { id: burstHover }
                }
            }

            Rectangle {
                id: typeBadge
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 6
                visible: tile.fileType !== ""
                width: typeLabel.implicitWidth + 8
                height: 16
                radius: 3
                color: Qt.rgba(0, 0, 0, 0.5)
                Label {
                    id: typeLabel
                    anchors.centerIn: parent
                    text: tile.fileType.replace(".", "")
                    font.pixelSize: 9
                    font.weight: Font.DemiBold
                    color: "#ffffff"
                }
            }

            // In identical groups every photo is 100 %, which the "Identical" badge already says.
            Rectangle {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                visible: tile.similarity >= 0 && !tile.identical
                width: similarityLabel.implicitWidth + 10
                height: 16
                radius: 8
                color: Qt.rgba(0, 0, 0, 0.6)
                Label {
                    id: similarityLabel
                    objectName: "tileSimilarity"
                    anchors.centerIn: parent
                    text: qsTr("%1%").arg(tile.similarity)
                    font.pixelSize: 9
                    font.weight: Font.DemiBold
                    color: "#ffffff"
                }
                ToolTip.visible: Window.window !== null && similarityHover.hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Similarity to the group's first photo")
                HoverHandler { id: similarityHover }
            }
        }

        Label {
            objectName: "tileName"
            Layout.fillWidth: true
            Layout.topMargin: 2
            text: tile.fileName
            elide: Text.ElideMiddle
            font.pixelSize: Theme.fontCaption + 1
            font.weight: Font.DemiBold
            color: Theme.text
        }
        Label {
            objectName: "tileFolder"
            Layout.fillWidth: true
            text: tile.folderPart
            // The end of the folder is what tells the copies apart.
            elide: Text.ElideLeft
            font.pixelSize: Theme.fontCaption
            color: Theme.text
        }
        Label {
            Layout.fillWidth: true
            text: Format.dimensions(tile.pixelWidth, tile.pixelHeight) + " · " + Format.size(tile.fileSize)
            elide: Text.ElideRight
            font.pixelSize: Theme.fontCaption
            color: Theme.textMuted
        }
        Label {
            Layout.fillWidth: true
            text: Format.dateTime(tile.dateText)
            elide: Text.ElideRight
            font.pixelSize: Theme.fontCaption
            color: Theme.textMuted
        }
        Label {
            objectName: "tileStatus"
            Layout.fillWidth: true
            text: !tile.marked ? qsTr("Kept") : tile.markReason !== "" ? qsTr("Marked: %1").arg(tile.markReason)
                                                                       : qsTr("Marked")
            wrapMode: Text.WordWrap
            maximumLineCount: 2
            elide: Text.ElideRight
            font.pixelSize: Theme.fontCaption
            font.weight: Font.DemiBold
            color: tile.marked ? Theme.danger : Theme.success
        }
        Item { Layout.fillHeight: true }
    }

    // Over the thumbnail rather than in it, so that it does not fade with a marked photo. A
    // light ring inside a dark one stands out from light and dark photos alike.
    Rectangle {
        objectName: "markBox"
        x: column.x + thumb.x + 5
        y: column.y + thumb.y + 5
        width: 24
        height: 24
        radius: 12
        color: "transparent"
        border.width: 1
        border.color: Theme.markHalo
        visible: tile.marked || hover.hovered || tile.current
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: 11
            color: tile.marked ? Theme.dangerFill : Qt.rgba(0, 0, 0, 0.35)
            border.width: 2
            border.color: Theme.markRing
            GlyphIcon {
                anchors.centerIn: parent
                width: 16
                height: 16
                name: "check"
                color: Theme.accentText
                visible: tile.marked
            }
        }
        TapHandler { onTapped: tile.toggleMark() }
    }

    // Every tooltip asks for a window: a view lets go of a delegate by taking it out of the
    // window before deleting it, and a tooltip still waiting out its delay would open nowhere.
    ToolTip.visible: Window.window !== null && hover.hovered && tile.filePath !== ""
    ToolTip.delay: 900
    ToolTip.text: tile.filePath
}
