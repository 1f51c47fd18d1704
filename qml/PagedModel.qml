import QtQuick 2.15
import QtQml.Models 2.15

// One page of a large model: the rows of the page join a DelegateModel group that the view
// shows, so only that page is instantiated and its delegates keep their live role bindings.
DelegateModel {
    id: paged

    property int pageSize: Helpers.groupsPerPage
    property int page: 0
    readonly property int total: items.count
    readonly property int pageCount: Helpers.pageCount(total, pageSize)
    readonly property int pageStart: Helpers.pageStart(page, pageSize)

    function refreshPage() {
        var clamped = Helpers.clampPage(page, total, pageSize)
        if (clamped !== page) {
            page = clamped
            return
        }
        // Computed here: in a change handler the pageStart binding may not have caught up yet.
        var start = Helpers.pageStart(page, pageSize)
        var end = start + Helpers.rowsOnPage(page, total, pageSize)
        // Rows that stay on the page keep their delegates; only the difference changes.
        for (var i = pageGroup.count - 1; i >= 0; --i) {
            var entry = pageGroup.get(i)
            if (!entry || entry.itemsIndex < start || entry.itemsIndex >= end)
                pageGroup.remove(i, 1)
        }
        if (pageGroup.count === end - start)
            return
        // The total may run ahead of the rows the model has delivered so far.
        for (var r = start; r < Math.min(end, items.count); ++r) {
            var item = items.get(r)
            if (item && !item.inPage)
                items.addGroups(r, 1, "page")
        }
    }

    function showRow(row) {
        page = Helpers.clampPage(Helpers.pageOfRow(row, pageSize), total, pageSize)
    }

    onPageChanged: refreshPage()
    onPageSizeChanged: refreshPage()

    groups: DelegateModelGroup {
        id: pageGroup
        name: "page"
        includeByDefault: false
    }
    filterOnGroup: "page"

    // Inserted, removed and reset rows all shift what belongs on the page.
    property Connections rowWatcher: Connections {
        target: paged.items
        function onChanged(removed, inserted) {
            Qt.callLater(paged.refreshPage)
        }
    }
}
