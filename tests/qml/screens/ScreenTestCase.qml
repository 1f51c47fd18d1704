import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

// What the screens' tests share: a file fails on any QML warning, and every wait allows for
// a loaded machine.
TestCase {
    when: windowShown

    Component {
        id: mainComponent
        Main {}
    }

    function cleanupTestCase() {
        compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
    }

    // The window over the results of a fresh scan of groups of the given sizes.
    function openMain(counts) {
        verify(fixture.scan(counts))
        var win = createTemporaryObject(mainComponent, parent)
        verify(win)
        win.screen = "results"
        return win
    }

    function child(item, name) {
        var found = findChild(item, name)
        verify(found, "no object " + name)
        return found
    }

    function waitOpened(popup) {
        tryVerify(function () { return popup.opened }, 10000, popup.objectName + " opens")
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
