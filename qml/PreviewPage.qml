import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15

// One photo large with its details, or two photos of the group side by side with one zoom and
// pan for both and their details in one table. Esc goes back, arrows step through the photos
// and on into the next or previous group, Space marks, Delete removes.
FocusScope {
    id: page

    property var mgr: null
    // The shown groups, in the results' order, for stepping past a group's ends.
    property var groupModel: null
    property var groupKey: 0
    property int row: 0
    property int compareRow: -1
    readonly property bool comparing: compareRow >= 0
    readonly property var photoModel: mgr && groupKey ? mgr.getPhotosModelByCreate(groupKey) : null
    readonly property int photoCount: photoModel ? photoRows : 0
    property int photoRows: 0
    property var mainDetails: []
    property string mainPhase: "loading"
    property string comparePhase: "loading"
    property string mainUrl: ""
    property string compareUrl: ""
    property int markRevision: 0
    // Bumped when the groups change, so that the arrows' state is read again.
    property int groupRevision: 0
    readonly property int groupRow: groupRevision >= 0 && groupKey ? groupRowOf(groupKey) : -1
    property real zoom: 1
    property real centerX: 0.5
    property real centerY: 0.5

    signal backRequested()
    // The arrows moved on to the group at this row of the group model.
    signal groupEntered(int groupRow)
    signal removeOneRequested(var groupKey, string path)

    function roleAt(r, role) {
        return photoModel && r >= 0 && r < photoCount ? photoModel.data(photoModel.index(r, 0), role) : ""
    }

    function pathAt(r) { return roleAt(r, 264) || "" }

    // What the compare table shows of a photo, as Helpers.compareRows takes it.
    function factsAt(r) {
        markRevision
        if (!photoModel || r < 0 || r >= photoCount)
            return {}
        return { name: roleAt(r, 263), folder: roleAt(r, 268), format: roleAt(r, 257),
                 width: roleAt(r, 261), height: roleAt(r, 262), size: Number(roleAt(r, 265)),
                 date: roleAt(r, 260) || "", original: !!roleAt(r, 273), similarity: roleAt(r, 272),
                 detail: roleAt(r, 266), marked: isMarked(r), reason: roleAt(r, 271) || "" }
    }

    function groupRowOf(key) {
        var rows = groupModel ? groupModel.rowCount() : 0
        for (var g = 0; g < rows; ++g) {
            if (groupModel.data(groupModel.index(g, 0), 260) === key)
                return g
        }
        return -1
    }

    function canStep(delta) {
        if (row + delta >= 0 && row + delta < photoCount)
            return true
        var g = groupRow
        return g >= 0 && g + delta >= 0 && g + delta < groupModel.rowCount()
    }

    // One photo on; past either end of the group, into the neighbouring group.
    function step(delta) {
        if (row + delta >= 0 && row + delta < photoCount) {
            showRow(row + delta)
            return
        }
        var g = groupRowOf(groupKey)
        var next = g + delta
        if (g < 0 || next < 0 || next >= groupModel.rowCount())
            return
        groupKey = groupModel.data(groupModel.index(next, 0), 260)
        photoRows = photoModel ? photoModel.rowCount() : 0
        showRow(delta > 0 ? 0 : photoRows - 1)
        groupEntered(next)
    }

    function open(key, photoRow) {
        groupKey = key
        compareRow = -1
        showRow(photoRow)
    }

    function resetView() {
        zoom = 1
        centerX = 0.5
        centerY = 0.5
    }

    function request(r, forCompare) {
        if (!photoModel || r < 0 || r >= photoCount)
            return
        if (forCompare) {
            comparePhase = "loading"
            compareUrl = ""
        } else {
            mainDetails = photoModel.getFileInfo(r)
            mainPhase = "loading"
            mainUrl = ""
        }
        photoModel.getMaxThumb(r)
    }

    function showRow(r) {
        photoRows = photoModel ? photoModel.rowCount() : 0
        row = Math.max(0, Math.min(photoCount - 1, r))
        resetView()
        request(row, false)
        if (comparing) {
            if (photoCount < 2) {
                compareRow = -1
                return
            }
            if (compareRow === row || compareRow >= photoCount)
                compareRow = (row + 1) % photoCount
            request(compareRow, true)
        }
    }

    function setCompare(r) {
        if (r < 0 || photoCount < 2) {
            compareRow = -1
            return
        }
        // From the last photo the other side is the first, not a row past the end.
        compareRow = r % photoCount === row ? (row + 1) % photoCount : r % photoCount
        resetView()
        request(compareRow, true)
    }

    function isMarked(r) {
        markRevision
        return photoModel ? photoModel.getCheckState(r) : false
    }

    function toggleMark(r) {
        if (photoModel)
            photoModel.setCheckStateByDesktop(r, !photoModel.getCheckState(r))
    }

    function applyView(z, cx, cy) {
        zoom = z
        centerX = cx
        centerY = cy
    }

    Keys.onPressed: {
        switch (event.key) {
        case Qt.Key_Escape: backRequested(); break
        case Qt.Key_Left: step(-1); break
        case Qt.Key_Right: step(1); break
        case Qt.Key_Space: toggleMark(row); break
        case Qt.Key_Delete: if (pathAt(row) !== "") removeOneRequested(groupKey, pathAt(row)); break
        case Qt.Key_Plus:
        case Qt.Key_Equal: applyView(Math.min(8, zoom * 1.25), centerX, centerY); break
        case Qt.Key_Minus: applyView(Math.max(1, zoom / 1.25), centerX, centerY); break
        case Qt.Key_0: resetView(); break
        default: return
        }
        event.accepted = true
    }

    // While hidden the page need not follow the groups (a scan inserts hundreds, and each
    // look-up walks the model): it catches up when shown.
    onVisibleChanged: {
        if (!visible)
            return
        groupRevision++
        forceActiveFocus()
    }

    Connections {
        target: page.photoModel
        function onSigRefreshMaxThumb(row, listMet) {
            var url = listMet.length > 0 && listMet[0] ? String(listMet[0]) : ""
            if (row === page.row) {
                page.mainDetails = listMet
                page.mainUrl = url
                page.mainPhase = url !== "" ? "ready" : "failed"
            }
            if (page.comparing && row === page.compareRow) {
                page.compareUrl = url
                page.comparePhase = url !== "" ? "ready" : "failed"
            }
        }
        // A removed photo leaves the group: show its neighbour, or leave when none is left.
        function onRowsRemoved() {
            page.photoRows = page.photoModel.rowCount()
            if (page.photoRows > 0)
                page.showRow(Math.min(page.row, page.photoRows - 1))
        }
        function onRowsInserted() { page.photoRows = page.photoModel.rowCount() }
    }

    Connections {
        target: page.mgr
        function onSigCheckedItemCountChanged() { page.markRevision++ }
    }


    Connections {
        target: page.groupModel
        enabled: page.visible
        function onRowsInserted() { page.groupRevision++ }
        function onRowsRemoved() { page.groupRevision++ }
        function onModelReset() { page.groupRevision++ }
        function onLayoutChanged() { page.groupRevision++ }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingM

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacingS
            FlatButton {
                objectName: "backButton"
                kind: "ghost"
                iconName: "back"
                text: qsTr("Back to results")
                onClicked: page.backRequested()
            }
            Item { Layout.fillWidth: true }
            ToolButton {
                objectName: "previousButton"
                implicitWidth: 32
                implicitHeight: 32
                enabled: page.groupRevision >= 0 && page.canStep(-1)
                onClicked: page.step(-1)
                contentItem: GlyphIcon { name: "chevronLeft"; color: parent.enabled ? Theme.text : Theme.textFaint }
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Previous photo")
            }
            Label {
                objectName: "positionLabel"
                text: qsTr("Photo %1 of %2").arg(page.row + 1).arg(page.photoCount)
                      + (page.groupRow >= 0 ? " · " + qsTr("group %1").arg(page.groupRow + 1) : "")
                font.pixelSize: Theme.fontBody
                color: Theme.textMuted
            }
            ToolButton {
                objectName: "nextButton"
                implicitWidth: 32
                implicitHeight: 32
                enabled: page.groupRevision >= 0 && page.canStep(1)
                onClicked: page.step(1)
                contentItem: GlyphIcon { name: "chevronRight"; color: parent.enabled ? Theme.text : Theme.textFaint }
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Next photo")
            }
            Item { Layout.fillWidth: true }
            ToolButton {
                implicitWidth: 32
                implicitHeight: 32
                onClicked: page.applyView(Math.max(1, page.zoom / 1.25), page.centerX, page.centerY)
                enabled: page.zoom > 1
                contentItem: GlyphIcon { name: "minus"; color: parent.enabled ? Theme.text : Theme.textFaint }
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Zoom out")
            }
            Label {
                Layout.minimumWidth: 44
                horizontalAlignment: Text.AlignHCenter
                objectName: "zoomLabel"
                // The pane starts fitted, not at the photo's pixel size, so a percentage would mislead.
                text: page.zoom <= 1 ? qsTr("Fit") : qsTr("%1×").arg(Number(page.zoom.toFixed(2)).toLocaleString(Qt.locale()))
                font.pixelSize: Theme.fontCaption
                color: Theme.textMuted
            }
            ToolButton {
                implicitWidth: 32
                implicitHeight: 32
                onClicked: page.applyView(Math.min(8, page.zoom * 1.25), page.centerX, page.centerY)
                enabled: page.zoom < 8
                contentItem: GlyphIcon { name: "plus"; color: parent.enabled ? Theme.text : Theme.textFaint }
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Zoom in")
            }
            FlatButton {
                objectName: "notDuplicatesPairButton"
                kind: "secondary"
                visible: page.comparing && !!page.mgr && !!page.mgr.hasEngineExtras
                enabled: !!page.mgr && !!page.mgr.decisionsEnabled
                text: qsTr("Not duplicates")
                // The regroup that applies the decision replaces the group on view.
                onClicked: {
                    if (page.mgr && page.mgr.separatePair(page.groupKey, page.pathAt(page.row), page.pathAt(page.compareRow)))
                        page.backRequested()
                }
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: enabled ? qsTr("These two photos are different pictures: never group them together again")
                                      : (page.mgr && page.mgr.decisionsError ? page.mgr.decisionsError : "")
            }
            FlatButton {
                objectName: "compareButton"
                kind: page.comparing ? "primary" : "secondary"
                iconName: "compare"
                text: page.comparing ? qsTr("Single view") : qsTr("Compare")
                enabled: page.photoCount > 1
                onClicked: page.setCompare(page.comparing ? -1 : (page.row + 1) % page.photoCount)
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: Theme.spacingM

            ZoomPane {
                objectName: "mainPane"
                Layout.fillWidth: true
                Layout.fillHeight: true
                source: page.mainUrl
                phase: page.mainPhase
                zoom: page.zoom
                centerX: page.centerX
                centerY: page.centerY
                caption: page.comparing ? qsTr("Left: %1").arg(page.roleAt(page.row, 263)) : ""
                border.width: page.isMarked(page.row) ? 2 : 0
                border.color: Theme.danger
                onViewRequested: page.applyView(zoom, centerX, centerY)
            }
            ZoomPane {
                objectName: "comparePane"
                visible: page.comparing
                Layout.fillWidth: true
                Layout.fillHeight: true
                source: page.compareUrl
                phase: page.comparePhase
                zoom: page.zoom
                centerX: page.centerX
                centerY: page.centerY
                caption: qsTr("Right: %1").arg(page.roleAt(page.compareRow, 263))
                border.width: page.comparing && page.isMarked(page.compareRow) ? 2 : 0
                border.color: Theme.danger
                onViewRequested: page.applyView(zoom, centerX, centerY)
            }

            Card {
                objectName: "detailsCard"
                // Wider when comparing: the table has a column for each photo.
                Layout.preferredWidth: page.comparing ? Math.round(Math.max(320, Math.min(460, page.width * 0.36))) : 260
                Layout.fillWidth: false
                Layout.fillHeight: true
                ScrollView {
                    id: detailsScroll
                    anchors.fill: parent
                    anchors.margins: Theme.spacingL
                    clip: true
                    contentWidth: availableWidth
                    Column {
                        width: detailsScroll.availableWidth
                        spacing: Theme.spacingM
                        CompareTable {
                            objectName: "compareTable"
                            visible: page.comparing
                            width: parent.width
                            leftFacts: page.comparing ? page.factsAt(page.row) : ({})
                            rightFacts: page.comparing ? page.factsAt(page.compareRow) : ({})
                        }
                        Row {
                            visible: page.comparing
                            width: parent.width
                            CheckBox {
                                objectName: "markLeftCheck"
                                width: parent.width / 2
                                text: qsTr("Mark left")
                                checked: page.comparing && page.isMarked(page.row)
                                onToggled: page.toggleMark(page.row)
                            }
                            CheckBox {
                                objectName: "markRightCheck"
                                width: parent.width / 2
                                text: qsTr("Mark right")
                                checked: page.comparing && page.isMarked(page.compareRow)
                                onToggled: page.toggleMark(page.compareRow)
                            }
                        }
                        DetailsPanel {
                            objectName: "mainDetails"
                            visible: !page.comparing
                            width: parent.width
                            fileName: page.roleAt(page.row, 263)
                            folder: page.roleAt(page.row, 268)
                            bytes: page.photoCount > 0 ? Number(page.roleAt(page.row, 265)) : -1
                            details: page.mainDetails
                        }
                        CheckBox {
                            objectName: "markCheck"
                            visible: !page.comparing
                            text: qsTr("Mark for removal")
                            checked: page.isMarked(page.row)
                            onToggled: page.toggleMark(page.row)
                        }
                        FlatButton {
                            objectName: "openButton"
                            width: parent.width
                            iconName: "open"
                            text: qsTr("Open")
                            onClicked: if (page.mgr) page.mgr.openFile(page.pathAt(page.row))
                        }
                        FlatButton {
                            objectName: "locateButton"
                            width: parent.width
                            iconName: "folder"
                            text: qsTr("Show in folder")
                            onClicked: if (page.mgr) page.mgr.locateFile(page.pathAt(page.row))
                        }
                    }
                }
            }
        }

        ListView {
            id: filmstrip
            objectName: "filmstrip"
            Layout.fillWidth: true
            Layout.preferredHeight: 64
            orientation: ListView.Horizontal
            spacing: Theme.spacingS
            clip: true
            model: page.photoModel
            boundsBehavior: Flickable.StopAtBounds
            delegate: Rectangle {
                id: frame
                required property int index
                required property string photosPath
                required property int photosState
                property int revision: 0
                width: 84
                height: 64
                radius: Theme.radiusS
                color: "transparent"
                border.width: 2
                border.color: index === page.row ? Theme.accent
                            : index === page.compareRow ? Theme.warning : "transparent"
                ThumbImage {
                    anchors.fill: parent
                    anchors.margins: 3
                    radius: 2
                    source: frame.photosPath
                    thumbState: frame.photosState
                    revision: frame.revision
                    compactText: true
                }
                Connections {
                    target: page.photoModel
                    function onDataChanged(topLeft, bottomRight) {
                        if (frame.photosState === 0 && frame.index >= topLeft.row && frame.index <= bottomRight.row)
                            frame.revision++
                    }
                }
                Rectangle {
                    visible: page.isMarked(frame.index)
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.margins: 6
                    width: 12
                    height: 12
                    radius: 6
                    color: Theme.danger
                    border.width: 1
                    border.color: "#ffffff"
                }
                TapHandler {
                    onTapped: {
                        if (page.comparing && frame.index !== page.row)
                            page.setCompare(frame.index)
                        else
                            page.showRow(frame.index)
                        page.forceActiveFocus()
                    }
                }
            }
        }
    }
}
