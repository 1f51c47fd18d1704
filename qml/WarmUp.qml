import QtQuick 2.15
import QtQuick.Controls 2.15

// Drawn once, off the window, while the window first opens. Software GL builds the code for
// each kind of drawing the first time it meets it, on the render thread, and the window
// waits for that: the progress screen, the results' pictures and a fading dialog cost up to
// 200 ms there when they first came on screen. Here that cost joins the start-up's.
Item {
    id: warmUp

    // A small photo: an opaque picture as the thumbnails are.
    readonly property string picture: "data:image/jpeg;base64,/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcUFhYaHSUfGhsjHBYWICwgIyYnKSopGR8tMC0oMCUoKSj/wAALCAAIAAgBAREA/8QAFAABAAAAAAAAAAAAAAAAAAAAAP/EABQQAQAAAAAAAAAAAAAAAAAAAAD/2gAIAQEAAD8AP//Z"

    width: 720
    height: 620

    GroupCard {
        width: 700
    }
    // Pictures as the thumbnails are, opaque and faded as marked; tiles as the results show
    // them, one still waiting for its picture, which also keeps frames coming until this goes.
    Row {
        y: 160
        Image {
            width: 40
            height: 30
            source: warmUp.picture
            fillMode: Image.PreserveAspectCrop
            smooth: true
        }
        Image {
            width: 40
            height: 30
            source: warmUp.picture
            smooth: true
            opacity: 0.55
        }
        PhotoTile {
            fileType: ".jpg"
            similarity: 90
            current: true
        }
        PhotoTile {
            fileType: ".jpg"
            marked: true
            markReason: "-"
            identical: true
            burst: true
        }
        PhotoTile {
            thumbState: 0
        }
        ThumbSizeControl {}
    }
    // The progress screen, which a scan opens with.
    ProgressPage {
        x: 740
        width: 900
        height: 560
        currentStep: 1
        percents: [40, 0, 0]
    }
    // A dialog half way through fading in, over the scrim.
    Rectangle {
        y: 400
        width: 460
        height: 200
        color: Theme.scrim
        Card {
            anchors.fill: parent
            anchors.margins: 10
            opacity: 0.5
            scale: 0.98
            Column {
                GlyphIcon { name: "trash" }
                Label { text: "-" }
                ProgressBar { value: 0.5 }
                FlatButton { text: "-" }
            }
        }
    }
}
