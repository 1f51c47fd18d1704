import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

Item {
    id: root
    width: 400
    height: 300

    TestCase {
        name: "ThumbImage"
        when: windowShown

        Component {
            id: thumbComponent
            ThumbImage { width: 120; height: 90 }
        }

        Component {
            id: paneComponent
            ZoomPane { phase: "ready" }
        }

        // The first photo is 320 × 240: fitting shrinks it into a small pane but never blows it
        // up past its own pixels in a large one.
        function test_fitNeverEnlarges_data() {
            return [{ tag: "smaller pane", width: 160, height: 160, scale: 0.5 },
                    { tag: "larger pane", width: 640, height: 480, scale: 1 }]
        }
        function test_fitNeverEnlarges(data) {
            verify(fixture.scan([2]))
            var pane = createTemporaryObject(paneComponent, root, { width: data.width, height: data.height,
                                                                    source: "file://" + fixture.photoPath(0, 0) })
            tryCompare(pane, "imageReady", true, 3000)
            compare(pane.fitScale, data.scale)
        }

        // A photo model keeps state 0 for a row whose picture was made after the model was
        // built; a tile created later (the preview's strip, a page shown again) gets no
        // further report and must ask on its own.
        function test_tileCreatedAfterThePictureWasMade_data() {
            return [{ tag: "made after the model was built", state: 0, ready: true },
                    { tag: "made when the model was built", state: 1, ready: true },
                    { tag: "could not be made", state: 2, ready: false }]
        }
        function test_tileCreatedAfterThePictureWasMade(data) {
            verify(fixture.scan([2]))
            var photos = dfMgr.getPhotosModelByCreate(1000)
            var url = photos.data(photos.index(0, 0), 258)
            // The first tile asks until the manager has made the picture.
            var first = createTemporaryObject(thumbComponent, root, { source: url, thumbState: 1 })
            tryCompare(first, "ready", true, 10000)
            var thumb = createTemporaryObject(thumbComponent, root, { source: url, thumbState: data.state })
            verify(thumb)
            if (data.ready) {
                tryCompare(thumb, "ready", true, 3000)
                verify(!thumb.failed)
            } else {
                verify(!thumb.ready)
                verify(thumb.failed)
            }
        }
    }
}
