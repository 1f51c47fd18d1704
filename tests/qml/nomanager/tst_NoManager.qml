import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"
import "../screens"

// Without a scan engine the program publishes only "apploader": the screens must load and
// every action must do nothing quietly.
ScreenTestCase {
    id: root
    name: "NoManager"

    function test_screensLoadAndActionsAreQuiet() {
        compare(typeof dfMgr, "undefined")
        var win = createTemporaryObject(mainWindow, root)
        verify(win)
        verify(!win.mgr)
        win.startScan(Helpers.makeOptions(true, 100, 0, 70))
        win.requestRemoval()
        win.removeOne(1000, "C:/p/a.jpg")
        win.openPreview(1000, 0)
        compare(win.screen, "start")
        verify(child(win.contentItem, "noEngineBanner").visible)
        var screens = ["start", "progress", "results", "preview"]
        for (var i = 0; i < screens.length; ++i) {
            win.screen = screens[i]
            waitForRendering(win.contentItem)
        }
        apploader.sigShowWindow()
        verify(win.visible)
    }
}
