import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

// Every text colour of both palettes stays readable on each background it is drawn on,
// and a photo's mark box stands out from the photo.
ScreenTestCase {
    name: "Theme"

    // Of a "#rrggbb" colour, as the contrast ratio defines it.
    function relativeLuminance(hex) {
        var channel = function (at) {
            var v = parseInt(hex.substr(at, 2), 16) / 255
            return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4)
        }
        return 0.2126 * channel(1) + 0.7152 * channel(3) + 0.0722 * channel(5)
    }

    function test_contrast_data() {
        var rows = []
        for (var name in Theme.palettes) {
            for (var i = 0; i < Theme.textPairs.length; ++i) {
                var pair = Theme.textPairs[i]
                rows.push({ tag: name + ": " + pair[0] + " on " + pair[1],
                            fore: Theme.palettes[name][pair[0]], back: Theme.palettes[name][pair[1]] })
            }
        }
        return rows
    }

    function contrast(a, b) {
        var la = relativeLuminance(a)
        var lb = relativeLuminance(b)
        return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05)
    }

    function test_contrast(data) {
        var ratio = contrast(data.fore, data.back)
        verify(ratio >= 4.5, data.fore + " on " + data.back + " is " + ratio.toFixed(2) + ":1")
    }

    // A photo's mark box is outlined at 3:1 or more, whatever the photo under it: one of
    // its two rings stands out from the thumbnail's placeholder and from light, mid and
    // dark pictures.
    function test_markOutline_data() {
        var rows = []
        for (var name in Theme.palettes) {
            var palette = Theme.palettes[name]
            var backs = [palette.placeholder, "#ffffff", "#777777", "#3a7d44", "#d94040", "#000000"]
            for (var i = 0; i < backs.length; ++i)
                rows.push({ tag: name + ": on " + backs[i], ring: palette.markRing, halo: palette.markHalo, back: backs[i] })
        }
        return rows
    }

    function test_markOutline(data) {
        var ratio = Math.max(contrast(data.ring, data.back), contrast(data.halo, data.back))
        verify(ratio >= 3, "the outline on " + data.back + " is " + ratio.toFixed(2) + ":1")
    }
}
