import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 600

    TestCase {
        id: testCase
        name: "ResultsPage"
        when: windowShown

        Component {
            id: pageComponent
            ResultsPage {
                width: 1020
                height: 600
                mgr: dfMgr
            }
        }

        SignalSpy { id: previewSpy; signalName: "previewRequested" }
        SignalSpy { id: removeSpy; signalName: "removeOneRequested" }

        property var page: null

        function showResults(counts) {
            verify(fixture.scan(counts))
            page = createTemporaryObject(pageComponent, root)
            previewSpy.clear()
            previewSpy.target = page
            removeSpy.clear()
            removeSpy.target = page
            page.forceActiveFocus()
            waitForRendering(page)
        }

        function groupList() { return findChild(page, "groupList") }

        function card(row) {
            var list = groupList()
            tryVerify(function () { return list.itemAtIndex(row) !== null })
            return list.itemAtIndex(row)
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function test_groupPages_data() {
            return [
                { tag: "one page", groups: 4, page: 0, shown: 4, pages: 1, position: 0 },
                { tag: "full first page", groups: 13, page: 0, shown: 6, pages: 3, position: 0 },
                { tag: "last page holds the rest", groups: 13, page: 2, shown: 1, pages: 3, position: 12 },
                { tag: "page past the end", groups: 7, page: 5, shown: 1, pages: 2, position: 6 }
            ]
        }

        function test_groupPages(data) {
            var counts = []
            for (var i = 0; i < data.groups; ++i)
                counts.push(2)
            showResults(counts)
            page.groupPages.page = data.page
            tryCompare(groupList(), "count", data.shown)
            compare(page.groupPages.pageCount, data.pages)
            compare(card(0).groupKey, 1000 + data.position)
        }

        function test_rowsArrivingLaterJoinThePage() {
            showResults([2, 2])
            tryCompare(groupList(), "count", 2)
            verify(fixture.scan([2, 2, 2, 2, 2, 2, 2, 2]))
            tryCompare(groupList(), "count", 6)
            compare(page.groupPages.pageCount, 2)
        }

        function test_photoStripPages() {
            showResults([19, 2])
            var first = card(0)
            var strip = findChild(first, "photoStrip")
            tryCompare(strip, "count", 16)
            compare(first.photoPages.pageCount, 2)
            first.photoPages.page = 1
            tryCompare(strip, "count", 3)
            verify(findChild(first, "groupCaption").text.indexOf("Group 1 · 19 photos · ") === 0)
        }

        function test_keyboardReview() {
            showResults([3, 2])
            keyClick(Qt.Key_Right)
            compare(page.currentPhoto, 1)
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Right)
            compare(page.currentGroup, 1)
            compare(page.currentPhoto, 0)
            keyClick(Qt.Key_Left)
            compare(page.currentGroup, 0)
            compare(page.currentPhoto, 2)
            keyClick(Qt.Key_Down)
            compare(page.currentGroup, 1)
            keyClick(Qt.Key_Space)
            tryCompare(dfMgr, "checkedItemCount", 1)
            verify(page.photoModelAt(1).getCheckState(0))
            keyClick(Qt.Key_Return)
            compare(previewSpy.count, 1)
            compare(previewSpy.signalArguments[0][0], 1001)
            compare(previewSpy.signalArguments[0][1], 0)
            keyClick(Qt.Key_Delete)
            compare(removeSpy.count, 1)
            compare(removeSpy.signalArguments[0][0], 1001)
            compare(removeSpy.signalArguments[0][1], page.photoModelAt(1).data(page.photoModelAt(1).index(0, 0), 264))
        }

        // A single mark changes no role; the tile must still show it once the totals move.
        function test_tileShowsASingleMark() {
            showResults([3])
            var strip = findChild(card(0), "photoStrip")
            tryVerify(function () { return strip.itemAtIndex(1) !== null })
            var tile = strip.itemAtIndex(1)
            verify(!tile.marked)
            tile.toggleMark()
            tryVerify(function () { return tile.marked })
            compare(dfMgr.checkedItemCount, 1)
            compare(findChild(tile, "tileStatus").text, "Marked")
            tile.toggleMark()
            tryVerify(function () { return !tile.marked })

            // A mark the rule proposed says why.
            dfMgr.doAllMark()
            tryVerify(function () { return dfMgr.checkedItemCount > 0 })
            var ruled = null
            tryVerify(function () {
                for (var i = 0; i < 3 && !ruled; ++i) {
                    var t = strip.itemAtIndex(i)
                    if (t && t.marked && t.markReason !== "")
                        ruled = t
                }
                return ruled !== null
            })
            compare(findChild(ruled, "tileStatus").text, "Marked: " + ruled.markReason)
        }

        // Copies in different places tell apart by the end of their folders.
        function test_tileTellsCopiesApart() {
            showResults([3])
            var strip = findChild(card(0), "photoStrip")
            tryVerify(function () { return strip.itemAtIndex(1) !== null })
            var first = strip.itemAtIndex(0)
            var second = strip.itemAtIndex(1)
            compare(findChild(first, "tileFolder").text, "…/Pictures/Lisbon")
            compare(findChild(second, "tileFolder").text, "…/Phone/Lisbon")
            verify(!findChild(first, "tileSimilarity").visible)
            compare(findChild(second, "tileSimilarity").text, "97%")
            compare(findChild(first, "tileStatus").text, "Kept")
        }

        // Wider windows take more groups side by side; the size control resizes the tiles and
        // is kept in the options.
        function test_thumbnailSizeControl() {
            showResults([3, 3, 3, 3])
            var tile = findChild(card(0), "photoStrip").itemAtIndex(0)
            compare(page.cardColumns, 1)
            var before = tile.width
            keyClick(Qt.Key_Equal, Qt.ControlModifier)
            compare(tile.width, before + Helpers.thumbSizeStep)
            compare(dfMgr.getOption().thumbSize.value, before + Helpers.thumbSizeStep)
            keyClick(Qt.Key_Minus, Qt.ControlModifier)
            keyClick(Qt.Key_Minus, Qt.ControlModifier)
            compare(tile.width, before - Helpers.thumbSizeStep)
            page.width = 2400
            compare(page.cardColumns, 3)
            tryCompare(card(1), "x", groupList().cellWidth)
            page.setThumbSize(10000)
            compare(page.thumbSize, Helpers.thumbSizeMax)
            compare(findChild(page, "thumbSizeSlider").value, Helpers.thumbSizeMax)
        }

        // A thumbnail is made by the manager after the row is shown; the tile shows it then.
        function test_tilesGetTheirThumbnails() {
            showResults([3])
            var strip = findChild(card(0), "photoStrip")
            tryVerify(function () { return strip.itemAtIndex(2) !== null })
            for (var i = 0; i < 3; ++i) {
                var thumb = findChild(strip.itemAtIndex(i), "tileThumb")
                tryVerify(function () { return thumb.ready }, 10000, "thumbnail " + i)
            }
        }

        function test_markingControls_data() {
            return [
                { tag: "all", button: "autoMarkButton", inCard: false, marked: false, after: 4 },
                { tag: "clear all", button: "clearMarksButton", inCard: false, marked: true, after: 0 },
                { tag: "group", button: "markGroupButton", inCard: true, marked: false, after: 2 },
                { tag: "clear group", button: "clearGroupButton", inCard: true, marked: true, after: 2 }
            ]
        }

        function test_markingControls(data) {
            showResults([3, 3])
            if (data.marked)
                dfMgr.doAllMark()
            tryCompare(dfMgr, "checkedItemCount", data.marked ? 4 : 0)
            var button = findChild(data.inCard ? card(0) : page, data.button)
            tryVerify(function () { return button.enabled })
            mouseClick(button)
            tryCompare(dfMgr, "checkedItemCount", data.after)
        }

        function test_exportMenuPicksTheFormat_data() {
            return [
                { tag: "csv", index: 0, item: "exportCsvItem", format: "csv" },
                { tag: "json", index: 1, item: "exportJsonItem", format: "json" },
                { tag: "pdf", index: 3, item: "exportPdfItem", format: "pdf" },
                { tag: "html", index: 4, item: "exportHtmlItem", format: "html" }
            ]
        }

        function test_exportMenuPicksTheFormat(data) {
            showResults([2, 3])
            page.exportFormat = ""
            var button = findChild(page, "exportButton")
            verify(button.visible && button.enabled)
            mouseClick(button)
            var menu = findChild(page, "exportMenu")
            tryCompare(menu, "opened", true)
            var item = menu.itemAt(data.index)
            compare(item.objectName, data.item)
            mouseClick(item)
            compare(page.exportFormat, data.format)
            var dialog = findChild(page, "exportDialog")
            verify(dialog !== null)
            tryCompare(dialog, "visible", true)
            verify(dialog.nameFilters[0].indexOf("*." + data.format) >= 0)
            dialog.close()
            // Without a QApplication the dialog is Qt's QML one, whose Settings warn that no
            // organisation is set; the program itself gets the widget dialog.
            for (var i = 0; i < qmlWarnings.count; ++i)
                verify(qmlWarnings.messages[i].indexOf("QML Settings") >= 0, qmlWarnings.messages[i])
            qmlWarnings.clear()
        }

        function test_exportReportsFailure_data() {
            return [
                { tag: "written", format: "csv", folder: "", notice: false },
                { tag: "summary written", format: "html", folder: "", notice: false },
                { tag: "folder missing", format: "json", folder: "/missing", notice: true }
            ]
        }

        function test_exportReportsFailure(data) {
            showResults([2])
            var target = fixture.folder() + data.folder + "/r." + data.format
            page.exportFormat = data.format
            page.exportTo("file://" + target)
            var notice = findChild(page, "exportNotice")
            if (data.notice) {
                tryCompare(notice, "opened", true)
                verify(notice.text.indexOf(fixture.folder() + data.folder) >= 0, notice.text)
                notice.close()
                tryCompare(notice, "visible", false)
            } else {
                tryVerify(function () { return fixture.exists(target) })
                verify(!notice.opened)
            }
        }

        function test_emptyState() {
            showResults([])
            var empty = findChild(page, "emptyResults")
            verify(empty.visible)
            compare(findChild(empty, "emptyTitle").text, "No similar photos found")
            verify(!groupList().visible)
            verify(!findChild(page, "exportButton").visible)

            showResults([2])
            verify(!findChild(page, "emptyResults").visible)
            fixture.setMarks(0, [false, true])
            tryCompare(dfMgr, "checkedItemCount", 1)
            dfMgr.doDelDupPicByMark(DFMEnum.DupPicType_MoveToTrash)
            var nowEmpty = findChild(page, "emptyResults")
            tryVerify(function () { return nowEmpty.visible }, 10000)
            compare(findChild(nowEmpty, "emptyTitle").text, "All duplicates removed")
            verify(fixture.inTrash(fixture.photoPath(0, 1)))
        }

        function test_regroupAtAnotherThreshold() {
            dfMgr.setOption(Helpers.makeOptions(false, 300, 0, 70))
            showResults([2, 2])
            page.startRegroup(90)
            var option = dfMgr.getOption()
            compare(option.similarSlot.value, 2)
            compare(option.minSize.value, 300)
            compare(option.photoType.value, 1)
            var overlay = findChild(page, "regroupOverlay")
            verify(overlay.visible)
            verify(!findChild(page, "removeMarkedButton").enabled)
            compare(findChild(page, "similarityButton").text, "Similarity 90%")

            // The regroup ends on its own and gives the page back.
            tryVerify(function () { return !overlay.visible }, 10000)
            tryVerify(function () { return findChild(page, "removeMarkedButton").enabled || dfMgr.checkedItemCount === 0 })
            dfMgr.setOption(Helpers.makeOptions(true, 100, 0, 70))
        }
    }
}
