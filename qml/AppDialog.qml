import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15

// Modal dialog frame of the screens: a card with a title, the content, and a button row that
// subclasses fill through the "buttons" property.
Popup {
    id: dialog

    property string title: ""
    property string iconName: ""
    property color iconColor: Theme.accent
    default property alias content: body.data
    property alias buttons: buttonRow.data

    // The keys go back where they were before the dialog opened, not to whatever item Qt picks.
    property Item returnFocus: null
    onAboutToShow: returnFocus = parent ? parent.Window.activeFocusItem : null
    onClosed: {
        if (returnFocus && returnFocus.visible)
            returnFocus.forceActiveFocus()
        returnFocus = null
    }

    anchors.centerIn: Overlay.overlay
    width: 460
    modal: true
    focus: true
    padding: Theme.spacingXl
    closePolicy: Popup.NoAutoClose

    Overlay.modal: Rectangle { color: Theme.scrim }

    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: Theme.animationMs }
        NumberAnimation { property: "scale"; from: 0.96; to: 1; duration: Theme.animationMs; easing.type: Easing.OutCubic }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: 100 }
    }

    background: Card {
        border.color: Theme.border
    }

    // Positioners rather than layouts: wrapped text in a layout re-enters the layout pass and
    // leaves the popup too tall.
    contentItem: Column {
        spacing: Theme.spacingL

        RowLayout {
            width: parent.width
            spacing: Theme.spacingM
            Rectangle {
                visible: dialog.iconName !== ""
                width: 36
                height: 36
                radius: 18
                color: Qt.rgba(dialog.iconColor.r, dialog.iconColor.g, dialog.iconColor.b, 0.14)
                GlyphIcon {
                    anchors.centerIn: parent
                    width: 20
                    height: 20
                    name: dialog.iconName
                    color: dialog.iconColor
                }
            }
            Label {
                objectName: "dialogTitle"
                Layout.fillWidth: true
                text: dialog.title
                // Long translated titles take a second line rather than losing their end.
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                font.pixelSize: Theme.fontSubtitle + 2
                font.weight: Font.DemiBold
                color: Theme.text
            }
        }

        Column {
            id: body
            width: parent.width
            spacing: Theme.spacingM
        }

        Row {
            id: buttonRow
            anchors.right: parent.right
            spacing: Theme.spacingS
        }
    }
}
