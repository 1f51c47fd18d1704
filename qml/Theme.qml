pragma Singleton
import QtQuick 2.15

// Colours, spacing and type sizes of every screen. A dark system palette gives the dark
// colours, any other the light ones.
QtObject {
    id: theme

    readonly property SystemPalette system: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: luminance(system.window) < 0.5

    // Opaque colours, so that every text and its background can be checked for contrast
    // (at least 4.5:1, the pairs in textPairs). "Fill" colours are backgrounds for white text.
    readonly property var palettes: ({
        light: {
            window: "#f3f4f7", surface: "#ffffff", surfaceAlt: "#eceef2", placeholder: "#eef0f3",
            text: "#1f2328", textMuted: "#545b66", textFaint: "#646b75",
            accent: "#1d4ed8", accentFill: "#1d4ed8", accentText: "#ffffff", accentSoft: "#e6edfc",
            danger: "#b91c1c", dangerFill: "#c81e1e", dangerSoft: "#fcebeb",
            warning: "#92400e", warningSoft: "#fdf1dc",
            success: "#166534", successFill: "#15803d", successSoft: "#e3f3e8",
            markRing: "#ffffff", markHalo: "#1f2328"
        },
        dark: {
            window: "#1e1f22", surface: "#2a2c30", surfaceAlt: "#35373c", placeholder: "#34363a",
            text: "#e8eaed", textMuted: "#b0b4bb", textFaint: "#9da2aa",
            accent: "#7cb0ff", accentFill: "#2563eb", accentText: "#ffffff", accentSoft: "#2d3a52",
            danger: "#fca5a5", dangerFill: "#c81e1e", dangerSoft: "#4a2c2f",
            warning: "#fcd34d", warningSoft: "#4a3f22",
            success: "#86efac", successFill: "#15803d", successSoft: "#27412f",
            markRing: "#ffffff", markHalo: "#111214"
        }
    })
    // Each text colour with the backgrounds it is drawn on.
    readonly property var textPairs: [
        ["text", "window"], ["text", "surface"], ["text", "surfaceAlt"], ["text", "placeholder"],
        ["text", "accentSoft"], ["text", "dangerSoft"],
        ["textMuted", "window"], ["textMuted", "surface"], ["textMuted", "surfaceAlt"], ["textMuted", "placeholder"],
        ["textMuted", "dangerSoft"],
        ["textFaint", "window"], ["textFaint", "surface"],
        ["accent", "window"], ["accent", "surface"], ["accent", "accentSoft"],
        ["accentText", "accentFill"], ["accentText", "dangerFill"], ["accentText", "successFill"],
        ["danger", "surface"], ["danger", "dangerSoft"],
        ["warning", "window"], ["warning", "surface"], ["warning", "warningSoft"],
        ["text", "warningSoft"], ["textMuted", "warningSoft"], ["success", "warningSoft"],
        ["success", "surface"], ["success", "successSoft"]
    ]
    readonly property var colors: palettes[dark ? "dark" : "light"]

    readonly property color window: colors.window
    readonly property color surface: colors.surface
    readonly property color surfaceAlt: colors.surfaceAlt
    readonly property color border: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.10)
    readonly property color text: colors.text
    readonly property color textMuted: colors.textMuted
    readonly property color textFaint: colors.textFaint
    readonly property color accent: colors.accent
    readonly property color accentFill: colors.accentFill
    readonly property color accentText: colors.accentText
    readonly property color accentSoft: colors.accentSoft
    readonly property color danger: colors.danger
    readonly property color dangerFill: colors.dangerFill
    readonly property color dangerSoft: colors.dangerSoft
    readonly property color warning: colors.warning
    readonly property color warningSoft: colors.warningSoft
    readonly property color success: colors.success
    readonly property color successFill: colors.successFill
    readonly property color successSoft: colors.successSoft
    readonly property color placeholder: colors.placeholder
    // The two rings of a photo's mark box: one of them stands out from any photo.
    readonly property color markRing: colors.markRing
    readonly property color markHalo: colors.markHalo
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
}
