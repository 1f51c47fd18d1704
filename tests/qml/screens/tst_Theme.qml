import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

// Every text colour of both palettes stays readable on each background it is drawn on.
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

    function test_contrast(data) {
        var fore = relativeLuminance(data.fore)
        var back = relativeLuminance(data.back)
        var ratio = (Math.max(fore, back) + 0.05) / (Math.min(fore, back) + 0.05)
        verify(ratio >= 4.5, data.fore + " on " + data.back + " is " + ratio.toFixed(2) + ":1")
    }
}
