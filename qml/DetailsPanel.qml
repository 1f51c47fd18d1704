import QtQuick 2.15
import QtQuick.Controls 2.15
import Mirelle 1.0

// The details of one photo: name, folder and the detail list the photo model delivers
// (picture URL, pixel size, file size, date, then camera and position when known).
Column {
    id: panel

    property string fileName: ""
    property string folder: ""
    property var details: []
    // The file size in bytes, worded as on every other screen.
    property double bytes: -1
    readonly property var rows: {
        var list = []
        var labels = [qsTr("Resolution"), qsTr("File size"), qsTr("Date")]
        var extra = []
        for (var i = 1; i < details.length; ++i) {
            var value = details[i]
            if (value === undefined || value === null || String(value) === "")
                continue
            // The list comes worded by the photo model; pixel size and date are worded as
            // everywhere else.
            if (i === 1)
                list.push({ label: labels[0], value: String(value).replace(" x ", " × ") })
            else if (i <= 3)
                list.push({ label: labels[i - 1], value: i === 3 ? Format.dateTime(value)
                                                                : panel.bytes >= 0 ? Format.size(panel.bytes) : String(value) })
            else
                extra.push(String(value))
        }
        // Camera and position come pre-worded and only when known.
        if (extra.length > 0)
            list.push({ label: qsTr("Camera and place"), value: extra.join("\n") })
        return list
    }

    spacing: Theme.spacingS

    Label {
        width: parent.width
        text: panel.fileName
        wrapMode: Text.WrapAnywhere
        maximumLineCount: 2
        elide: Text.ElideRight
        font.pixelSize: Theme.fontSubtitle
        font.weight: Font.DemiBold
        color: Theme.text
    }
    Label {
        width: parent.width
        text: panel.folder
        wrapMode: Text.WrapAnywhere
        maximumLineCount: 3
        elide: Text.ElideMiddle
        font.pixelSize: Theme.fontCaption
        color: Theme.textMuted
    }
    Repeater {
        model: panel.rows
        Column {
            required property var modelData
            width: parent.width
            topPadding: Theme.spacingXs
            spacing: 0
            Label {
                width: parent.width
                text: modelData.label
                font.pixelSize: Theme.fontCaption
                color: Theme.textMuted
            }
            Label {
                width: parent.width
                text: modelData.value
                wrapMode: Text.WordWrap
                font.pixelSize: Theme.fontBody
                color: Theme.text
            }
        }
    }
}
