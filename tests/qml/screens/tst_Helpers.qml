import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

TestCase {
    name: "Helpers"

    function cleanupTestCase() {
        compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
    }

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

    function test_paging_data() {
        return [
            { tag: "no rows", total: 0, per: 6, pages: 1, lastRows: 0 },
            { tag: "one short page", total: 5, per: 6, pages: 1, lastRows: 5 },
            { tag: "exactly one page", total: 6, per: 6, pages: 1, lastRows: 6 },
            { tag: "one row over", total: 7, per: 6, pages: 2, lastRows: 1 },
            { tag: "photos 16 per page", total: 33, per: 16, pages: 3, lastRows: 1 },
            { tag: "photos exact pages", total: 32, per: 16, pages: 2, lastRows: 16 }
        ]
    }

    function test_paging(data) {
        compare(Helpers.pageCount(data.total, data.per), data.pages)
        compare(Helpers.rowsOnPage(data.pages - 1, data.total, data.per), data.lastRows)
        // A page past the end falls back to the last one, a negative page to the first.
        compare(Helpers.clampPage(data.pages + 3, data.total, data.per), data.pages - 1)
        compare(Helpers.clampPage(-1, data.total, data.per), 0)
        if (data.total > 0)
            compare(Helpers.pageOfRow(data.total - 1, data.per), data.pages - 1)
    }

    function test_optionRoundTrip_data() {
        return [
            { tag: "defaults", original: true, size: 100, unit: 0, threshold: 70, slot: 6 },
            { tag: "all images in MB", original: false, size: 3, unit: 1, threshold: 85, slot: 3 },
            { tag: "identical only", original: true, size: 0, unit: 0, threshold: 100, slot: 0 },
            { tag: "loosest", original: false, size: 1, unit: 2, threshold: 0, slot: 20 }
        ]
    }

    function test_optionRoundTrip(data) {
        var map = Helpers.makeOptions(data.original, data.size, data.unit, data.threshold)
        compare(map.photoType.value, data.original ? 0 : 1)
        compare(map.minSize.value, data.size)
        compare(map.minSize.index, data.unit)
        compare(map.minSize.unit, Helpers.sizeUnits[data.unit])
        compare(map.similarSlot.value, data.slot)
        var back = Helpers.readOptions(map)
        compare(back.originalOnly, data.original)
        compare(back.minSize, data.size)
        compare(back.unitIndex, data.unit)
        compare(back.threshold, data.threshold)
    }

    function test_readOptionsFillsMissingRecords() {
        var fields = Helpers.readOptions({ photoType: { value: 1 } })
        compare(fields.originalOnly, false)
        compare(fields.minSize, 100)
        compare(fields.unitIndex, 0)
        compare(fields.threshold, 70)
        compare(Helpers.readOptions(null).threshold, 70)
        // An index beyond the known units would show no unit: it falls back to KB.
        compare(Helpers.readOptions({ minSize: { value: 5, index: 9 } }).unitIndex, 0)
    }

    function test_withThresholdKeepsOtherOptions() {
        var map = Helpers.withThreshold(Helpers.makeOptions(false, 250, 1, 70), 90)
        compare(map.similarSlot.value, 2)
        compare(map.photoType.value, 1)
        compare(map.minSize.value, 250)
        compare(map.minSize.index, 1)
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

    function test_thumbSizeOption_data() {
        return [
            { tag: "missing is the default", map: {}, size: Helpers.thumbSizeDefault },
            { tag: "off the steps snaps", map: { thumbSize: { value: 207 } }, size: 200 },
            { tag: "too large", map: { thumbSize: { value: 5000 } }, size: Helpers.thumbSizeMax },
            { tag: "not a number", map: { thumbSize: { value: "big" } }, size: Helpers.thumbSizeDefault }
        ]
    }

    function test_thumbSizeOption(data) {
        compare(Helpers.readOptions(data.map).thumbSize, data.size)
        // Changing another option keeps the size.
        var changed = Helpers.withThreshold(Helpers.withThumbSize(data.map, data.size), 90)
        compare(Helpers.readOptions(changed).thumbSize, data.size)
    }

    function test_formats_data() {
        return [
            { tag: "elapsed minutes", value: Helpers.formatDuration(137000), expected: "02:17" },
            { tag: "elapsed hours", value: Helpers.formatDuration(3723000), expected: "1:02:03" },
            { tag: "one", value: Helpers.numerus("%n photo(s)".replace("%n", 1), 1), expected: "1 photo" },
            { tag: "many", value: Helpers.numerus("%n photo(s)".replace("%n", 3), 3), expected: "3 photos" }
        ]
    }

    function test_formats(data) {
        compare(data.value, data.expected)
    }

    function test_groupFieldReadsTheRoleMap() {
        var map = { photosNumber: 4, photosSize: 100, photoSimilar100: true, photosModel: 7 }
        compare(Helpers.groupField(map, "photosNumber"), 4)
        compare(Helpers.groupField(map, "photoSimilar100"), true)
        compare(Helpers.groupField(5, "photosNumber"), 5)
    }
}
