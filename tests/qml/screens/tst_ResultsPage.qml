import QtQuick 2.15
import QtTest 1.15
import DupPicsMgr 1.0
import "qrc:/qml"

ScreenTestCase {
    id: root
    name: "ResultsPage"

    Component {
        id: pageComponent
        ResultsPage { width: 1020; height: 600; mgr: dfMgr }
    }

    SignalSpy { id: previewSpy; signalName: "previewRequested"; target: page }
    SignalSpy { id: removeSpy; signalName: "removeOneRequested"; target: page }

    property var page: null

    function showResults(counts) {
        verify(fixture.scan(counts))
        page = createTemporaryObject(pageComponent, root)
        page.forceActiveFocus()
        waitForRendering(page)
    }

    function groupList() { return child(page, "groupList") }

    function card(row) {
        var list = groupList()
        waitFor(function () { return list.itemAtIndex(row) !== null })
        return list.itemAtIndex(row)
    }

    // Rows of a scan that ends while the page is on view join it.
    function test_groupPages_data() {
        return [
            { tag: "one page", groups: 4, page: 0, shown: 4, pages: 1, position: 0 },
            { tag: "exactly one page", groups: 6, page: 1, shown: 6, pages: 1, position: 0 },
            { tag: "full first page", groups: 13, page: 0, shown: 6, pages: 3, position: 0 },
            { tag: "last page holds the rest", groups: 13, page: 2, shown: 1, pages: 3, position: 12 },
            { tag: "page past the end", groups: 7, page: 5, shown: 1, pages: 2, position: 6 },
            { tag: "rows arriving later", before: 2, groups: 8, page: 0, shown: 6, pages: 2, position: 0 }
        ]
    }

    function test_groupPages(data) {
        var pairs = function (n) { return Array(n).fill(2) }
        showResults(pairs(data.before || data.groups))
        if (data.before) {
            tryCompare(groupList(), "count", data.before)
            verify(fixture.scan(pairs(data.groups)))
        }
        page.groupPages.page = data.page
        tryCompare(groupList(), "count", data.shown)
        compare(page.groupPages.pageCount, data.pages)
        compare(card(0).groupKey, 1000 + data.position)
    }

    // A page of the strip holds the tiles it shows whole, no more; a new tile size keeps
    // the page's first photo on view.
    function test_photoStripPages() {
        showResults([19, 2])
        var first = card(0)
        var strip = child(first, "photoStrip")
        var pages = first.photoPages
        var span = function (tiles) { return tiles * (first.thumbSize + strip.spacing) - strip.spacing }
        // The card's layout settles over frames: wait for the page to fit the final width.
        waitFor(function () { return span(pages.pageSize) <= strip.width && span(pages.pageSize + 1) > strip.width })
        var perPage = pages.pageSize
        tryCompare(strip, "count", perPage)
        compare(pages.pageCount, Math.ceil(19 / perPage))
        pages.page = 1
        tryCompare(strip, "count", Math.min(perPage, 19 - perPage))
        page.thumbSize = Helpers.thumbSizeMin
        waitFor(function () { return pages.pageSize > perPage })
        compare(pages.page, Math.floor(perPage / pages.pageSize))
    }

    function calls(spy) {
        return spy.signalArguments.map(function (a) { return Array.prototype.slice.call(a) })
    }

    // Each step is a key and the group and photo it leads to.
    function test_keyboardReview() {
        showResults([3, 2])
        var steps = [[Qt.Key_Right, 0, 1], [Qt.Key_Right, 0, 2], [Qt.Key_Right, 1, 0], [Qt.Key_Left, 0, 2],
                     [Qt.Key_Down, 1, 0]]
        for (var i = 0; i < steps.length; ++i) {
            keyClick(steps[i][0])
            compare([page.currentGroup, page.currentPhoto], steps[i].slice(1), "step " + i)
        }
        keyClick(Qt.Key_Space)
        tryCompare(dfMgr, "checkedItemCount", 1)
        var photos = page.photoModelAt(1)
        verify(photos.getCheckState(0))
        keyClick(Qt.Key_Return)
        compare(calls(previewSpy), [[1001, 0]])
        keyClick(Qt.Key_Delete)
        compare(calls(removeSpy), [[1001, photos.data(photos.index(0, 0), 264)]])
    }

    // Each tile shows its thumbnail once the manager made it, and its mark, even a single one
    // that changes no role, once the totals move.
    function test_tile() {
        showResults([3])
        var strip = child(card(0), "photoStrip")
        waitFor(function () { return strip.itemAtIndex(2) !== null })
        var tiles = [strip.itemAtIndex(0), strip.itemAtIndex(1), strip.itemAtIndex(2)]
        compare(child(tiles[0], "tileStatus").text, "Kept")
        for (var i = 0; i < 3; ++i) {
            var thumb = child(tiles[i], "tileThumb")
            waitFor(function () { return thumb.ready }, "thumbnail " + i)
        }

        tiles[1].toggleMark()
        // The totals come in a signal of their own, after the photo's row.
        waitFor(function () { return tiles[1].marked && dfMgr.checkedItemCount === 1 })
        compare(child(tiles[1], "tileStatus").text, "Marked")
        tiles[1].toggleMark()
        waitFor(function () { return !tiles[1].marked })

        // A mark the rule proposed says why.
        dfMgr.doAllMark()
        var ruled = null
        waitFor(function () {
            ruled = tiles.filter(function (t) { return t.marked && t.markReason !== "" })[0]
            return ruled !== undefined
        })
        compare(child(ruled, "tileStatus").text, "Marked: " + ruled.markReason)
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
        var button = child(data.inCard ? card(0) : page, data.button)
        waitFor(function () { return button.enabled })
        mouseClick(button)
        tryCompare(dfMgr, "checkedItemCount", data.after)
    }

    // The menu picks the format of the file dialog; the report is written there, or a
    // notice names the folder it could not be written to.
    function test_export_data() {
        return [
            { tag: "csv", index: 0, item: "exportCsvItem", format: "csv", folder: "" },
            { tag: "json, folder missing", index: 1, item: "exportJsonItem", format: "json", folder: "/missing" },
            { tag: "pdf", index: 3, item: "exportPdfItem", format: "pdf", folder: "" },
            { tag: "html summary", index: 4, item: "exportHtmlItem", format: "html", folder: "" }
        ]
    }

    function test_export(data) {
        showResults([2, 3])
        page.exportFormat = ""
        var button = child(page, "exportButton")
        verify(button.visible && button.enabled)
        mouseClick(button)
        var menu = child(page, "exportMenu")
        tryCompare(menu, "opened", true)
        var item = menu.itemAt(data.index)
        compare(item.objectName, data.item)
        mouseClick(item)
        compare(page.exportFormat, data.format)
        var dialog = child(page, "exportDialog")
        tryCompare(dialog, "visible", true)
        verify(dialog.nameFilters[0].indexOf("*." + data.format) >= 0)
        dialog.close()
        // Without a QApplication the dialog is Qt's QML one, whose Settings warn that no
        // organisation is set; the program itself gets the widget dialog.
        for (var i = 0; i < qmlWarnings.messages.length; ++i)
            verify(qmlWarnings.messages[i].indexOf("QML Settings") >= 0, qmlWarnings.messages[i])
        qmlWarnings.clear()

        var target = fixture.folder() + data.folder + "/r." + data.format
        page.exportTo("file://" + target)
        var notice = child(page, "exportNotice")
        if (data.folder === "") {
            waitFor(function () { return fixture.exists(target) })
            verify(!notice.opened)
            return
        }
        waitOpened(notice)
        verify(notice.text.indexOf(fixture.folder() + data.folder) >= 0, notice.text)
        notice.close()
        waitClosed(notice)
    }

    function test_regroupAtAnotherThreshold() {
        dfMgr.setOption(Helpers.makeOptions(false, 300, 0, 70))
        showResults([2, 2])
        page.startRegroup(90)
        compare(Helpers.readOptions(dfMgr.getOption()), Helpers.readOptions(Helpers.makeOptions(false, 300, 0, 90)))
        var overlay = child(page, "regroupOverlay")
        verify(overlay.visible)
        var remove = child(page, "removeMarkedButton")
        verify(!remove.enabled)

        // The regroup ends on its own and gives the page back.
        waitFor(function () { return !overlay.visible })
        waitFor(function () { return remove.enabled || dfMgr.checkedItemCount === 0 })
        dfMgr.setOption(Helpers.makeOptions(true, 100, 0, 70))
    }
}
