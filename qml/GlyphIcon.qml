import QtQuick 2.15

// Small line icons drawn in code, so the package carries no image files and icons take the
// current text colour in light and dark palettes.
Canvas {
    id: icon

    property string name: "folder"
    property color color: Theme.text
    property real lineWidth: Math.max(1.5, width / 14)

    implicitWidth: 20
    implicitHeight: 20
    antialiasing: true
    renderStrategy: Canvas.Cooperative

    onNameChanged: requestPaint()
    onColorChanged: requestPaint()
    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()

    onPaint: {
        var ctx = getContext("2d")
        ctx.reset()
        var w = width
        var h = height
        ctx.strokeStyle = color
        ctx.fillStyle = color
        ctx.lineWidth = lineWidth
        ctx.lineCap = "round"
        ctx.lineJoin = "round"
        ctx.beginPath()
        switch (name) {
        case "folder":
            ctx.moveTo(w * 0.1, h * 0.25)
            ctx.lineTo(w * 0.4, h * 0.25)
            ctx.lineTo(w * 0.5, h * 0.35)
            ctx.lineTo(w * 0.9, h * 0.35)
            ctx.lineTo(w * 0.9, h * 0.8)
            ctx.lineTo(w * 0.1, h * 0.8)
            ctx.closePath()
            ctx.stroke()
            break
        case "drive":
            ctx.rect(w * 0.1, h * 0.3, w * 0.8, h * 0.4)
            ctx.stroke()
            ctx.beginPath()
            ctx.arc(w * 0.75, h * 0.5, lineWidth, 0, Math.PI * 2)
            ctx.fill()
            break
        case "computer":
            ctx.rect(w * 0.1, h * 0.15, w * 0.8, h * 0.52)
            ctx.moveTo(w * 0.35, h * 0.85)
            ctx.lineTo(w * 0.65, h * 0.85)
            ctx.moveTo(w * 0.5, h * 0.67)
            ctx.lineTo(w * 0.5, h * 0.85)
            ctx.stroke()
            break
        case "close":
            ctx.moveTo(w * 0.25, h * 0.25)
            ctx.lineTo(w * 0.75, h * 0.75)
            ctx.moveTo(w * 0.75, h * 0.25)
            ctx.lineTo(w * 0.25, h * 0.75)
            ctx.stroke()
            break
        case "check":
            ctx.moveTo(w * 0.2, h * 0.52)
            ctx.lineTo(w * 0.42, h * 0.74)
            ctx.lineTo(w * 0.8, h * 0.3)
            ctx.stroke()
            break
        case "warning":
            ctx.moveTo(w * 0.5, h * 0.1)
            ctx.lineTo(w * 0.92, h * 0.86)
            ctx.lineTo(w * 0.08, h * 0.86)
            ctx.closePath()
            ctx.stroke()
            ctx.beginPath()
            ctx.moveTo(w * 0.5, h * 0.38)
            ctx.lineTo(w * 0.5, h * 0.58)
            ctx.stroke()
            ctx.beginPath()
            ctx.arc(w * 0.5, h * 0.72, lineWidth * 0.7, 0, Math.PI * 2)
            ctx.fill()
            break
        case "image":
        case "brokenImage":
            ctx.rect(w * 0.12, h * 0.18, w * 0.76, h * 0.64)
            ctx.stroke()
            ctx.beginPath()
            ctx.moveTo(w * 0.16, h * 0.72)
            ctx.lineTo(w * 0.4, h * 0.48)
            ctx.lineTo(w * 0.56, h * 0.62)
            ctx.lineTo(w * 0.66, h * 0.54)
            ctx.lineTo(w * 0.84, h * 0.72)
            ctx.stroke()
            ctx.beginPath()
            ctx.arc(w * 0.66, h * 0.34, w * 0.06, 0, Math.PI * 2)
            ctx.fill()
            if (name === "brokenImage") {
                ctx.beginPath()
                ctx.moveTo(w * 0.08, h * 0.08)
                ctx.lineTo(w * 0.92, h * 0.92)
                ctx.stroke()
            }
            break
        case "trash":
            ctx.moveTo(w * 0.18, h * 0.28)
            ctx.lineTo(w * 0.82, h * 0.28)
            ctx.moveTo(w * 0.4, h * 0.28)
            ctx.lineTo(w * 0.42, h * 0.16)
            ctx.lineTo(w * 0.58, h * 0.16)
            ctx.lineTo(w * 0.6, h * 0.28)
            ctx.moveTo(w * 0.26, h * 0.28)
            ctx.lineTo(w * 0.3, h * 0.86)
            ctx.lineTo(w * 0.7, h * 0.86)
            ctx.lineTo(w * 0.74, h * 0.28)
            ctx.stroke()
            break
        case "back":
        case "chevronLeft":
            ctx.moveTo(w * 0.62, h * 0.2)
            ctx.lineTo(w * 0.34, h * 0.5)
            ctx.lineTo(w * 0.62, h * 0.8)
            if (name === "back") {
                ctx.moveTo(w * 0.36, h * 0.5)
                ctx.lineTo(w * 0.85, h * 0.5)
            }
            ctx.stroke()
            break
        case "chevronRight":
            ctx.moveTo(w * 0.38, h * 0.2)
            ctx.lineTo(w * 0.66, h * 0.5)
            ctx.lineTo(w * 0.38, h * 0.8)
            ctx.stroke()
            break
        case "search":
            ctx.arc(w * 0.43, h * 0.43, w * 0.26, 0, Math.PI * 2)
            ctx.moveTo(w * 0.62, h * 0.62)
            ctx.lineTo(w * 0.86, h * 0.86)
            ctx.stroke()
            break
        case "compare":
            ctx.rect(w * 0.08, h * 0.22, w * 0.36, h * 0.56)
            ctx.rect(w * 0.56, h * 0.22, w * 0.36, h * 0.56)
            ctx.stroke()
            break
        case "plus":
        case "minus":
            ctx.moveTo(w * 0.22, h * 0.5)
            ctx.lineTo(w * 0.78, h * 0.5)
            if (name === "plus") {
                ctx.moveTo(w * 0.5, h * 0.22)
                ctx.lineTo(w * 0.5, h * 0.78)
            }
            ctx.stroke()
            break
        case "open":
            ctx.moveTo(w * 0.45, h * 0.2)
            ctx.lineTo(w * 0.2, h * 0.2)
            ctx.lineTo(w * 0.2, h * 0.8)
            ctx.lineTo(w * 0.8, h * 0.8)
            ctx.lineTo(w * 0.8, h * 0.55)
            ctx.moveTo(w * 0.55, h * 0.2)
            ctx.lineTo(w * 0.8, h * 0.2)
            ctx.lineTo(w * 0.8, h * 0.45)
            ctx.moveTo(w * 0.8, h * 0.2)
            ctx.lineTo(w * 0.48, h * 0.52)
            ctx.stroke()
            break
        case "drop":
            ctx.moveTo(w * 0.5, h * 0.12)
            ctx.lineTo(w * 0.5, h * 0.62)
            ctx.moveTo(w * 0.3, h * 0.44)
            ctx.lineTo(w * 0.5, h * 0.64)
            ctx.lineTo(w * 0.7, h * 0.44)
            ctx.moveTo(w * 0.14, h * 0.66)
            ctx.lineTo(w * 0.14, h * 0.86)
            ctx.lineTo(w * 0.86, h * 0.86)
            ctx.lineTo(w * 0.86, h * 0.66)
            ctx.stroke()
            break
        default:
            ctx.arc(w * 0.5, h * 0.5, w * 0.3, 0, Math.PI * 2)
            ctx.stroke()
        }
    }
}
