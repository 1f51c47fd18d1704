import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import Mirelle 1.0

// The two compared photos' details in one table: rows whose values differ are tinted and the
// better value of a row carries a check, so the choice can be made without reading twice.
Column {
    id: table

    // Facts of each photo as Helpers.compareRows takes them, plus "reason" for a mark.
    property var leftFacts: ({})
    property var rightFacts: ({})
    readonly property real labelWidth: Math.round(width * 0.26)
    readonly property real valueWidth: Math.floor((width - labelWidth) / 2)

    function text(facts, key) {
        if (!facts || facts.name === undefined)
            return ""
        switch (key) {
        case "name": return facts.name
        case "folder": return facts === leftFacts ? folderParts[0] : folderParts[1]
        case "format": return String(facts.format).replace(/^\./, "").toUpperCase()
        case "resolution": return Format.dimensions(facts.width, facts.height)
        case "size": return Format.size(facts.size)
        case "date": return facts.date !== "" ? Format.dateTime(facts.date) : qsTr("Unknown")
        case "original": return facts.original ? qsTr("Camera original") : qsTr("Copy or edit")
        case "similarity": return qsTr("%1%").arg(facts.similarity)
        case "mark": return !facts.marked ? qsTr("Kept")
                            : facts.reason ? qsTr("Marked: %1").arg(facts.reason) : qsTr("Marked")
        }
        return ""
    }

    readonly property var labels: ({
        name: qsTr("Name"), folder: qsTr("Folder"), format: qsTr("Format"), resolution: qsTr("Resolution"),
        size: qsTr("File size"), date: qsTr("Date"), original: qsTr("Origin"), similarity: qsTr("Similarity"),
        mark: qsTr("Mark")
    })
    // The part of each folder that tells the two apart; the tooltip has the whole folder.
    readonly property var folderParts: leftFacts && rightFacts && leftFacts.name !== undefined && rightFacts.name !== undefined
                                       ? Helpers.distinctFolders([String(leftFacts.folder).replace(/[\\/]*$/, "/x"),
                                                                                  String(rightFacts.folder).replace(/[\\/]*$/, "/x")]) : ["", ""]
    readonly property var rows: leftFacts && rightFacts && leftFacts.name !== undefined && rightFacts.name !== undefined
                                ? Helpers.compareRows(leftFacts, rightFacts) : []

    spacing: 1

    Row {
        width: table.width
        Item { width: table.labelWidth; height: 1 }
        Repeater {
            model: [qsTr("Left"), qsTr("Right")]
            Label {
                required property string modelData
                width: table.valueWidth
                leftPadding: Theme.spacingXs
                text: modelData
                elide: Text.ElideRight
                font.pixelSize: Theme.fontCaption
                font.weight: Font.DemiBold
                color: Theme.textMuted
            }
        }
    }

    Repeater {
        model: table.rows
        Rectangle {
            id: line
            required property var modelData
            objectName: "compareRow_" + modelData.key
            // Values that read the same (sizes or times rounded alike) are not called different.
            readonly property bool shownSame: table.text(table.leftFacts, modelData.key) === table.text(table.rightFacts, modelData.key)
            readonly property bool differs: modelData.differs && !shownSame
            readonly property int better: shownSame ? 0 : modelData.better
            width: table.width
            height: Math.max(labelText.implicitHeight, cells.height) + 2 * Theme.spacingXs
            radius: Theme.radiusS
            color: differs ? Theme.warningSoft : "transparent"

            Label {
                id: labelText
                x: Theme.spacingXs
                y: Theme.spacingXs
                width: table.labelWidth - Theme.spacingXs
                text: table.labels[line.modelData.key]
                elide: Text.ElideRight
                font.pixelSize: Theme.fontCaption
                color: Theme.textMuted
            }
            Row {
                id: cells
                x: table.labelWidth
                y: Theme.spacingXs
                Repeater {
                    model: 2
                    Label {
                        required property int index
                        readonly property bool best: line.better === (index === 0 ? -1 : 1)
                        readonly property string value: table.text(index === 0 ? table.leftFacts : table.rightFacts, line.modelData.key)
                        objectName: line.objectName + (index === 0 ? "_left" : "_right")
                        width: table.valueWidth
                        leftPadding: Theme.spacingXs
                        rightPadding: Theme.spacingXs
                        text: (best ? "✓ " : "") + value
                        // Names and folders are long: their middle goes, and the tooltip has them whole.
                        elide: line.modelData.key === "name" || line.modelData.key === "folder" ? Text.ElideMiddle : Text.ElideRight
                        // A long date with its check breaks before the time rather than losing it.
                        readonly property bool wraps: line.modelData.key === "mark" || line.modelData.key === "date"
                        maximumLineCount: wraps ? 2 : 1
                        wrapMode: wraps ? Text.WordWrap : Text.NoWrap
                        font.pixelSize: Theme.fontCaption + 1
                        font.weight: best ? Font.DemiBold : Font.Normal
                        color: best ? Theme.success : Theme.text
                        HoverHandler { id: hover }
                        ToolTip.visible: Window.window !== null && hover.hovered && (truncated || line.modelData.key === "folder")
                        ToolTip.delay: 600
                        ToolTip.text: line.modelData.key === "folder" ? (index === 0 ? table.leftFacts : table.rightFacts).folder : value
                    }
                }
            }
        }
    }
}
