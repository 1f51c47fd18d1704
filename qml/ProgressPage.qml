import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// The scan running: its three steps with percentages, what was found so far, the time, cancel.
Item {
    id: page

    property var mgr: null
    property var percents: [0, 0, 0]
    property int currentStep: 0
    property bool cancelling: false
    property double startTime: 0
    property double elapsedMs: 0
    readonly property bool running: currentStep > 0 && !finished
    readonly property bool finished: percents[2] >= 100
    readonly property int overallPercent: Math.round((percents[0] + percents[1] + percents[2]) / 3)
    readonly property var stepTitles: [qsTr("Finding photos"), qsTr("Comparing photos"),
                                       qsTr("Grouping similar photos")]
    // Files found, read and put in groups so far, as the manager counts them.
    property var counts: mgr && mgr.scanCounts ? mgr.scanCounts : [0, 0, 0]

    function countText(n) {
        return Number(n).toLocaleString(Qt.locale(), "f", 0)
    }

    function stepDetail(index) {
        var found = Number(counts[0]) || 0
        var read = Number(counts[1]) || 0
        var grouped = Number(counts[2]) || 0
        if (index === 0 && found > 0)
            return qsTr("%1 of %2 files read").arg(countText(Math.min(read, found))).arg(countText(found))
        if (index === 0 && read > 0)
            return Helpers.numerus(qsTr("%Ln file(s) read", "", read), read)
        if (index === 2 && grouped > 0)
            return Helpers.numerus(qsTr("%Ln photo(s) in groups", "", grouped), grouped)
        return ""
    }

    signal cancelRequested()
    signal scanSettled()

    function begin() {
        pendingProgress = null
        lastProgressMs = 0
        percents = [0, 0, 0]
        currentStep = 1
        cancelling = false
        startTime = Date.now()
        elapsedMs = 0
    }

    // Steps before the reported one are complete; the manager reports each step's end as 99.
    function applyProgress(step, progress) {
        if (step < 1 || step > 3)
            return
        var next = percents.slice()
        for (var i = 0; i < 3; ++i) {
            if (i + 1 < step)
                next[i] = 100
            else if (i + 1 === step)
                next[i] = Math.max(0, Math.min(100, progress))
            else
                next[i] = 0
        }
        percents = next
        currentStep = step
    }

    // The engine reports every percent, dozens a second, and each report redraws the page:
    // a step's start and end show at once, the percentages between at most ten times a second.
    property var pendingProgress: null
    property double lastProgressMs: 0

    function reportProgress(step, progress) {
        var now = Date.now()
        if (step !== currentStep || progress >= 99 || now - lastProgressMs >= progressTimer.interval) {
            pendingProgress = null
            progressTimer.stop()
            lastProgressMs = now
            applyProgress(step, progress)
            return
        }
        pendingProgress = [step, progress]
        if (!progressTimer.running)
            progressTimer.start()
    }

    Timer {
        id: progressTimer
        interval: 100
        onTriggered: {
            var pending = page.pendingProgress
            page.pendingProgress = null
            if (pending && !page.cancelling) {
                page.lastProgressMs = Date.now()
                page.applyProgress(pending[0], pending[1])
            }
        }
    }

    function stepState(index) {
        if (percents[index] >= 100 || index + 1 < currentStep)
            return "done"
        return index + 1 === currentStep ? "active" : "waiting"
    }

    Connections {
        target: page.mgr
        // A stopping engine reports its steps as ended; the bars keep what was really done.
        function onSigProcProgress(curStep, curProgress) {
            if (!page.cancelling)
                page.reportProgress(curStep, curProgress)
        }
    }

    // The manager confirms only a successful scan; a scan the engine ended otherwise still
    // reaches 100 %, and its partial results are shown after a short wait.
    Timer {
        interval: 3000
        running: page.visible && page.finished && !page.cancelling
        onTriggered: page.scanSettled()
    }

    Timer {
        interval: 500
        repeat: true
        running: page.visible && page.currentStep > 0 && !page.finished
        triggeredOnStart: true
        onTriggered: page.elapsedMs = Date.now() - page.startTime
    }

    Card {
        anchors.centerIn: parent
        width: Math.min(parent.width - 2 * Theme.spacingXl, 620)
        height: content.implicitHeight + 2 * Theme.spacingXl

        ColumnLayout {
            id: content
            anchors.fill: parent
            anchors.margins: Theme.spacingXl
            spacing: Theme.spacingL

            ColumnLayout {
                spacing: Theme.spacingXs
                Label {
                    text: page.cancelling ? qsTr("Stopping the scan…") : qsTr("Scanning your photos")
                    font.pixelSize: Theme.fontTitle
                    font.weight: Font.DemiBold
                    color: Theme.text
                }
                Label {
                    objectName: "overallLabel"
                    text: page.cancelling ? qsTr("Keeping what was found so far")
                                          : qsTr("%1% done · %2").arg(page.overallPercent)
                                            .arg(page.currentStep > 0 ? page.stepTitles[page.currentStep - 1] : qsTr("Starting"))
                    font.pixelSize: Theme.fontBody
                    color: Theme.textMuted
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingXs
                Repeater {
                    model: 3
                    StepRow {
                        required property int index
                        objectName: "step" + (index + 1)
                        Layout.fillWidth: true
                        number: index + 1
                        title: page.stepTitles[index]
                        percent: page.percents[index]
                        phase: page.stepState(index)
                        detail: page.stepDetail(index)
                    }
                }
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 1
                color: Theme.border
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingXl
                Repeater {
                    model: [
                        { label: qsTr("Groups found"), value: page.mgr ? Number(page.mgr.totalGroupCount).toLocaleString(Qt.locale(), "f", 0) : "0" },
                        { label: qsTr("Duplicate size"), value: Format.size(page.mgr ? page.mgr.totalDupImgSize : 0) },
                        { label: qsTr("Elapsed"), value: Helpers.formatDuration(page.elapsedMs) }
                    ]
                    ColumnLayout {
                        required property var modelData
                        spacing: 2
                        Label {
                            text: modelData.label
                            font.pixelSize: Theme.fontCaption
                            color: Theme.textMuted
                        }
                        Label {
                            text: modelData.value
                            font.pixelSize: Theme.fontSubtitle + 2
                            font.weight: Font.DemiBold
                            color: Theme.text
                        }
                    }
                }
                Item { Layout.fillWidth: true }
                FlatButton {
                    objectName: "cancelScanButton"
                    text: page.cancelling ? qsTr("Cancelling…") : qsTr("Cancel")
                    enabled: !page.cancelling && !page.finished
                    onClicked: {
                        page.cancelling = true
                        if (page.mgr)
                            page.mgr.cancel()
                        page.cancelRequested()
                    }
                }
            }
        }
    }
}
