import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import DupPicsMgr 1.0
import Mirelle 1.0

// Confirms a removal of the marked photos and chooses how: the trash (the default),
// permanently, or into a folder. Warns when whole groups would go.
AppDialog {
    id: removal

    property var mgr: null
    property int method: DFMEnum.DupPicType_MoveToTrash
    property string folder: ""
    property int wholeGroups: 0
    readonly property int markedCount: mgr ? mgr.checkedItemCount : 0
    readonly property double markedSize: mgr ? Number(mgr.checkedFileSize) : 0
    readonly property bool canRemove: markedCount > 0
                                      && (method !== DFMEnum.DupPicType_MoveToFolder || folder !== "")

    signal confirmed(int method, string folder)

    function ask(wholeGroupCount) {
        wholeGroups = wholeGroupCount
        dontAsk.checked = false
        open()
    }

    function chooseFolder() {
        if (!mgr)
            return
        var chosen = mgr.getExistingDirectory()
        if (chosen !== "") {
            folder = chosen
            method = DFMEnum.DupPicType_MoveToFolder
        }
    }

    function accept() {
        if (!canRemove)
            return
        if (dontAsk.checked && mgr)
            mgr.setShowDeleteWin(false)
        close()
        confirmed(method, method === DFMEnum.DupPicType_MoveToFolder ? folder : "")
    }

    title: Helpers.numerus(qsTr("Remove %n marked photo(s)?", "", markedCount), markedCount)
    iconName: "trash"
    iconColor: Theme.danger
    closePolicy: Popup.CloseOnEscape
    width: 500

    Label {
        width: parent.width
        text: qsTr("%1 will be freed.").arg(Format.size(removal.markedSize))
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }

    Rectangle {
        objectName: "wholeGroupWarning"
        visible: removal.wholeGroups > 0
        width: parent.width
        implicitHeight: warningText.implicitHeight + 2 * Theme.spacingM
        radius: Theme.radiusS
        color: Theme.warningSoft
        RowLayout {
            anchors.fill: parent
            anchors.margins: Theme.spacingM
            spacing: Theme.spacingS
            GlyphIcon {
                Layout.alignment: Qt.AlignTop
                width: 18
                height: 18
                name: "warning"
                color: Theme.warning
            }
            Label {
                id: warningText
                Layout.fillWidth: true
                text: Helpers.numerus(qsTr("In %n group(s) every photo is marked. Removing them keeps no copy of those photos.",
                                           "", removal.wholeGroups), removal.wholeGroups)
                wrapMode: Text.WordWrap
                font.pixelSize: Theme.fontBody
                color: Theme.text
            }
        }
    }

    ButtonGroup { id: methods }

    ColumnLayout {
        width: parent.width
        spacing: 0
        RadioButton {
            objectName: "trashRadio"
            ButtonGroup.group: methods
            text: Helpers.recycleBin ? qsTr("Move to the recycle bin") : qsTr("Move to the trash")
            checked: removal.method === DFMEnum.DupPicType_MoveToTrash
            onToggled: removal.method = DFMEnum.DupPicType_MoveToTrash
        }
        RadioButton {
            objectName: "permanentRadio"
            ButtonGroup.group: methods
            text: qsTr("Delete permanently")
            checked: removal.method === DFMEnum.DupPicType_DelPermanentiy
            onToggled: removal.method = DFMEnum.DupPicType_DelPermanentiy
        }
        RadioButton {
            objectName: "folderRadio"
            ButtonGroup.group: methods
            text: qsTr("Move to a folder")
            checked: removal.method === DFMEnum.DupPicType_MoveToFolder
            onToggled: {
                removal.method = DFMEnum.DupPicType_MoveToFolder
                if (removal.folder === "")
                    removal.chooseFolder()
            }
        }
        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 28
            visible: removal.method === DFMEnum.DupPicType_MoveToFolder
            spacing: Theme.spacingS
            Label {
                objectName: "folderLabel"
                Layout.fillWidth: true
                text: removal.folder !== "" ? removal.folder : qsTr("No folder chosen")
                elide: Text.ElideMiddle
                font.pixelSize: Theme.fontBody
                color: removal.folder !== "" ? Theme.text : Theme.textFaint
            }
            FlatButton {
                objectName: "browseButton"
                implicitHeight: 28
                text: qsTr("Choose…")
                onClicked: removal.chooseFolder()
            }
        }
    }

    Label {
        objectName: "permanentWarning"
        width: parent.width
        visible: removal.method === DFMEnum.DupPicType_DelPermanentiy
        text: qsTr("Permanent deletion cannot be undone.")
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontCaption
        color: Theme.danger
    }

    CheckBox {
        id: dontAsk
        objectName: "dontAskCheck"
        text: qsTr("Remove this way from now on without asking")
    }

    buttons: [
        FlatButton {
            objectName: "cancelButton"
            text: qsTr("Cancel")
            onClicked: removal.close()
        },
        FlatButton {
            objectName: "removeButton"
            kind: "danger"
            text: qsTr("Remove")
            enabled: removal.canRemove
            onClicked: removal.accept()
        }
    ]
}
