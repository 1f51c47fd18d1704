import QtQuick 2.15
import QtQuick.Controls 2.15

// Shown only when the screens package is missing from the installation.
ApplicationWindow {
    width: 1020
    height: 600
    visible: true
    title: qsTr("Mirelle")
    Label {
        objectName: "fallbackMessage"
        anchors.centerIn: parent
        width: parent.width * 0.8
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: qsTr("The screens could not be loaded. Please reinstall the program.")
    }
}
