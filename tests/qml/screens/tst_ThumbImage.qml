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
            ZoomPane { phase: "ready"; source: "image://maxThumbProvider/g1-1-s1" }
        }

        // The large picture is 1200 × 900: fitting shrinks it into a small pane but never
        // blows it up past its own pixels in a large one.
        function test_fitNeverEnlarges_data() {
            return [{ tag: "smaller pane", width: 600, height: 600, scale: 0.5 },
                    { tag: "larger pane", width: 2400, height: 1800, scale: 1 }]
        }
        function test_fitNeverEnlarges(data) {
            var pane = createTemporaryObject(paneComponent, root, { width: data.width, height: data.height })
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
            var thumb = createTemporaryObject(thumbComponent, root,
                                              { source: "image://thumbProvider/g1-1-s" + data.state,
                                                thumbState: data.state })
            verify(thumb)
            if (data.ready) {
                tryCompare(thumb, "ready", true, 3000)
                verify(!thumb.failed)
            } else {
                wait(200)
                verify(!thumb.ready)
                verify(thumb.failed)
            }
        }
    }
}
