import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

// What the screens' tests share: a file fails on any QML warning, and every wait allows for
// a loaded machine.
TestCase {
    id: screenTest
    // Holds the items under test, unlike a plain test case.
    visible: true
    width: 1020
    height: 600
    when: windowShown

    // The program's window.
    property Component mainWindow: Component { Main {} }

    function cleanupTestCase() {
        compare(qmlWarnings.messages, [])
    }

    // The window over the results of a fresh scan of groups of the given sizes.
    function openMain(counts) {
        verify(fixture.scan(counts))
        var win = createTemporaryObject(mainWindow, screenTest)
        verify(win)
        win.screen = "results"
        return win
    }

    function child(item, name) {
        var found = findChild(item, name)
        verify(found, "no object " + name)
        return found
    }

    function waitOpened(popup, when) {
        tryVerify(function () { return popup.opened }, 10000, popup.objectName + " opens " + (when || ""))
        waitForRendering(popup.contentItem)
        return popup
    }

    function waitClosed(popup) {
        tryVerify(function () { return !popup.visible }, 10000, popup.objectName + " closes")
    }

    function waitFor(condition, message) {
        tryVerify(condition, 10000, message)
    }
}
