import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtQuick.Layouts 1.15

// The scan options. They are read from and written back as the manager's option map.
Card {
    id: options

    property var mgr: null
    property bool originalOnly: true
    property int minSize: 100
    property int unitIndex: 0
    property int threshold: Helpers.defaultThreshold
    property bool rotations: false
    // Set once the user changed a control, so that options arriving late do not overwrite it.
    property bool touched: false

    function load(map) {
        var fields = Helpers.readOptions(map)
        originalOnly = fields.originalOnly
        minSize = fields.minSize
        unitIndex = fields.unitIndex
        threshold = fields.threshold
        rotations = fields.rotations
    }

    function optionMap() {
        return Helpers.makeOptions(originalOnly, minSize, unitIndex, threshold, rotations)
    }

    implicitHeight: column.implicitHeight + 2 * Theme.spacingL

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacingL
        spacing: Theme.spacingS

        Label {
            text: qsTr("Scan options")
            font.pixelSize: Theme.fontSubtitle
            font.weight: Font.DemiBold
            color: Theme.text
        }

        Label {
            Layout.topMargin: Theme.spacingS
            text: qsTr("Photos to compare")
            font.pixelSize: Theme.fontCaption
            font.weight: Font.DemiBold
            color: Theme.textMuted
        }
        RadioButton {
            objectName: "originalOnlyRadio"
            text: qsTr("Original photos only")
            ToolTip.visible: Window.window !== null && hovered
            ToolTip.delay: 600
            ToolTip.text: qsTr("Groups that hold a camera photo, with all their copies (resized, sent or edited ones too); groups without any camera photo, such as graphics, screenshots and downloads, are left out")
            checked: options.originalOnly
            onToggled: { options.originalOnly = true; options.touched = true }
        }
        RadioButton {
            objectName: "allImagesRadio"
            text: qsTr("All images")
            checked: !options.originalOnly
            onToggled: { options.originalOnly = false; options.touched = true }
        }

        Label {
            Layout.topMargin: Theme.spacingS
            text: qsTr("Minimum file size")
            font.pixelSize: Theme.fontCaption
            font.weight: Font.DemiBold
            color: Theme.textMuted
        }
        RowLayout {
            spacing: Theme.spacingS
            SpinBox {
                objectName: "minSizeSpin"
                ToolTip.visible: Window.window !== null && hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Smaller files are not compared")
                from: 0
                to: 1024 * 1024
                stepSize: 10
                editable: true
                value: options.minSize
                onValueModified: { options.minSize = value; options.touched = true }
            }
            ComboBox {
                objectName: "unitCombo"
                implicitWidth: 76
                model: Helpers.sizeUnitNames
                currentIndex: options.unitIndex
                onActivated: { options.unitIndex = index; options.touched = true }
            }
        }

        RowLayout {
            Layout.topMargin: Theme.spacingS
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: qsTr("Similarity")
                font.pixelSize: Theme.fontCaption
                font.weight: Font.DemiBold
                color: Theme.textMuted
            }
            Label {
                objectName: "thresholdLabel"
                text: qsTr("%1%").arg(options.threshold)
                font.pixelSize: Theme.fontBody
                font.weight: Font.DemiBold
                color: Theme.accent
            }
        }
        Slider {
            objectName: "thresholdSlider"
            Layout.fillWidth: true
            from: 0
            to: 100
            stepSize: 5
            snapMode: Slider.SnapAlways
            value: options.threshold
            onMoved: { options.threshold = Math.round(value); options.touched = true }
        }
        RowLayout {
            Layout.fillWidth: true
            Label {
                Layout.fillWidth: true
                text: qsTr("More photos")
                font.pixelSize: Theme.fontCaption
                color: Theme.textFaint
            }
            Label {
                text: qsTr("Closer matches")
                font.pixelSize: Theme.fontCaption
                color: Theme.textFaint
            }
        }

        CheckBox {
            id: rotationsCheck
            objectName: "rotationsCheck"
            Layout.topMargin: Theme.spacingS
            // Bounded by the card, so a long translation wraps instead of widening the card.
            Layout.fillWidth: true
            text: qsTr("Find rotated and mirrored copies")
            contentItem: Label {
                leftPadding: rotationsCheck.indicator.width + rotationsCheck.spacing
                text: rotationsCheck.text
                wrapMode: Text.WordWrap
                verticalAlignment: Text.AlignVCenter
                color: Theme.text
            }
            checked: options.rotations
            onToggled: { options.rotations = checked; options.touched = true }
            ToolTip.visible: Window.window !== null && hovered
            ToolTip.delay: 600
            ToolTip.text: qsTr("Also match copies that were turned or flipped; the scan takes longer")
        }

        // The one switch behind every "do not ask again" of a removal.
        CheckBox {
            id: askCheck
            objectName: "askBeforeRemovingCheck"
            visible: !!options.mgr
            text: qsTr("Ask before removing photos")
            checked: true
            onToggled: if (options.mgr) options.mgr.setShowDeleteWin(checked)
            Connections {
                target: options
                function onVisibleChanged() {
                    if (options.visible && options.mgr)
                        askCheck.checked = options.mgr.getShowDeleteWin()
                }
            }
            Component.onCompleted: if (options.mgr) checked = options.mgr.getShowDeleteWin()
        }

        FlatButton {
            objectName: "decisionsButton"
            Layout.topMargin: Theme.spacingXs
            kind: "ghost"
            implicitHeight: 28
            visible: !!options.mgr
            text: qsTr("Not duplicates list…")
            onClicked: decisionsDialog.open()
            ToolTip.visible: Window.window !== null && hovered
            ToolTip.delay: 600
            ToolTip.text: qsTr("Photos you said are not duplicates of each other")
        }
    }

    DecisionsDialog {
        id: decisionsDialog
        objectName: "decisionsDialog"
        mgr: options.mgr
    }
}
