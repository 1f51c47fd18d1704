import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import Mirelle 1.0

// The groups found, a page of six at a time, with totals, marking controls, re-grouping and
// keyboard review (arrows move, Space marks, Enter previews, Delete removes one photo).
FocusScope {
    id: results

    property var mgr: null
    property var deltor: null
    // Set when the end of the scan applied the automatic marks; cleared with the marks.
    property bool autoMarked: false
    // Whether the removal journal holds something to bring back; read again after each
    // removal and undo, not on every binding evaluation, since it reads the journal.
    property bool canUndo: false

    function refreshUndo() {
        var history = deltor ? deltor.removalHistory() : []
        canUndo = history.some(function (request) { return request.restorable > 0 })
    }
    Connections {
        target: results.mgr
        function onSigDelDupImgsResult() { results.refreshUndo() }
        function onSigDelSingleDupImgResult() { results.refreshUndo() }
    }
    Connections {
        target: results.deltor
        function onSigUndoFinished() { results.refreshUndo() }
    }
    readonly property var groupModel: mgr ? mgr.model() : null
    property int markRevision: 0
    property int currentGroup: 0
    property int currentPhoto: 0
    property bool regrouping: false
    property int regroupThreshold: Helpers.defaultThreshold
    property bool hadGroups: false
    property alias groupPages: groupPages
    readonly property int groupCount: groupPages.total
    readonly property bool empty: groupCount === 0 && !regrouping
    readonly property int totalGroups: mgr ? Number(mgr.totalGroupCount) : 0
    readonly property int checkedCount: mgr ? mgr.checkedItemCount : 0
    property string exportFormat: "csv"
    property bool exporting: false
    property int thumbSize: Helpers.thumbSizeDefault
    // A group card holds at least three tiles and its controls; as many cards as fit share a row.
    readonly property int cardMinWidth: Math.max(3 * (thumbSize + Theme.spacingS) + 2 * Theme.spacingM, 640)
    readonly property int cardColumns: Math.max(1, Math.floor((groupList.width + Theme.spacingM) / (cardMinWidth + Theme.spacingM)))
    readonly property var exportFilters: ({
        "csv": qsTr("CSV files (*.csv)"),
        "json": qsTr("JSON files (*.json)"),
        "pdf": qsTr("PDF documents (*.pdf)"),
        "html": qsTr("Web pages (*.html)")
    })

    signal previewRequested(var groupKey, int row)
    signal removeMarkedRequested()
    signal removeOneRequested(var groupKey, string path)
    signal newScanRequested()
    signal undoLastRequested()
    signal historyRequested()

    function reset() {
        hadGroups = false
        autoMarked = false
        currentGroup = 0
        currentPhoto = 0
        groupPages.page = 0
    }

    function groupKeyAt(row) {
        return groupModel && row >= 0 && row < groupCount ? groupModel.data(groupModel.index(row, 0), 260) : 0
    }

    function photoModelAt(row) {
        var key = groupKeyAt(row)
        return key && mgr ? mgr.getPhotosModelByCreate(key) : null
    }

    function moveGroup(delta) {
        if (groupCount === 0)
            return
        currentPhoto = 0
        currentGroup = Math.max(0, Math.min(groupCount - 1, currentGroup + delta))
    }

    // Brings the current group's page up and scrolls the group into view.
    function revealCurrent() {
        if (groupCount === 0)
            return
        groupPages.showRow(currentGroup)
        var index = currentGroup - Helpers.pageStart(groupPages.page, groupPages.pageSize)
        // Later, once the page has its cards; the window may be gone by then.
        Qt.callLater(function () {
            if (groupList)
                groupList.positionViewAtIndex(index, GridView.Contain)
        })
    }

    // Left and right run through a group's photos and on into the neighbouring group.
    function movePhoto(delta) {
        var photos = photoModelAt(currentGroup)
        if (!photos)
            return
        var next = currentPhoto + delta
        if (next < 0 && currentGroup > 0) {
            moveGroup(-1)
            var previous = photoModelAt(currentGroup)
            currentPhoto = previous ? Math.max(0, previous.rowCount() - 1) : 0
        } else if (next >= photos.rowCount() && currentGroup + 1 < groupCount) {
            moveGroup(1)
        } else {
            currentPhoto = Math.max(0, Math.min(photos.rowCount() - 1, next))
        }
    }

    function toggleCurrent() {
        var photos = photoModelAt(currentGroup)
        if (photos && currentPhoto < photos.rowCount())
            photos.setCheckStateByDesktop(currentPhoto, !photos.getCheckState(currentPhoto))
    }

    function removeCurrent() {
        var photos = photoModelAt(currentGroup)
        if (!photos || currentPhoto >= photos.rowCount())
            return
        var path = photos.data(photos.index(currentPhoto, 0), 264)
        if (path)
            removeOneRequested(groupKeyAt(currentGroup), path)
    }

    function chooseExportFile(format) {
        exportFormat = format
        exportDialogLoader.active = true
        exportDialogLoader.item.open()
    }

    // The manager answers through sigExportFinished.
    function exportTo(fileUrl) {
        if (!mgr)
            return
        exporting = true
        mgr.exportResults(fileUrl.toString(), exportFormat)
    }

    // Sets the thumbnail size and keeps it in the options, so the next run starts with it.
    function setThumbSize(size) {
        thumbSize = Helpers.clampThumbSize(size)
        if (mgr && Helpers.readOptions(mgr.getOption()).thumbSize !== thumbSize)
            mgr.setOption(Helpers.withThumbSize(mgr.getOption(), thumbSize))
    }

    function startRegroup(threshold) {
        if (!mgr)
            return
        regroupThreshold = threshold
        mgr.setOption(Helpers.withThreshold(mgr.getOption(), threshold))
        regrouping = true
        mgr.refreshSimilarSlot()
    }

    onGroupCountChanged: {
        if (groupCount > 0)
            hadGroups = true
        if (currentGroup >= groupCount)
            currentGroup = Math.max(0, groupCount - 1)
    }
    onVisibleChanged: {
        if (!visible)
            return
        if (mgr)
            thumbSize = Helpers.readOptions(mgr.getOption()).thumbSize
        forceActiveFocus()
        refreshUndo()
    }
    onCurrentGroupChanged: revealCurrent()

    Keys.onPressed: {
        // Ctrl + and Ctrl - size the thumbnails; "=" is "+" without Shift on many keyboards.
        if (event.modifiers & Qt.ControlModifier) {
            var step = event.key === Qt.Key_Plus || event.key === Qt.Key_Equal ? 1 : (event.key === Qt.Key_Minus ? -1 : 0)
            if (step !== 0) {
                setThumbSize(thumbSize + step * Helpers.thumbSizeStep)
                event.accepted = true
            }
            return
        }
        switch (event.key) {
        case Qt.Key_Left: movePhoto(-1); break
        case Qt.Key_Right: movePhoto(1); break
        case Qt.Key_Up: moveGroup(-1); break
        case Qt.Key_Down: moveGroup(1); break
        case Qt.Key_Space: toggleCurrent(); break
        case Qt.Key_Return:
        case Qt.Key_Enter: previewRequested(groupKeyAt(currentGroup), currentPhoto); break
        case Qt.Key_Delete: removeCurrent(); break
        case Qt.Key_PageDown: groupPages.page = Helpers.clampPage(groupPages.page + 1, groupCount, groupPages.pageSize); break
        case Qt.Key_PageUp: groupPages.page = Helpers.clampPage(groupPages.page - 1, groupCount, groupPages.pageSize); break
        default: return
        }
        event.accepted = true
    }

    Connections {
        target: results.mgr
        function onSigCheckedItemCountChanged() { results.markRevision++ }
        function onSigRefreshComplete(result) { results.regrouping = false }
        function onSigCanclelRefresh() { results.regrouping = false }
        function onSigExportFinished(strMessage) {
            results.exporting = false
            if (strMessage !== "")
                exportNotice.show(qsTr("The results were not exported"), strMessage)
        }
        // A "Not duplicates" decision regroups without going through startRegroup.
        function onSigProcProgress(curStep, curProgress) {
            if (curStep === 4)
                results.regrouping = curProgress < 100
        }
    }

    PagedModel {
        id: groupPages
        model: results.groupModel
        // Whole rows of cards, at least the usual six groups: a wide window shows more at once.
        pageSize: Math.max(Helpers.groupsPerPage, results.cardColumns
                           * Math.max(1, Math.ceil(groupList.height / Math.max(1, groupList.cellHeight))))
        // A card with its tiles per event: a whole page at once stalls the window.
        rowsPerStep: 1
        view: groupList
        active: results.visible
        // The current group may come in a later step than the page change.
        onBuildingChanged: if (!building) results.revealCurrent()
        onPageChanged: {
            var start = Helpers.pageStart(page, pageSize)
            if (results.groupModel)
                results.groupModel.setCurrentShowPosition(start)
            groupList.positionViewAtBeginning()
            if (results.currentGroup < start || results.currentGroup >= start + pageSize) {
                results.currentGroup = start
                results.currentPhoto = 0
            }
        }
        delegate: GroupCard {
            id: card
            readonly property int row: index
            width: groupList.cellWidth - Theme.spacingM
            height: groupList.cellHeight - Theme.spacingM
            thumbSize: results.thumbSize
            ordinal: row + 1
            mgr: results.mgr
            groupModel: results.groupModel
            groupKey: model.photosModel
            summary: model.photosNumber
            markRevision: results.markRevision
            current: results.currentGroup === row
            currentPhoto: current ? results.currentPhoto : -1
            onPhotoChosen: function (photoRow) {
                results.currentGroup = card.row
                results.currentPhoto = photoRow
                results.forceActiveFocus()
            }
            onPhotoOpened: function (photoRow) {
                results.currentGroup = card.row
                results.currentPhoto = photoRow
                results.previewRequested(card.groupKey, photoRow)
            }
            Connections {
                target: results.groupModel
                function onDataChanged(topLeft, bottomRight) {
                    if (card.row >= topLeft.row && card.row <= bottomRight.row)
                        card.revision++
                }
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingM

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingM
            // Takes what the buttons leave, so that longer texts wrap instead of pushing them out.
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    text: qsTr("Similar photos")
                    font.pixelSize: Theme.fontTitle
                    font.weight: Font.DemiBold
                    color: Theme.text
                }
                Label {
                    objectName: "totalsLabel"
                    visible: !results.empty
                    text: Helpers.numerus(qsTr("%n group(s)", "", results.totalGroups), results.totalGroups)
                          + " · " + qsTr("%1 in similar photos").arg(Format.size(results.mgr ? results.mgr.totalDupImgSize : 0))
                    font.pixelSize: Theme.fontBody
                    color: Theme.textMuted
                }
                Label {
                    objectName: "autoMarkNote"
                    visible: results.autoMarked && !!results.mgr && results.mgr.checkedItemCount > 0
                    Layout.fillWidth: true
                    Layout.maximumWidth: results.width * 0.5
                    wrapMode: Text.WordWrap
                    text: qsTr("Each group keeps its best photo; the copies are marked. Click a photo to change its mark, or use \"Clear marks\".")
                    font.pixelSize: Theme.fontCaption
                    color: Theme.textMuted
                }
                Label {
                    objectName: "scanVanishedLabel"
                    visible: !!results.mgr && results.mgr.scanVanished.length > 0
                    Layout.fillWidth: true
                    Layout.maximumWidth: results.width * 0.5
                    wrapMode: Text.WordWrap
                    text: visible ? qsTr("These folders went away during the scan (deleted or unmounted); their photos may be missing: %1")
                                    .arg(results.mgr.scanVanished.join(", ")) : ""
                    font.pixelSize: Theme.fontCaption
                    color: Theme.warning
                }
                Label {
                    objectName: "scanSkippedLabel"
                    visible: text !== ""
                    text: Helpers.skippedText(results.mgr ? results.mgr.scanSkipped : [],
                                              results.mgr ? results.mgr.scanSkippedMounts : [])
                    font.pixelSize: Theme.fontCaption
                    color: Theme.warning
                }
            }
            FlatButton {
                objectName: "exportButton"
                kind: "ghost"
                text: results.exporting ? qsTr("Exporting…") : qsTr("Export…")
                visible: !results.empty
                enabled: !results.regrouping && !results.exporting
                onClicked: exportMenu.open()
                Menu {
                    id: exportMenu
                    objectName: "exportMenu"
                    x: parent.width - width
                    y: parent.height + 4
                    width: 260
                    MenuItem {
                        objectName: "exportCsvItem"
                        text: qsTr("Results as CSV…")
                        onTriggered: results.chooseExportFile("csv")
                    }
                    MenuItem {
                        objectName: "exportJsonItem"
                        text: qsTr("Results as JSON…")
                        onTriggered: results.chooseExportFile("json")
                    }
                    MenuSeparator {}
                    MenuItem {
                        objectName: "exportPdfItem"
                        text: qsTr("Printable summary (PDF)…")
                        onTriggered: results.chooseExportFile("pdf")
                    }
                    MenuItem {
                        objectName: "exportHtmlItem"
                        text: qsTr("Summary as web page (HTML)…")
                        onTriggered: results.chooseExportFile("html")
                    }
                }
            }
            FlatButton {
                objectName: "undoLastToolButton"
                kind: "ghost"
                enabled: results.canUndo
                text: qsTr("Undo last removal")
                onClicked: results.undoLastRequested()
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: Helpers.recycleBin ? qsTr("Bring back the photos last moved to the recycle bin or to a folder")
                                                 : qsTr("Bring back the photos last moved to the trash or to a folder")
            }
            FlatButton {
                objectName: "historyToolButton"
                kind: "ghost"
                text: qsTr("History…")
                onClicked: results.historyRequested()
            }
            FlatButton {
                objectName: "newScanToolButton"
                kind: "ghost"
                iconName: "back"
                text: qsTr("New scan")
                onClicked: results.newScanRequested()
            }
        }

        Card {
            Layout.fillWidth: true
            implicitHeight: 52
            visible: !results.empty
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.spacingL
                anchors.rightMargin: Theme.spacingS
                spacing: Theme.spacingS
                ColumnLayout {
                    spacing: 0
                    Label {
                        objectName: "checkedLabel"
                        text: Helpers.numerus(qsTr("%n photo(s) marked", "", results.checkedCount), results.checkedCount)
                        font.pixelSize: Theme.fontBody
                        font.weight: Font.DemiBold
                        color: Theme.text
                    }
                    Label {
                        text: qsTr("%1 to free").arg(Format.size(results.mgr ? results.mgr.checkedFileSize : 0))
                        font.pixelSize: Theme.fontCaption
                        color: Theme.textMuted
                    }
                }
                Item { Layout.preferredWidth: Theme.spacingM }
                FlatButton {
                    objectName: "autoMarkButton"
                    Layout.fillWidth: true
                    Layout.maximumWidth: implicitWidth
                    text: qsTr("Auto mark")
                    enabled: !results.regrouping
                    onClicked: results.mgr.doAllMark()
                    ToolTip.visible: Window.window !== null && hovered
                    ToolTip.delay: 600
                    ToolTip.text: qsTr("In every group, mark the copies to remove and keep the best photo")
                }
                FlatButton {
                    objectName: "clearMarksButton"
                    Layout.fillWidth: true
                    Layout.maximumWidth: implicitWidth
                    kind: "ghost"
                    text: qsTr("Clear marks")
                    enabled: !results.regrouping && results.mgr && results.mgr.checkedItemCount > 0
                    onClicked: {
                        results.autoMarked = false
                        results.mgr.clearAllMark()
                    }
                }
                FlatButton {
                    id: similarityButton
                    objectName: "similarityButton"
                    kind: "ghost"
                    // The threshold is a plain call: reading it again when a re-group starts or ends
                    // keeps the text current.
                    text: {
                        results.regrouping
                        return qsTr("Similarity %1%").arg(results.mgr ? results.mgr.getSimilarSlot() : results.regroupThreshold)
                    }
                    enabled: !results.regrouping
                    onClicked: {
                        regroupPopup.threshold = results.mgr ? results.mgr.getSimilarSlot() : Helpers.defaultThreshold
                        regroupPopup.open()
                    }
                    RegroupPopup {
                        id: regroupPopup
                        y: parent.height + 4
                        onRegroupRequested: results.startRegroup(threshold)
                    }
                }
                Item { Layout.fillWidth: true }
                ThumbSizeControl {
                    compact: results.width < 1200
                    size: results.thumbSize
                    onSizeMoved: function (size) { results.thumbSize = size }
                    onSizeChosen: function (size) { results.setThumbSize(size) }
                }
                FlatButton {
                    objectName: "removeMarkedButton"
                    kind: "danger"
                    iconName: "trash"
                    text: qsTr("Remove marked")
                    enabled: !results.regrouping && results.mgr && results.mgr.checkedItemCount > 0
                    onClicked: results.removeMarkedRequested()
                }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            GridView {
                id: groupList
                objectName: "groupList"
                anchors.fill: parent
                visible: !results.empty
                clip: true
                cellWidth: Math.floor(width / results.cardColumns)
                cellHeight: Helpers.groupCardHeight(results.thumbSize) + Theme.spacingM
                model: groupPages
                keyNavigationEnabled: false
                boundsBehavior: Flickable.StopAtBounds
                flickDeceleration: 3000
                maximumFlickVelocity: 4000
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
            }

            EmptyResults {
                objectName: "emptyResults"
                anchors.fill: parent
                visible: results.empty
                allRemoved: results.hadGroups
                notOriginal: results.mgr && results.mgr.scanSkipped.length > 5 ? Number(results.mgr.scanSkipped[5]) : 0
                onNewScanRequested: results.newScanRequested()
            }

            Rectangle {
                objectName: "regroupOverlay"
                anchors.fill: parent
                visible: results.regrouping
                color: Qt.rgba(Theme.window.r, Theme.window.g, Theme.window.b, 0.85)
                MouseArea { anchors.fill: parent; hoverEnabled: true }
                Card {
                    anchors.centerIn: parent
                    width: 360
                    height: regroupColumn.implicitHeight + 2 * Theme.spacingXl
                    ColumnLayout {
                        id: regroupColumn
                        anchors.fill: parent
                        anchors.margins: Theme.spacingXl
                        spacing: Theme.spacingM
                        Label {
                            text: qsTr("Re-grouping at %1% similarity…").arg(results.regroupThreshold)
                            font.pixelSize: Theme.fontSubtitle
                            font.weight: Font.DemiBold
                            color: Theme.text
                        }
                        ProgressBar {
                            Layout.fillWidth: true
                            indeterminate: true
                        }
                        FlatButton {
                            objectName: "cancelRegroupButton"
                            Layout.alignment: Qt.AlignRight
                            text: qsTr("Cancel")
                            onClicked: results.mgr.cancelRefresh()
                        }
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            visible: !results.empty
            Label {
                text: qsTr("Groups %1–%2 of %3").arg(groupPages.pageStart + 1)
                      .arg(groupPages.pageStart + Helpers.rowsOnPage(groupPages.page, results.groupCount, groupPages.pageSize))
                      .arg(results.groupCount)
                font.pixelSize: Theme.fontCaption
                color: Theme.textMuted
            }
            Item { Layout.fillWidth: true }
            Label {
                text: qsTr("Arrows move · Space marks · Enter previews · Delete removes")
                font.pixelSize: Theme.fontCaption
                color: Theme.textFaint
            }
            Item { Layout.fillWidth: true }
            PageBar {
                objectName: "groupPageBar"
                visible: groupPages.pageCount > 1
                page: groupPages.page
                pageCount: groupPages.pageCount
                onPageRequested: groupPages.page = page
            }
        }
    }

    // Made on first use: without a QApplication the dialog is a QML window of its own that
    // every results page would otherwise carry.
    Loader {
        id: exportDialogLoader
        active: false
        sourceComponent: FileDialog {
            objectName: "exportDialog"
            title: qsTr("Export results")
            selectExisting: false
            folder: shortcuts.documents
            defaultSuffix: results.exportFormat
            nameFilters: [results.exportFilters[results.exportFormat]]
            onAccepted: results.exportTo(fileUrl)
        }
    }

    NoticeDialog {
        id: exportNotice
        objectName: "exportNotice"
    }
}
