import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

Item {
    id: root
    width: 1020
    height: 600

    TestCase {
        id: testCase
        name: "ProgressPage"
        when: windowShown

        Component {
            id: pageComponent
            ProgressPage {
                width: 1020
                height: 600
                mgr: dfMgr
            }
        }

        property var page: null

        function init() {
            page = createTemporaryObject(pageComponent, root)
            page.begin()
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        // Each row is the sequence the manager sends, then what the three steps show.
        function test_steps_data() {
            return [
                { tag: "nothing yet", reports: [], percents: [0, 0, 0], states: ["active", "waiting", "waiting"] },
                { tag: "first step starts", reports: [[1, 0]], percents: [0, 0, 0],
                  states: ["active", "waiting", "waiting"] },
                { tag: "first step ends at 99", reports: [[1, 0], [1, 99]], percents: [99, 0, 0],
                  states: ["active", "waiting", "waiting"] },
                { tag: "second step completes the first", reports: [[1, 99], [2, 40]], percents: [100, 40, 0],
                  states: ["done", "active", "waiting"] },
                { tag: "third step", reports: [[2, 99], [3, 57]], percents: [100, 100, 57],
                  states: ["done", "done", "active"] },
                { tag: "scan end", reports: [[3, 99], [3, 100]], percents: [100, 100, 100],
                  states: ["done", "done", "done"] },
                { tag: "regroup step ignored", reports: [[2, 30], [4, 0]], percents: [100, 30, 0],
                  states: ["done", "active", "waiting"] },
                { tag: "out of range clamped", reports: [[2, 140]], percents: [100, 100, 0],
                  states: ["done", "done", "waiting"] }
            ]
        }

        function test_steps(data) {
            for (var i = 0; i < data.reports.length; ++i)
                dfMgr.sigProcProgress(data.reports[i][0], data.reports[i][1])
            compare(page.percents, data.percents)
            for (var step = 0; step < 3; ++step) {
                var row = findChild(page, "step" + (step + 1))
                compare(row.phase, data.states[step], "step " + (step + 1))
                compare(row.percent, data.percents[step])
            }
        }

        // Reports between a step's start and end are held back briefly; the last one still shows.
        function test_burstOfReportsEndsOnTheLast() {
            dfMgr.sigProcProgress(2, 10)
            for (var p = 11; p <= 30; ++p)
                dfMgr.sigProcProgress(2, p)
            tryCompare(page, "percents", [100, 30, 0])
        }

        function test_overallPercentAndLabel() {
            dfMgr.sigProcProgress(2, 50)
            compare(page.overallPercent, 50)
            var label = findChild(page, "overallLabel")
            verify(label.text.indexOf("50%") === 0, label.text)
            verify(label.text.indexOf("Comparing") > 0, label.text)
        }

        function test_beginResetsAfterAPreviousScan() {
            dfMgr.sigProcProgress(3, 100)
            verify(page.finished)
            page.begin()
            compare(page.percents, [0, 0, 0])
            verify(!page.finished)
        }

        function test_cancelAsksOnceAndWaits() {
            verify(fixture.prepare([2], true))
            dfMgr.collectDupFiles()
            var cancel = findChild(page, "cancelScanButton")
            waitForRendering(page)
            mouseClick(cancel)
            verify(!cancel.enabled)
            tryVerify(function () { return !fixture.scanning() }, 10000)
            verify(!cancel.enabled)
        }

        function test_stoppingKeepsTheBarsAsTheyWere() {
            dfMgr.sigProcProgress(2, 40)
            page.cancelling = true
            dfMgr.sigProcProgress(3, 100)
            compare(page.percents, [100, 40, 0])
            verify(findChild(page, "overallLabel").text.indexOf("100%") < 0)
        }

        // Found, read and grouped, as the manager counts them, beside the steps they belong to.
        function test_stepsSayWhatTheyCounted_data() {
            return [{ tag: "walk not done", counts: [0, 0, 0], details: ["", "", ""] },
                    { tag: "reading", counts: [12, 3, 0], details: ["3 of 12 files read", "", ""] },
                    { tag: "grouping", counts: [12, 12, 1], details: ["12 of 12 files read", "", "1 photo in groups"] },
                    { tag: "no total", counts: [0, 7, 5], details: ["7 files read", "", "5 photos in groups"] }]
        }
        function test_stepsSayWhatTheyCounted(data) {
            page.counts = data.counts
            for (var i = 0; i < 3; ++i) {
                var detail = findChild(findChild(page, "step" + (i + 1)), "stepDetail")
                compare(detail.text, data.details[i])
                compare(detail.visible, data.details[i] !== "")
            }
        }

        function test_elapsedTimeRuns() {
            page.startTime = Date.now() - 65000
            tryVerify(function () { return page.elapsedMs >= 65000 }, 2000)
        }
    }
}
