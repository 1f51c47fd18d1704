import QtQuick 2.15
import QtTest 1.15
import "qrc:/qml"

// A fresh manager: nothing removed yet, so nothing to undo.
Item {
    id: root
    width: 1020
    height: 600

    TestCase {
        name: "EmptyStates"
        when: windowShown

        Component {
            id: mainComponent
            Main {}
        }

        function cleanupTestCase() {
            compare(qmlWarnings.count, 0, qmlWarnings.messages.join("\n"))
        }

        function test_nothingToUndoIsNoError() {
            verify(fixture.scan([2]))
            var win = createTemporaryObject(mainComponent, root)
            win.screen = "results"
            var results = findChild(win, "resultsPage")
            waitForRendering(results)
            tryVerify(function () { return !findChild(results, "undoLastToolButton").enabled })
            var dialog = findChild(win, "undoDialog")
            dialog.showHistory()
            tryVerify(function () { return dialog.opened })
            verify(findChild(dialog.contentItem, "undoEmpty").visible, dialog.problem)
            verify(!findChild(dialog.contentItem, "undoProblem").visible, findChild(dialog.contentItem, "undoProblem").text)
            verify(!findChild(dialog.contentItem, "undoLastButton").enabled)
            dialog.close()
        }

        // The removal speaks of the system's own place for removed files.
        function test_removalNamesTheTrash() {
            verify(fixture.scan([2]))
            var win = createTemporaryObject(mainComponent, root)
            fixture.setMarks(0, [false, true])
            tryCompare(dfMgr, "checkedItemCount", 1)
            win.requestRemoval()
            var dialog = findChild(win, "removalDialog")
            tryVerify(function () { return dialog.opened })
            var texts = []
            var collect = function (item) {
                if (item.text !== undefined && typeof item.text === "string")
                    texts.push(item.text)
                for (var i = 0; i < item.children.length; ++i)
                    collect(item.children[i])
            }
            collect(dialog.contentItem)
            verify(texts.join(" ").indexOf("trash") >= 0, texts.join(" | "))
            verify(texts.join(" ").toLowerCase().indexOf("recycle bin") < 0, texts.join(" | "))
            dialog.close()
        }
    }
}
