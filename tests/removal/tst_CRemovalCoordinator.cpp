#include <QtTest>

#include "CFileDelImplement.h"
#include "CRemovalCoordinator.h"

namespace {

CRemovalGroup group(const QStringList &listRemoved, const QStringList &listKept)
{
    CRemovalGroup result;
    for (const QString &path : listRemoved)
        result.listRemoved << CScannedFile{path, 1, 1, 1};
    for (const QString &path : listKept)
        result.listKept << CScannedFile{path, 1, 1, 1};
    return result;
}

} // namespace

Q_DECLARE_METATYPE(QList<CRemovalGroup>)

// The rules every removal request shares, the window's and the command line's.
class TestRemovalCoordinator : public QObject
{
    Q_OBJECT
private slots:
    void testPlanKeepsLastCopyOfEveryGroup_data()
    {
        QTest::addColumn<QList<CRemovalGroup>>("groups");
        QTest::addColumn<QStringList>("planned");
        QTest::addColumn<QStringList>("keptLast");
        QTest::newRow("one of two asked for")
            << QList<CRemovalGroup>{group({"/p/b"}, {"/p/a"})} << QStringList{"/p/b"} << QStringList{};
        QTest::newRow("every photo asked for: the first stays")
            << QList<CRemovalGroup>{group({"/p/a", "/p/b", "/p/c"}, {})} << QStringList{"/p/b", "/p/c"}
            << QStringList{"/p/a"};
        QTest::newRow("a single photo asked for, alone in its group")
            << QList<CRemovalGroup>{group({"/p/a"}, {})} << QStringList{} << QStringList{"/p/a"};
        QTest::newRow("groups apart, nothing asked of the second")
            << QList<CRemovalGroup>{group({"/p/a", "/p/b"}, {}), group({}, {"/q/a"}), group({"/r/b"}, {"/r/a"})}
            << QStringList{"/p/b", "/r/b"} << QStringList{"/p/a"};
    }
    void testPlanKeepsLastCopyOfEveryGroup()
    {
        QFETCH(QList<CRemovalGroup>, groups);
        QFETCH(QStringList, planned);
        QFETCH(QStringList, keptLast);
        const CRemovalPlan plan = CRemovalCoordinator::plan(groups);
        QCOMPARE(plan.listPaths, planned);
        QCOMPARE(plan.listKeptLast, keptLast);
        // The guard knows exactly the planned files: anything else it refuses.
        for (const QString &path : planned)
            QVERIFY(plan.pGuard->contains(path));
        for (const QString &path : keptLast)
            QVERIFY(!plan.pGuard->contains(path));
    }

    void testTrashQuestionStartsFiguresAfresh_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::newRow("photos marked") << true;
        QTest::newRow("nothing marked") << false;
    }
    void testTrashQuestionStartsFiguresAfresh()
    {
        QFETCH(bool, marked);
        CRemovalCoordinator coordinator;
        CFileDelImplement *pService = coordinator.deletionService();
        pService->driveCheck().setCheckedInfo(1, {}, marked ? QStringList{"/home/a.jpg"} : QStringList{});
        pService->tryDelCancle();
        QSignalSpy changed(pService, &CFileDelImplement::sigProgressChanged);
        (void)coordinator.checkTrashSufficient();
        QCOMPARE(changed.count(), marked ? 1 : 0);
        QCOMPARE(pService->isCancelled(), !marked);
    }

    void testRequestsThatQueueNothing()
    {
        CRemovalCoordinator coordinator;
        QSignalSpy methodSpy(&coordinator, &CRemovalCoordinator::sigDeleteMethodChanged);
        // A move needs a folder; the method is taken all the same, as the screens show it.
        QVERIFY(!coordinator.requestMarked(CRemovalCoordinator::Method_Move, QString()));
        QCOMPARE(coordinator.deleteMethod(), int(CRemovalCoordinator::Method_Move));
        QVERIFY(coordinator.requestMarked(CRemovalCoordinator::Method_Delete, QString()));
        // The same photo again within 2000 ms is a double click: ignored, method unchanged.
        // Another photo is a request of its own.
        QVERIFY(coordinator.requestSingle(CRemovalCoordinator::Method_Trash, QStringLiteral("/a.jpg")));
        QVERIFY(!coordinator.requestSingle(CRemovalCoordinator::Method_Delete, QStringLiteral("/a.jpg")));
        QCOMPARE(coordinator.deleteMethod(), int(CRemovalCoordinator::Method_Trash));
        QVERIFY(coordinator.requestSingle(CRemovalCoordinator::Method_Trash, QStringLiteral("/b.jpg")));
        QCOMPARE(methodSpy.count(), 4);
    }
};

QTEST_GUILESS_MAIN(TestRemovalCoordinator)
#include "tst_CRemovalCoordinator.moc"
