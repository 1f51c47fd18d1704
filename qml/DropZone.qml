import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// Where folders are dropped or chosen; compact once the sources list holds something.
Item {
    id: zone

    property var mgr: null
    property bool compact: false
    readonly property bool dragActive: dropArea.containsDrag

    signal pathsDropped(var urls)

    implicitHeight: compact ? 64 : 260

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: Theme.radius
        color: zone.dragActive ? Theme.accentSoft : Theme.surface
        border.width: 0
        Behavior on color { ColorAnimation { duration: Theme.animationMs } }

        // Dashed outline: a plain border cannot be dashed.
        Canvas {
            id: dashes
            anchors.fill: parent
            property color stroke: zone.dragActive ? Theme.accent : Theme.border
            onStrokeChanged: requestPaint()
            onWidthChanged: requestPaint()
            onHeightChanged: requestPaint()
            onPaint: {
                var ctx = getContext("2d")
                ctx.reset()
                ctx.strokeStyle = stroke
                ctx.lineWidth = 1.5
                ctx.setLineDash([5, 4])
                var r = Theme.radius
                ctx.beginPath()
                ctx.roundedRect(1, 1, width - 2, height - 2, r, r)
                ctx.stroke()
            }
        }
    }

    Column {
        visible: !zone.compact
        anchors.centerIn: parent
        width: Math.min(parent.width - 2 * Theme.spacingXl, 420)
        spacing: Theme.spacingM

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 64
            height: 64
            radius: 32
            color: Theme.accentSoft
            GlyphIcon {
                anchors.centerIn: parent
                width: 30
                height: 30
                name: "drop"
                color: Theme.accent
            }
        }
        Label {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Drop photo folders here")
            font.pixelSize: Theme.fontSubtitle + 2
            font.weight: Font.DemiBold
            color: Theme.text
        }
        Label {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: qsTr("or choose the folders to search for duplicate and similar photos")
            font.pixelSize: Theme.fontBody
            color: Theme.textMuted
        }
        Item { width: 1; height: Theme.spacingXs }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: Theme.spacingS
            FlatButton {
                objectName: "addFolderButton"
                kind: "primary"
                iconName: "folder"
                text: qsTr("Add folder")
                enabled: !!zone.mgr
                onClicked: zone.mgr.addCollectPath()
            }
            FlatButton {
                objectName: "wholeComputerButton"
                iconName: "computer"
                text: qsTr("Whole computer")
                enabled: !!zone.mgr
                onClicked: zone.mgr.addWholeComputer()
            }
        }
    }

    RowLayout {
        visible: zone.compact
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingL
        anchors.rightMargin: Theme.spacingM
        spacing: Theme.spacingM
        GlyphIcon {
            width: 22
            height: 22
            name: "drop"
            color: zone.dragActive ? Theme.accent : Theme.textMuted
        }
        Label {
            Layout.fillWidth: true
            text: qsTr("Drop more folders here")
            color: Theme.textMuted
            font.pixelSize: Theme.fontBody
            elide: Text.ElideRight
        }
        FlatButton {
            iconName: "folder"
            text: qsTr("Add folder")
            enabled: !!zone.mgr
            onClicked: zone.mgr.addCollectPath()
        }
        FlatButton {
            kind: "ghost"
            iconName: "computer"
            text: qsTr("Whole computer")
            enabled: !!zone.mgr
            onClicked: zone.mgr.addWholeComputer()
        }
    }

    DropArea {
        id: dropArea
        anchors.fill: parent
        keys: ["text/uri-list"]
        onEntered: drag.accept(Qt.LinkAction)
        onDropped: {
            if (!drop.hasUrls)
                return
            drop.accept(Qt.LinkAction)
            zone.pathsDropped(drop.urls)
            if (zone.mgr)
                zone.mgr.addDropPaths(drop.urls)
        }
    }
}
