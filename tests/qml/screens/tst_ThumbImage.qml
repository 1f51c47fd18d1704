import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

ScreenTestCase {
    id: root
    width: 400
    height: 300
    name: "ThumbImage"

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

    // The photo model reports a thumbnail as made once the library has it; a tile asks the
    // provider only then (an earlier request fails and is logged), whenever it is created.
    function test_tileAsksOnlyForAMadeThumbnail_data() {
        return [{ tag: "not made yet", state: 0, ready: false, failed: false },
                { tag: "made", state: 1, ready: true, failed: false },
                { tag: "could not be made", state: 2, ready: false, failed: true }]
    }
    function test_tileAsksOnlyForAMadeThumbnail(data) {
        verify(fixture.scan([2]))
        var photos = dfMgr.getPhotosModelByCreate(1000)
        // Reading the picture's address asks the library for it.
        var url = photos.data(photos.index(0, 0), 258)
        tryVerify(function () { return photos.data(photos.index(0, 0), 269) === 1 }, 10000)
        var thumb = createTemporaryObject(thumbComponent, root, { source: url, thumbState: data.state })
        verify(thumb)
        if (data.ready)
            tryCompare(thumb, "ready", true, 3000)
        else
            verify(!thumb.ready)
        compare(thumb.failed, data.failed)
    }
}
