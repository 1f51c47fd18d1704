import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// A message with one button, such as the list of photos that could not be removed.
AppDialog {
    id: notice

    property string text: ""

    // strIcon, when given, marks a plain report (such as a scan the user stopped) apart from
    // a failure, which keeps the warning sign.
    function show(strTitle, strText, strIcon) {
        title = strTitle
        text = strText
        iconName = strIcon ? strIcon : "warning"
        iconColor = strIcon ? Theme.accent : Theme.danger
        open()
    }

    iconName: "warning"
    iconColor: Theme.danger
    closePolicy: Popup.CloseOnEscape

    Label {
        objectName: "noticeText"
        width: parent.width
        text: notice.text
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.text
    }

    buttons: [
        FlatButton {
            objectName: "okButton"
            kind: "primary"
            text: qsTr("OK")
            onClicked: notice.close()
        }
    ]
}
