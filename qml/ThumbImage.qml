import QtQuick 2.15
import QtQuick.Controls 2.15

// A picture from an image provider with a shimmering placeholder while it is being made and a
// "cannot preview" tile when it could not be made.
Rectangle {
    id: thumb

    property string source: ""
    // 0 not made yet, 1 made, 2 could not be made (the photo model's thumbnail state)
    property int thumbState: 1
    // Bumped by the owner when its row changed: the picture may have arrived meanwhile.
    property int revision: 0
    property int fillMode: Image.PreserveAspectCrop
    property bool compactText: width < 120
    property bool reloading: false
    readonly property bool ready: image.status === Image.Ready
    readonly property bool failed: thumbState === 2 || (image.status === Image.Error && thumbState === 1)
                                   || (source === "" && thumbState !== 0)

    color: Theme.placeholder
    clip: true

    // A reload asked for while a request is on its way waits for it to end: restarting it
    // can lose the answer, and the tile would keep its placeholder.
    property bool reloadPending: false

    // An Image ignores a source equal to the one it has, so a reload goes through "".
    function reload() {
        if (image.status === Image.Loading) {
            reloadPending = true
            return
        }
        reloading = true
        reloading = false
    }
    onRevisionChanged: reload()

    Image {
        id: image
        anchors.fill: parent
        asynchronous: true
        cache: false
        fillMode: thumb.fillMode
        smooth: true
        // No mipmaps: GL made each picture's chain on the render thread as it came on screen
        // (software GL compiling programs for it), and the results' first frame, with a page of
        // new pictures, held the window for hundreds of milliseconds. A thumbnail is at most about
        // three times the size it is drawn at, which smooth scaling handles.
        mipmap: false
        // Asked for only once made: the provider has nothing to give before, and says so in
        // the log. The photo model reports the state of every thumbnail it hears about.
        source: !thumb.reloading && thumb.thumbState === 1 ? thumb.source : ""
        opacity: thumb.ready ? 1 : 0
        onStatusChanged: {
            if (status !== Image.Loading && thumb.reloadPending) {
                thumb.reloadPending = false
                thumb.reload()
            }
        }
        Behavior on opacity { NumberAnimation { duration: Theme.animationMs } }
    }

    Rectangle {
        id: shimmer
        visible: !thumb.ready && !thumb.failed
        width: parent.width * 0.6
        height: parent.height
        opacity: 0.5
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 0.5; color: Theme.dark ? Qt.rgba(1, 1, 1, 0.07) : Qt.rgba(1, 1, 1, 0.7) }
            GradientStop { position: 1; color: "transparent" }
        }
        NumberAnimation on x {
            running: shimmer.visible && thumb.visible
            from: -shimmer.width
            to: thumb.width
            duration: 1300
            loops: Animation.Infinite
        }
    }

    // Made only for a picture that could not be made: most tiles never show it.
    Loader {
        anchors.centerIn: parent
        active: thumb.failed
        sourceComponent: Column {
            spacing: Theme.spacingXs
            GlyphIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                width: thumb.compactText ? 22 : 32
                height: width
                name: "brokenImage"
                color: Theme.textFaint
            }
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                // Longer translations wrap inside small thumbnails instead of running past them.
                width: Math.min(implicitWidth, thumb.width - 2 * Theme.spacingXs)
                text: qsTr("Cannot preview")
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: Theme.fontCaption
                color: Theme.textMuted
            }
        }
    }
}
