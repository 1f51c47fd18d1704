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
    // Rows a page takes on per event; 0 takes the whole page at once. A page of heavy
    // delegates made in one go stalls the window, a few at a time it does not.
    property int rowsPerStep: 0
    // The view that shows this model: laid out after each step, so that the step's delegates
    // are made in the step's event rather than all together at the next frame.
    property Item view: null
    readonly property bool building: stepTimer.running
    // While off screen the page is left as it is: a scan inserting groups would otherwise
    // make and renumber hidden cards with every insert. It catches up when shown.
    property bool active: true
    // The size `page` counts in: a new page size keeps the first row of the page on view.
    property int countedPageSize: 0

    function refreshPage() {
        if (!active)
            return
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
        var added = 0
        // The total may run ahead of the rows the model has delivered so far.
        for (var r = start; r < Math.min(end, items.count); ++r) {
            var item = items.get(r)
            if (!item || item.inPage)
                continue
            if (rowsPerStep > 0 && added === rowsPerStep) {
                stepTimer.restart()
                break
            }
            items.addGroups(r, 1, "page")
            ++added
        }
        if (added > 0 && view)
            view.forceLayout()
    }

    function showRow(row) {
        page = Helpers.clampPage(Helpers.pageOfRow(row, pageSize), total, pageSize)
    }

    onActiveChanged: refreshPage()
    onPageChanged: refreshPage()
    onPageSizeChanged: {
        var keep = Helpers.clampPage(Helpers.pageOfRow(page * countedPageSize, pageSize), total, pageSize)
        countedPageSize = pageSize
        if (keep !== page)
            page = keep
        else
            refreshPage()
    }
    Component.onCompleted: countedPageSize = pageSize

    groups: DelegateModelGroup {
        id: pageGroup
        name: "page"
        includeByDefault: false
    }
    filterOnGroup: "page"

    property Timer stepTimer: Timer {
        interval: 0
        onTriggered: paged.refreshPage()
    }

    // Inserted, removed and reset rows all shift what belongs on the page.
    property Connections rowWatcher: Connections {
        target: paged.items
        function onChanged(removed, inserted) {
            Qt.callLater(paged.refreshPage)
        }
    }
}
