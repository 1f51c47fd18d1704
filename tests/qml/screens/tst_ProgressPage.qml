import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

ScreenTestCase {
    id: root
    name: "ProgressPage"

    Component {
        id: pageComponent
        ProgressPage { width: 1020; height: 600; mgr: dfMgr }
    }

    property var page: null

    function init() {
        page = createTemporaryObject(pageComponent, root)
        page.begin()
    }

    // Each row is the sequence the manager sends (a user's cancel before the report at
    // stopAt), then what the three steps and the overall line show.
    function test_steps_data() {
        var waiting = ["waiting", "waiting"]
        return [
            { tag: "nothing yet", reports: [], percents: [0, 0, 0], states: ["active"].concat(waiting),
              label: "0% done · Finding photos" },
            { tag: "first step ends at 99", reports: [[1, 0], [1, 99]], percents: [99, 0, 0],
              states: ["active"].concat(waiting), label: "33% done · Finding photos" },
            { tag: "second step completes the first", reports: [[1, 99], [2, 50]], percents: [100, 50, 0],
              states: ["done", "active", "waiting"], label: "50% done · Comparing photos" },
            { tag: "third step", reports: [[2, 99], [3, 57]], percents: [100, 100, 57],
              states: ["done", "done", "active"], label: "86% done · Grouping similar photos" },
            { tag: "scan end", reports: [[3, 99], [3, 100]], percents: [100, 100, 100],
              states: ["done", "done", "done"], label: "100% done · Grouping similar photos" },
            { tag: "regroup step ignored", reports: [[2, 30], [4, 0]], percents: [100, 30, 0],
              states: ["done", "active", "waiting"], label: "43% done · Comparing photos" },
            { tag: "out of range clamped", reports: [[2, 140]], percents: [100, 100, 0],
              states: ["done", "done", "waiting"], label: "67% done · Comparing photos" },
            { tag: "stopping keeps the bars", reports: [[2, 40], [3, 100]], stopAt: 1, percents: [100, 40, 0],
              states: ["done", "active", "waiting"], label: "Keeping what was found so far" }
        ]
    }

    function test_steps(data) {
        for (var i = 0; i < data.reports.length; ++i) {
            page.cancelling = i === data.stopAt
            dfMgr.sigProcProgress(data.reports[i][0], data.reports[i][1])
        }
        compare(page.percents, data.percents)
        for (var step = 0; step < 3; ++step) {
            var row = child(page, "step" + (step + 1))
            compare([row.phase, row.percent], [data.states[step], data.percents[step]], "step " + (step + 1))
        }
        compare(child(page, "overallLabel").text, data.label)
        // The next scan starts from nothing, whatever the last one left.
        page.begin()
        compare(page.percents, [0, 0, 0])
        verify(!page.finished && !page.cancelling)
    }

    // Reports between a step's start and end are held back briefly; the last one still shows.
    function test_burstOfReportsEndsOnTheLast() {
        dfMgr.sigProcProgress(2, 10)
        for (var p = 11; p <= 30; ++p)
            dfMgr.sigProcProgress(2, p)
        tryCompare(page, "percents", [100, 30, 0])
    }

    function test_cancelAsksOnceAndWaits() {
        verify(fixture.prepare([2], true))
        dfMgr.collectDupFiles()
        var cancel = child(page, "cancelScanButton")
        waitForRendering(page)
        mouseClick(cancel)
        verify(!cancel.enabled)
        waitFor(function () { return !fixture.scanning() })
        verify(!cancel.enabled)
    }
}
