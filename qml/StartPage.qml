import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// First screen: the places to scan, the scan options and the scan button.
Item {
    id: page

    property var mgr: null
    readonly property int sourceCount: mgr ? mgr.sources.length : 0
    property alias options: scanOptions

    signal scanRequested(var optionMap)

    function reloadOptions() {
        if (mgr && !scanOptions.touched)
            scanOptions.load(mgr.getOption())
    }

    Component.onCompleted: reloadOptions()
    onVisibleChanged: if (visible) reloadOptions()

    // The saved options arrive from the options service shortly after start-up, without a
    // signal of their own; one late look picks them up unless the user already chose.
    Timer {
        interval: 2000
        running: true
        onTriggered: page.reloadOptions()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacingXl
        spacing: Theme.spacingL

        ColumnLayout {
            spacing: Theme.spacingXs
            Label {
                text: qsTr("Find duplicate and similar photos")
                font.pixelSize: Theme.fontHero
                font.weight: Font.DemiBold
                color: Theme.text
            }
            Label {
                text: qsTr("Choose where to look, check the options and start the scan. Nothing is removed without your say.")
                font.pixelSize: Theme.fontBody
                color: Theme.textMuted
            }
        }

        Rectangle {
            objectName: "noEngineBanner"
            visible: !page.mgr
            Layout.fillWidth: true
            implicitHeight: 44
            radius: Theme.radiusS
            color: Theme.warningSoft
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.spacingM
                anchors.rightMargin: Theme.spacingM
                spacing: Theme.spacingS
                GlyphIcon {
                    width: 18
                    height: 18
                    name: "warning"
                    color: Theme.warning
                }
                Label {
                    Layout.fillWidth: true
                    text: qsTr("The scan engine could not be loaded, so no scan can run. Please reinstall the program.")
                    elide: Text.ElideRight
                    font.pixelSize: Theme.fontBody
                    color: Theme.text
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: Theme.spacingL

            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                spacing: Theme.spacingM

                DropZone {
                    objectName: "dropZone"
                    Layout.fillWidth: true
                    Layout.fillHeight: page.sourceCount === 0
                    compact: page.sourceCount > 0
                    mgr: page.mgr
                }
                SourceList {
                    objectName: "sourceList"
                    visible: page.sourceCount > 0
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    mgr: page.mgr
                }
            }

            ColumnLayout {
                Layout.preferredWidth: 300
                Layout.fillWidth: false
                Layout.fillHeight: true
                spacing: Theme.spacingM

                ScanOptions {
                    id: scanOptions
                    objectName: "scanOptions"
                    mgr: page.mgr
                    Layout.fillWidth: true
                }
                Item { Layout.fillHeight: true }
                FlatButton {
                    objectName: "scanButton"
                    Layout.fillWidth: true
                    implicitHeight: 44
                    kind: "primary"
                    iconName: "search"
                    font.pixelSize: Theme.fontSubtitle
                    text: qsTr("Scan")
                    enabled: page.sourceCount > 0
                    onClicked: page.scanRequested(scanOptions.optionMap())
                }
                Label {
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    visible: page.sourceCount === 0
                    text: qsTr("Add a folder to start")
                    font.pixelSize: Theme.fontCaption
                    color: Theme.textFaint
                }
            }
        }
    }
}
