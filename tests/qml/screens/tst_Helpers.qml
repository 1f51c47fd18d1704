import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

ScreenTestCase {
    name: "Helpers"

    function test_skippedText_data() {
        return [
            { tag: "nothing passed over", counts: [0, 0, 0, 0], text: "" },
            { tag: "no counts yet", counts: [], text: "" },
            { tag: "one folder", counts: [1, 0, 0, 0], text: "Passed over: 1 folder could not be opened" },
            { tag: "several kinds", counts: [2, 1, 3, 0],
              text: "Passed over: 2 folders could not be opened, 1 file could not be read, 3 files damaged or not pictures" },
            { tag: "too large only", counts: [0, 0, 0, 5], text: "Passed over: 5 pictures too large to open" }
        ]
    }

    function test_skippedText(data) {
        compare(Helpers.skippedText(data.counts), data.text)
    }

    // Which side each row of the compare table calls better: the marking rule's order.
    function test_compareRows_data() {
        var base = { name: "a.jpg", folder: "/p/", format: ".jpg", width: 800, height: 600, size: 1000,
                     date: "2020-01-01 10:00:00", original: false, similarity: 100, marked: false }
        var with_ = function (changes) { return Helpers.merged(base, changes) }
        return [
            { tag: "same photo facts", a: base, b: base, row: "resolution", differs: false, better: 0 },
            { tag: "HEIC beside JPEG", a: with_({ format: ".HEIC" }), b: base, row: "format", differs: true, better: 1 },
            { tag: "two other formats", a: with_({ format: ".png" }), b: base, row: "format", differs: true, better: 0 },
            { tag: "more pixels", a: base, b: with_({ width: 1600, height: 1200 }), row: "resolution", differs: true, better: 1 },
            { tag: "larger file of equal pixels", a: with_({ size: 2000 }), b: base, row: "size", differs: true, better: -1 },
            { tag: "larger file of fewer pixels", a: with_({ size: 2000, width: 400 }), b: base, row: "size", differs: true, better: 0 },
            { tag: "newer", a: base, b: with_({ date: "2021-01-01 09:00:00" }), row: "date", differs: true, better: 1 },
            { tag: "newer of fewer pixels", a: base, b: with_({ date: "2021-01-01 09:00:00", width: 400 }), row: "date", differs: true, better: 0 },
            { tag: "more pixels but blurred", a: with_({ detail: 1.0 }), b: with_({ detail: 0.5, width: 1600 }), row: "resolution", differs: true, better: 0 },
            { tag: "unknown date", a: with_({ date: "" }), b: base, row: "date", differs: true, better: 0 },
            { tag: "camera original", a: with_({ original: true }), b: base, row: "original", differs: true, better: -1 },
            { tag: "kept beside marked", a: with_({ marked: true }), b: base, row: "mark", differs: true, better: 1 },
            { tag: "similarity is no merit", a: with_({ similarity: 90 }), b: base, row: "similarity", differs: true, better: 0 }
        ]
    }

    function test_compareRows(data) {
        var rows = Helpers.compareRows(data.a, data.b)
        var row = rows.filter(function (r) { return r.key === data.row })[0]
        compare(row.differs, data.differs)
        compare(row.better, data.better)
    }

    // Each map is read into plain fields; one made by makeOptions also holds the threshold's
    // slot and the unit's name as the manager reads them. A new threshold keeps the rest.
    // The start page's round trip reads the default and an everyday map.
    function test_readOptions_data() {
        var fields = function (originalOnly, minSize, unitIndex, threshold, rotations, thumbSize) {
            return { originalOnly: originalOnly, minSize: minSize, unitIndex: unitIndex, threshold: threshold,
                     rotations: rotations, thumbSize: thumbSize }
        }
        var thumb = function (value) { return { thumbSize: { value: value } } }
        var normal = Helpers.thumbSizeDefault
        return [
            { tag: "identical only", map: Helpers.makeOptions(true, 0, 0, 100), slot: 0, unit: "KB",
              fields: fields(true, 0, 0, 100, false, normal) },
            { tag: "loosest", map: Helpers.makeOptions(false, 1, 2, 0), slot: 20, unit: "GB",
              fields: fields(false, 1, 2, 0, false, normal) },
            { tag: "no map", map: null, fields: fields(true, 100, 0, 70, false, normal) },
            { tag: "missing records", map: { photoType: { value: 1 } }, fields: fields(false, 100, 0, 70, false, normal) },
            // An index beyond the known units would show no unit.
            { tag: "unknown unit", map: { minSize: { value: 5, index: 9 } }, fields: fields(true, 5, 0, 70, false, normal) },
            { tag: "thumbnail off the steps snaps", map: thumb(207), fields: fields(true, 100, 0, 70, false, 200) },
            { tag: "thumbnail too large", map: thumb(5000),
              fields: fields(true, 100, 0, 70, false, Helpers.thumbSizeMax) },
            { tag: "thumbnail not a number", map: thumb("big"), fields: fields(true, 100, 0, 70, false, normal) }
        ]
    }

    function test_readOptions(data) {
        compare(Helpers.readOptions(data.map), data.fields)
        if (data.slot !== undefined)
            compare([data.map.similarSlot.value, data.map.minSize.unit], [data.slot, data.unit])
        compare(Helpers.readOptions(Helpers.withThreshold(data.map, 90)), Helpers.merged(data.fields, { threshold: 90 }))
    }

    function test_distinctFolders_data() {
        return [
            { tag: "same folder names it", paths: ["/p/a/x.jpg", "/p/a/y.jpg"], parts: ["…/a", "…/a"] },
            { tag: "last folder differs", paths: ["/p/a/x.jpg", "/p/b/x.jpg"], parts: ["…/a", "…/b"] },
            { tag: "differs higher up", paths: ["/home/anna/Pictures/2023/x.jpg", "/media/backup/Pictures/2023/x.jpg"],
              parts: ["…/anna/Pictures/2023", "…/backup/Pictures/2023"] },
            { tag: "one folder inside the other", paths: ["/p/a/x.jpg", "/p/a/b/x.jpg", "/q/a/x.jpg"],
              parts: ["p/a", "…/b", "q/a"] },
            { tag: "drive letters", paths: ["C:/Photos/x.jpg", "D:/Photos/x.jpg"], parts: ["C:/Photos", "D:/Photos"] },
            { tag: "backslashes", paths: ["C:\\A\\x.jpg", "C:\\B\\x.jpg"], parts: ["…/A", "…/B"] }
        ]
    }

    function test_distinctFolders(data) {
        compare(Helpers.distinctFolders(data.paths), data.parts)
    }

    function test_formatDuration() {
        compare([Helpers.formatDuration(137000), Helpers.formatDuration(3723000)], ["02:17", "1:02:03"])
    }
}
