import QtQuick 2.15
import QtQuick.Controls 2.15

// The one button look of the screens: primary (filled accent), danger (filled red),
// secondary (outlined) and ghost (text only).
Button {
    id: control

    property string kind: "secondary"
    property string iconName: ""
    readonly property bool filled: kind === "primary" || kind === "danger"
    readonly property color tone: kind === "danger" ? Theme.dangerFill : Theme.accentFill

    implicitHeight: 34
    // The natural width, kept apart from the label's shown width so that a layout may narrow
    // the button (the label then elides) without feeding back into its own size.
    implicitWidth: Math.max(34, Math.ceil(textWidth.advanceWidth) + (iconName === "" ? 0 : (text === "" ? 16 : 22))
                                + leftPadding + rightPadding)

    TextMetrics {
        id: textWidth
        font: control.font
        text: control.text
    }
    leftPadding: iconName !== "" && text !== "" ? 12 : 14
    rightPadding: 14
    font.pixelSize: Theme.fontBody
    font.weight: filled ? Font.DemiBold : Font.Medium
    hoverEnabled: true
    focusPolicy: Qt.TabFocus

    contentItem: Row {
        spacing: 6
        GlyphIcon {
            visible: control.iconName !== ""
            name: control.iconName
            width: 16
            height: 16
            anchors.verticalCenter: parent.verticalCenter
            color: label.color
        }
        Text {
            id: label
            width: Math.min(Math.ceil(textWidth.advanceWidth), control.availableWidth - (control.iconName === "" ? 0 : 22))
            text: control.text
            font: control.font
            anchors.verticalCenter: parent.verticalCenter
            color: !control.enabled ? Theme.textFaint
                 : control.filled ? Theme.accentText
                 : control.kind === "danger" ? Theme.danger
                 : control.kind === "ghost" ? Theme.text : Theme.accent
            elide: Text.ElideRight
        }
    }

    background: Rectangle {
        implicitWidth: 34
        radius: Theme.radius - 2
        color: {
            if (control.filled) {
                if (!control.enabled)
                    return Theme.placeholder
                return control.down ? Qt.darker(control.tone, 1.2)
                     : control.hovered ? Qt.lighter(control.tone, 1.1) : control.tone
            }
            if (control.down)
                return Theme.accentSoft
            return control.hovered ? Theme.placeholder : "transparent"
        }
        border.width: control.kind === "secondary" || control.visualFocus ? 1 : 0
        border.color: control.visualFocus ? Theme.accent : Theme.border
        Behavior on color { ColorAnimation { duration: Theme.animationMs } }
    }
}
