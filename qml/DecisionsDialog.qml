import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Mirelle 1.0

// The remembered "Not duplicates" decisions, with a way to forget one or all of them.
AppDialog {
    id: dialog

    property var mgr: null
    property var decisions: []
    // Read only while shown: the first read opens the decisions file.
    readonly property bool enabledStore: visible && !!mgr && !!mgr.decisionsEnabled

    function reload() {
        decisions = mgr && mgr.decisionList ? mgr.decisionList() : []
    }

    title: qsTr("Not duplicates")
    iconName: "compare"
    width: 600
    closePolicy: Popup.CloseOnEscape

    onAboutToShow: reload()

    Connections {
        target: dialog.mgr
        ignoreUnknownSignals: true
        function onSigDecisionsChanged() { if (dialog.visible) dialog.reload() }
    }

    Label {
        objectName: "decisionsIntro"
        width: parent.width
        visible: dialog.enabledStore
        text: dialog.decisions.length === 0
              ? qsTr("You have not said of any photos that they are not duplicates.")
              : qsTr("These photos are never put into one group, even after a rename. Forget a decision to let the next scan group them again.")
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }

    Label {
        objectName: "decisionsError"
        width: parent.width
        visible: !dialog.enabledStore
        text: dialog.mgr && dialog.mgr.decisionsError ? dialog.mgr.decisionsError
                                                      : qsTr("Remembered decisions are not available.")
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.danger
    }

    ListView {
        id: list
        objectName: "decisionsList"
        width: parent.width
        height: Math.min(contentHeight, 320)
        visible: count > 0
        clip: true
        spacing: Theme.spacingXs
        model: dialog.decisions
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        delegate: Rectangle {
            objectName: "decisionRow"
            width: list.width
            height: rowLayout.implicitHeight + 2 * Theme.spacingS
            radius: Theme.radiusS
            color: Theme.placeholder
            RowLayout {
                id: rowLayout
                anchors.fill: parent
                anchors.margins: Theme.spacingS
                spacing: Theme.spacingS
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 0
                    Label {
                        Layout.fillWidth: true
                        text: modelData.pathA
                        elide: Text.ElideMiddle
                        font.pixelSize: Theme.fontCaption + 1
                        color: Theme.text
                    }
                    Label {
                        Layout.fillWidth: true
                        text: modelData.pathB
                        elide: Text.ElideMiddle
                        font.pixelSize: Theme.fontCaption + 1
                        color: Theme.text
                    }
                    Label {
                        Layout.fillWidth: true
                        text: Format.dateTime(modelData.created)
                        font.pixelSize: Theme.fontCaption
                        color: Theme.textFaint
                    }
                }
                FlatButton {
                    objectName: "forgetButton"
                    kind: "ghost"
                    implicitHeight: 28
                    text: qsTr("Forget")
                    onClicked: if (dialog.mgr) dialog.mgr.forgetDecision(modelData.id)
                }
            }
        }
    }

    buttons: [
        FlatButton {
            objectName: "forgetAllButton"
            kind: "secondary"
            text: qsTr("Forget all")
            enabled: dialog.enabledStore && dialog.decisions.length > 0
            onClicked: if (dialog.mgr) dialog.mgr.forgetAllDecisions()
        },
        FlatButton {
            objectName: "closeButton"
            kind: "primary"
            text: qsTr("Close")
            onClicked: dialog.close()
        }
    ]
}
