import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15

// The thumbnail size slider of the results header. It shows size; dragging reports each step
// and the final size once let go, so the options are written once per drag.
RowLayout {
    id: control

    property int size: Helpers.thumbSizeDefault
    // Narrow windows leave the buttons beside it their room.
    property bool compact: false

    signal sizeMoved(int size)
    signal sizeChosen(int size)

    spacing: Theme.spacingXs

    GlyphIcon {
        visible: !control.compact
        width: 16
        height: 16
        name: "image"
        color: Theme.textMuted
    }
    Slider {
        id: slider
        objectName: "thumbSizeSlider"
        Layout.preferredWidth: control.compact ? 64 : 84
        from: Helpers.thumbSizeMin
        to: Helpers.thumbSizeMax
        stepSize: Helpers.thumbSizeStep
        snapMode: Slider.SnapAlways
        onMoved: control.sizeMoved(value)
        onPressedChanged: if (!pressed) control.sizeChosen(value)
        ToolTip.visible: Window.window !== null && hovered
        ToolTip.delay: 600
        ToolTip.text: qsTr("Thumbnail size (Ctrl + and Ctrl −)")
        // Dragging would end a plain binding; the keys must move the handle after it.
        Binding on value { value: control.size }
    }
}
