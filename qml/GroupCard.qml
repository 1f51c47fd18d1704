import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// One group of similar photos: caption, counts, size, the identical flag, the group's marking
// controls and its paged photo strip.
Card {
    id: card

    property var mgr: null
    property var groupModel: null
    property var groupKey: 0
    property var summary: ({})
    property int revision: 0
    property int markRevision: 0
    property bool current: false
    property int currentPhoto: -1
    readonly property var photoModel: mgr && groupKey ? mgr.getPhotosModelByCreate(groupKey) : null
    readonly property bool identical: !!Helpers.groupField(summary, "photoSimilar100")
    readonly property int photoCount: Number(Helpers.groupField(summary, "photosNumber")) || 0
    readonly property double groupSize: Number(Helpers.groupField(summary, "photosSize")) || 0
    property alias photoPages: pages
    property int thumbSize: Helpers.thumbSizeDefault
    // 1-based place among the shown groups.
    property int ordinal: 1
    // Read again when the group's photos change; a group has a handful of photos.
    property var folderParts: []

    function readFolderParts() {
        var paths = []
        var count = photoModel ? photoModel.rowCount() : 0
        for (var i = 0; i < count; ++i)
            paths.push(photoModel.data(photoModel.index(i, 0), 264))
        folderParts = Helpers.distinctFolders(paths)
    }

    signal photoChosen(int photoRow)
    signal photoOpened(int photoRow)

    function showPhoto(row) {
        pages.showRow(row)
        strip.positionViewAtIndex(row - Helpers.pageStart(pages.page, pages.pageSize), ListView.Contain)
    }

    implicitHeight: Helpers.groupCardHeight(thumbSize)
    border.color: current ? Theme.accent : Theme.border

    onCurrentPhotoChanged: if (current && currentPhoto >= 0) showPhoto(currentPhoto)
    onPhotoModelChanged: readFolderParts()

    Connections {
        target: card.photoModel
        function onRowsInserted() { card.readFolderParts() }
        function onRowsRemoved() { card.readFolderParts() }
        function onModelReset() { card.readFolderParts() }
    }

    // The first tiles are made with the card, in the same event, not with every other card's
    // later; the rest follow a few per event, so that a card with its tiles holds no frame up.
    Component.onCompleted: pages.refreshPage()

    PagedModel {
        id: pages
        model: card.photoModel
        // As many tiles as the strip shows whole: a page never ends in a half-cut tile.
        pageSize: Helpers.tilesThatFit(strip.width, card.thumbSize, strip.spacing)
        view: strip
        rowsPerStep: 2
        onPageChanged: if (card.photoModel) card.photoModel.setCurrentShowPosition(Helpers.pageStart(page, pageSize))
        delegate: PhotoTile {
            id: tile
            readonly property int row: index
            height: Helpers.tileHeight(card.thumbSize)
            width: card.thumbSize
            // A row whose photo just left the store answers undefined until the tile goes.
            thumbUrl: model.photosPath || ""
            thumbState: model.photosState || 0
            fileName: model.photosFileName || ""
            filePath: model.photosFilePath || ""
            fileType: model.photosType || ""
            pixelWidth: model.photosWidth || 0
            pixelHeight: model.photosHeight || 0
            fileSize: Number(model.photosSize)
            dateText: model.photosDataTime || ""
            folderPart: card.folderParts[row] || ""
            similarity: row > 0 && model.photosSimilarity !== undefined ? model.photosSimilarity : -1
            identical: card.identical
            burst: !!model.photosBurst
            current: card.current && card.currentPhoto === row
            // A single mark changes no role, so the mark is read again whenever the totals move.
            marked: {
                card.markRevision
                var check = model.photosCheck
                return card.photoModel ? card.photoModel.getCheckState(row) : !!check
            }
            markReason: {
                card.markRevision
                var check = model.photosCheck
                return card.photoModel && marked ? card.photoModel.markReasonAt(row) : ""
            }
            onToggleMark: if (card.photoModel) card.photoModel.setCheckStateByDesktop(row, !marked)
            onChosen: card.photoChosen(row)
            onOpened: card.photoOpened(row)
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacingM
        spacing: Theme.spacingM

        RowLayout {
            id: header
            Layout.fillWidth: true
            Layout.preferredHeight: 30
            spacing: Theme.spacingS

            Label {
                id: caption
                objectName: "groupCaption"
                Layout.fillWidth: true
                // The buttons give way first in narrow cards.
                Layout.minimumWidth: Math.min(implicitWidth, 190)
                // Worded here rather than by the model, so that its size reads as every other size.
                text: Helpers.numerus(qsTr("Group %1 · %n photo(s) · %2", "", card.photoCount), card.photoCount)
                      .arg(card.ordinal).arg(Format.size(card.groupSize))
                elide: Text.ElideRight
                font.pixelSize: Theme.fontBody + 1
                font.weight: Font.DemiBold
                color: Theme.text
            }
            Rectangle {
                id: badgeBox
                objectName: "identicalBadge"
                // With a pager beside it, the badge gives way before the actions are cut
                // (the tiles' similarity tells the same).
                visible: !pager.visible || header.width >= caption.implicitWidth + implicitWidth + pager.implicitWidth
                         + markButton.implicitWidth + (notDuplicatesButton.visible ? notDuplicatesButton.implicitWidth : 0)
                         + clearButton.implicitWidth + 6 * header.spacing
                implicitWidth: badge.implicitWidth + 14
                implicitHeight: 20
                radius: 10
                color: card.identical ? Theme.successSoft : Theme.accentSoft
                Label {
                    id: badge
                    anchors.centerIn: parent
                    text: card.identical ? qsTr("Identical") : qsTr("Similar")
                    font.pixelSize: Theme.fontCaption
                    font.weight: Font.DemiBold
                    color: card.identical ? Theme.success : Theme.accent
                }
            }
            PageBar {
                id: pager
                visible: pages.pageCount > 1
                compact: true
                page: pages.page
                pageCount: pages.pageCount
                onPageRequested: pages.page = page
            }
            FlatButton {
                id: markButton
                objectName: "markGroupButton"
                Layout.fillWidth: true
                Layout.maximumWidth: implicitWidth
                kind: "ghost"
                implicitHeight: 28
                text: qsTr("Auto mark")
                onClicked: if (card.mgr) card.mgr.doMark(card.groupKey)
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Mark the surplus copies of this group, keeping the best one")
            }
            FlatButton {
                id: notDuplicatesButton
                objectName: "notDuplicatesButton"
                Layout.fillWidth: true
                Layout.maximumWidth: implicitWidth
                kind: "ghost"
                implicitHeight: 28
                visible: !!card.mgr && !!card.mgr.hasEngineExtras
                enabled: !!card.mgr && !!card.mgr.decisionsEnabled
                text: qsTr("Not duplicates")
                onClicked: if (card.mgr) card.mgr.separateGroup(card.groupKey)
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: enabled ? qsTr("These photos are different pictures: never group them together again")
                                      : (card.mgr && card.mgr.decisionsError ? card.mgr.decisionsError : "")
            }
            FlatButton {
                id: clearButton
                objectName: "clearGroupButton"
                Layout.fillWidth: true
                Layout.maximumWidth: implicitWidth
                kind: "ghost"
                implicitHeight: 28
                text: qsTr("Clear")
                onClicked: if (card.photoModel) card.photoModel.clearMark()
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Remove the marks of this group")
            }
        }

        ListView {
            id: strip
            objectName: "photoStrip"
            Layout.fillWidth: true
            // Before the layout's first pass too: the tiles are made before it runs.
            width: card.width - 2 * Theme.spacingM
            // Room below the tiles for the scroll bar.
            height: Helpers.tileHeight(card.thumbSize) + 10
            Layout.preferredHeight: height
            orientation: ListView.Horizontal
            spacing: Theme.spacingS
            clip: true
            model: pages
            boundsBehavior: Flickable.StopAtBounds
            // Shown whenever photos lie beyond the card's edge, not only while scrolling.
            ScrollBar.horizontal: ScrollBar {
                objectName: "photoStripScrollBar"
                policy: strip.contentWidth > strip.width ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
            }
        }
    }
}
