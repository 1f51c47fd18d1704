import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// A question the removal asks before it goes on. The manager's worker waits for the answer,
// so every way of closing answers exactly once: 0 goes on, 1 stops.
AppDialog {
    id: question

    property string text: ""
    property string acceptText: qsTr("Continue")
    property string rejectText: qsTr("Cancel")
    property bool noticeOnly: false
    property bool answered: true

    signal answer(int iRet)

    function ask() {
        answered = false
        open()
    }

    function reply(iRet) {
        if (answered)
            return
        answered = true
        close()
        answer(iRet)
    }

    iconName: "warning"
    iconColor: Theme.warning
    closePolicy: Popup.CloseOnEscape
    onClosed: reply(noticeOnly ? 0 : 1)

    Label {
        objectName: "questionText"
        width: parent.width
        text: question.text
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontBody
        color: Theme.text
    }

    buttons: [
        FlatButton {
            objectName: "rejectButton"
            visible: !question.noticeOnly
            text: question.rejectText
            onClicked: question.reply(1)
        },
        FlatButton {
            objectName: "acceptButton"
            kind: question.noticeOnly ? "primary" : "danger"
            text: question.noticeOnly ? qsTr("OK") : question.acceptText
            onClicked: question.reply(0)
        }
    ]
}
