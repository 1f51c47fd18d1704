import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15

// Previous / next page with the page position between them.
RowLayout {
    id: bar

    property int page: 0
    property int pageCount: 1
    property bool compact: false

    signal pageRequested(int page)

    spacing: 2

    ToolButton {
        objectName: "previousPage"
        implicitWidth: 30
        implicitHeight: 30
        enabled: bar.page > 0
        onClicked: bar.pageRequested(bar.page - 1)
        contentItem: GlyphIcon { name: "chevronLeft"; color: parent.enabled ? Theme.text : Theme.textFaint }
        ToolTip.visible: Window.window !== null && hovered
        ToolTip.delay: 600
        ToolTip.text: qsTr("Previous page")
    }
    Label {
        objectName: "pageLabel"
        Layout.minimumWidth: bar.compact ? 44 : 90
        horizontalAlignment: Text.AlignHCenter
        text: bar.compact ? qsTr("%1 / %2").arg(bar.page + 1).arg(bar.pageCount)
                          : qsTr("Page %1 of %2").arg(bar.page + 1).arg(bar.pageCount)
        font.pixelSize: bar.compact ? Theme.fontCaption : Theme.fontBody
        color: Theme.textMuted
    }
    ToolButton {
        objectName: "nextPage"
        implicitWidth: 30
        implicitHeight: 30
        enabled: bar.page + 1 < bar.pageCount
        onClicked: bar.pageRequested(bar.page + 1)
        contentItem: GlyphIcon { name: "chevronRight"; color: parent.enabled ? Theme.text : Theme.textFaint }
        ToolTip.visible: Window.window !== null && hovered
        ToolTip.delay: 600
        ToolTip.text: qsTr("Next page")
    }
}
