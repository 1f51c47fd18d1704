pragma Singleton
import QtQuick 2.15

// Colours, spacing and type sizes of every screen. Colours derive from the system palette,
// so a dark desktop gives dark screens.
QtObject {
    id: theme

    readonly property SystemPalette system: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: luminance(system.window) < 0.5

    readonly property color window: dark ? system.window : Qt.rgba(0.955, 0.96, 0.97, 1)
    readonly property color surface: dark ? Qt.lighter(system.window, 1.35) : "#ffffff"
    readonly property color surfaceAlt: dark ? Qt.lighter(system.window, 1.6) : Qt.rgba(0.93, 0.94, 0.955, 1)
    readonly property color border: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.10)
    readonly property color text: system.windowText
    readonly property color textMuted: Qt.rgba(text.r, text.g, text.b, 0.62)
    readonly property color textFaint: Qt.rgba(text.r, text.g, text.b, 0.42)
    readonly property color accent: luminance(system.highlight) > 0.75 || saturation(system.highlight) < 0.2
                                    ? (dark ? "#4c9aff" : "#2563eb") : system.highlight
    readonly property color accentText: "#ffffff"
    readonly property color accentSoft: Qt.rgba(accent.r, accent.g, accent.b, dark ? 0.22 : 0.10)
    readonly property color danger: dark ? "#f87171" : "#dc2626"
    // Filled red keeps white text readable in both palettes.
    readonly property color dangerFill: "#dc2626"
    readonly property color dangerSoft: Qt.rgba(danger.r, danger.g, danger.b, dark ? 0.20 : 0.09)
    readonly property color warning: dark ? "#fbbf24" : "#b45309"
    readonly property color warningSoft: Qt.rgba(0.96, 0.62, 0.04, dark ? 0.18 : 0.12)
    readonly property color success: dark ? "#4ade80" : "#15803d"
    readonly property color successSoft: Qt.rgba(success.r, success.g, success.b, dark ? 0.20 : 0.10)
    readonly property color placeholder: dark ? Qt.rgba(1, 1, 1, 0.06) : Qt.rgba(0, 0, 0, 0.05)
    readonly property color scrim: Qt.rgba(0, 0, 0, dark ? 0.55 : 0.35)

    readonly property int spacingXs: 4
    readonly property int spacingS: 8
    readonly property int spacingM: 12
    readonly property int spacingL: 16
    readonly property int spacingXl: 24
    readonly property int radius: 8
    readonly property int radiusS: 4

    readonly property int fontCaption: 11
    readonly property int fontBody: 13
    readonly property int fontSubtitle: 15
    readonly property int fontTitle: 20
    readonly property int fontHero: 26

    readonly property int animationMs: 160

    function luminance(c) {
        return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b
    }

    function saturation(c) {
        var high = Math.max(c.r, c.g, c.b)
        var low = Math.min(c.r, c.g, c.b)
        return high <= 0 ? 0 : (high - low) / high
    }
}
