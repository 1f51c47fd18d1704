import QtQuick 2.15
import QtQuick.Controls 2.15

// A large picture that zooms with the wheel and pans by dragging. Zoom and centre are inputs;
// interaction only reports the wanted view, so two panes can share one view.
Rectangle {
    id: pane

    property string source: ""
    // "loading", "ready" or "failed"
    property string phase: "loading"
    property real zoom: 1
    property real centerX: 0.5
    property real centerY: 0.5
    property string caption: ""
    // Fitting shrinks large photos but never enlarges small ones past their own pixels.
    readonly property real fitScale: image.implicitWidth > 0 && image.implicitHeight > 0
                                     ? Math.min(1, width / image.implicitWidth, height / image.implicitHeight) : 1
    readonly property bool failed: phase === "failed" || image.status === Image.Error
    readonly property bool imageReady: image.status === Image.Ready

    signal viewRequested(real zoom, real centerX, real centerY)

    function clampCenter(center, shown, available) {
        if (shown <= available)
            return 0.5
        var half = available / (2 * shown)
        return Math.max(half, Math.min(1 - half, center))
    }

    color: Theme.dark ? Qt.rgba(0, 0, 0, 0.35) : Qt.rgba(0, 0, 0, 0.04)
    radius: Theme.radius
    clip: true

    Image {
        id: image
        asynchronous: true
        cache: false
        smooth: true
        mipmap: true
        source: pane.phase === "ready" ? pane.source : ""
        width: implicitWidth * pane.fitScale * pane.zoom
        height: implicitHeight * pane.fitScale * pane.zoom
        x: pane.width / 2 - pane.clampCenter(pane.centerX, width, pane.width) * width
        y: pane.height / 2 - pane.clampCenter(pane.centerY, height, pane.height) * height
        opacity: status === Image.Ready ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: Theme.animationMs } }
    }

    // Its spinner keeps the window rendering frames even while hidden, so it runs only on view.
    BusyIndicator {
        anchors.centerIn: parent
        running: pane.visible && !pane.failed && image.status !== Image.Ready
        visible: running
    }

    Column {
        anchors.centerIn: parent
        visible: pane.failed
        spacing: Theme.spacingS
        GlyphIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 48
            height: 48
            name: "brokenImage"
            color: Theme.textFaint
        }
        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Cannot preview this photo")
            font.pixelSize: Theme.fontBody
            color: Theme.textMuted
        }
    }

    WheelHandler {
        onWheel: {
            var next = Math.max(1, Math.min(8, pane.zoom * Math.pow(1.2, event.angleDelta.y / 120)))
            // Zoom towards the pointer: keep the image point under it in place.
            var px = (event.x - image.x) / image.width
            var py = (event.y - image.y) / image.height
            var w = image.implicitWidth * pane.fitScale * next
            var h = image.implicitHeight * pane.fitScale * next
            var cx = px - (event.x - pane.width / 2) / w
            var cy = py - (event.y - pane.height / 2) / h
            pane.viewRequested(next, next === 1 ? 0.5 : cx, next === 1 ? 0.5 : cy)
        }
    }

    DragHandler {
        id: drag
        target: null
        property real startX: 0.5
        property real startY: 0.5
        onActiveChanged: {
            if (active) {
                startX = pane.clampCenter(pane.centerX, image.width, pane.width)
                startY = pane.clampCenter(pane.centerY, image.height, pane.height)
            }
        }
        onTranslationChanged: {
            if (!active || image.width <= 0 || image.height <= 0)
                return
            pane.viewRequested(pane.zoom,
                               pane.clampCenter(startX - translation.x / image.width, image.width, pane.width),
                               pane.clampCenter(startY - translation.y / image.height, image.height, pane.height))
        }
    }

    Rectangle {
        visible: pane.caption !== ""
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingS
        width: captionLabel.implicitWidth + 16
        height: 24
        radius: 12
        color: Qt.rgba(0, 0, 0, 0.55)
        Label {
            id: captionLabel
            anchors.centerIn: parent
            text: pane.caption
            font.pixelSize: Theme.fontCaption
            color: "#ffffff"
        }
    }
}
