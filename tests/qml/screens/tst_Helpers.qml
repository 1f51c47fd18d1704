import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

ScreenTestCase {
    name: "Helpers"

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
}
