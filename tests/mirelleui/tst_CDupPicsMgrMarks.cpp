#include <QtTest>

#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "FakeEngineControl.h"
#include "ManagerTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class TestDupPicsMgrMarks : public QObject
{
    Q_OBJECT
private:
    CManagerTestEnvironment m_env;
    CFakeEngineControl m_fake;
    std::unique_ptr<QTemporaryDir> m_pDir;

    QString photo(const QString &name) { return writePhoto(m_pDir->filePath(name)); }
    QJsonObject create(quint64 id, const QString &name, double def = 6)
    {
        return {{"op", "create"}, {"id", double(id)}, {"path", photo(name)}, {"size", 1000}, {"def", def}};
    }
    QJsonObject join(quint64 id, quint64 group, const QString &name, double def = 6)
    {
        return {{"op", "join"}, {"id", double(id)}, {"group", double(group)}, {"path", photo(name)},
                {"size", 2000}, {"def", def}, {"sim", 90}};
    }
    void setScript(const QJsonArray &events, const QJsonArray &regroup = {}) { m_fake.setScript(fakeScript(events, regroup)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fake.isValid());
        CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
    }

    void testCheckedTotalsFollowAutomaticAndUserMarks()
    {
        // Given two groups: in the first the blurred copy (5 of 6) is proposed,
        // in the second two equal photos keep the first
        setScript({create(1, "a.jpg", 5), join(2, 1, "b.jpg", 6), create(3, "c.jpg"), join(4, 3, "d.jpg")});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        QSignalSpy countSpy(&mgr, &CDupPicsMgr::sigCheckedItemCountChanged);

        // When everything is marked by the rule
        mgr.doAllMark();
        QTRY_COMPARE(mgr.checkedItemCount(), 2);
        QCOMPARE(mgr.checkedFileSize(), 1000 + 2000);
        const QStringList marked = mgr.markedPaths();
        QCOMPARE(QSet<QString>(marked.begin(), marked.end()),
                 (QSet<QString>{photo("a.jpg"), photo("d.jpg")}));
        QCOMPARE(mgr.markedBytesPerDrive().value("/"), 200);
        QCOMPARE(mgr.fullyMarkedGroupCount(), 0);

        // And the user marks the kept copy of group 1 too
        mgr.taskQueue()->pushSetPhotoMark(1, photo("b.jpg"), true);
        QTRY_COMPARE(mgr.checkedItemCount(), 3);
        QCOMPARE(mgr.fullyMarkedGroupCount(), 1);

        // Then clearing one group and then all brings the totals down
        mgr.taskQueue()->pushClearGroupMarks(1);
        QTRY_COMPARE(mgr.checkedItemCount(), 1);
        QCOMPARE(mgr.checkedFileSize(), 2000);
        mgr.clearAllMark();
        QTRY_COMPARE(mgr.checkedItemCount(), 0);
        QCOMPARE(mgr.checkedFileSize(), 0);
        QVERIFY(countSpy.count() >= 4);

        // Marks on a group that no longer exists change nothing
        mgr.taskQueue()->pushSetPhotoMark(99, photo("a.jpg"), true);
        mgr.doMark(QVariant::fromValue<quint64>(99));
        QTRY_VERIFY(mgr.taskQueue()->isDrained());
        QCOMPARE(mgr.checkedItemCount(), 0);
    }

    void testRegroupRebuildsWithoutScanning()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg"), join(3, 1, "c.jpg")},
                  {create(1, "a.jpg"), join(2, 1, "b.jpg"), create(3, "c.jpg")});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        mgr.doAllMark();
        QTRY_COMPARE(mgr.checkedItemCount(), 2);

        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        QSignalSpy progressSpy(&mgr, &CDupPicsMgr::sigProcProgress);
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QCOMPARE(completeSpy.first().first().toInt(), 0);
        QCOMPARE(mgr.groupOrder(), (QList<quint64>{1, 3}));
        QCOMPARE(mgr.checkedItemCount(), 0);
        QVERIFY(m_fake.calls().contains("Regroup:70"));
        QCOMPARE(m_fake.calls().count("BeginScan"), 1);
        QCOMPARE(progressSpy.first(), (QList<QVariant>{4, 0}));
        QCOMPARE(progressSpy.last(), (QList<QVariant>{4, 100}));
        QTRY_COMPARE(mgr.getGroupCount(), 2);
    }

    void testCancelRegroupAndRegroupAgain()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg")}, {create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        QSignalSpy cancelSpy(&mgr, &CDupPicsMgr::sigCanclelRefresh);
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        QTRY_VERIFY(m_fake.calls().contains("Regroup:70"));
        mgr.cancelRefresh();
        QCOMPARE(cancelSpy.count(), 1);
        QVERIFY(m_fake.calls().contains("StopRegroup"));
        QVERIFY(!mgr.isRegrouping());

        setScript({}, {create(1, "a.jpg"), join(2, 1, "b.jpg")});
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QCOMPARE(mgr.groupOrder(), QList<quint64>{1});
    }

    void testThresholdOutsideItsRangeIsClamped_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("call");
        QTest::newRow("default") << 6 << "Regroup:70";
        QTest::newRow("negative slot") << -3 << "Regroup:100";
        QTest::newRow("beyond zero percent") << 25 << "Regroup:0";
        QTest::newRow("far beyond a byte") << -100 << "Regroup:100";
    }
    void testThresholdOutsideItsRangeIsClamped()
    {
        QFETCH(int, slot);
        QFETCH(QString, call);
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg")}, {create(1, "a.jpg"), join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        QVariantMap options = mgr.getOption();
        options["similarSlot"] = QVariantMap{{"value", slot}};
        mgr.setOption(options);
        QVERIFY(scanAndWait(mgr));
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QVERIFY2(m_fake.calls().contains(call), qPrintable(m_fake.calls().join(' ')));
        QCOMPARE(mgr.groupOrder(), QList<quint64>{1});
    }

    // A regroup asked for during a scan or during another regroup is refused; the one
    // running finishes and a later regroup works.
    void testRegroupRefusedWhileBusy()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg"), QJsonObject{{"op", "sleep"}, {"ms", 800}}},
                  {create(1, "a.jpg"), QJsonObject{{"op", "sleep"}, {"ms", 800}}, join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        QSignalSpy scanSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        mgr.collectDupFiles();
        QTRY_VERIFY(mgr.isScanning());
        mgr.refreshSimilarSlot();
        QVERIFY(scanSpy.wait(10000));
        QVERIFY(!m_fake.calls().join(' ').contains("Regroup"));

        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        // A second regroup would have been started by the call itself.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(completeSpy.count(), 1);
        QCOMPARE(m_fake.calls().count("Regroup:70"), 1);
        QCOMPARE(mgr.groupOrder(), QList<quint64>{1});

        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QCOMPARE(m_fake.calls().count("Regroup:70"), 2);
    }

    // Group 3 merges into group 1; a mark queued for the vanished group changes nothing.
    void testMarkOnAGroupAMergeRemoved()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg"), create(3, "c.jpg"), join(4, 3, "d.jpg"),
                   QJsonObject{{"op", "merge"}, {"a", 1}, {"b", 3}}});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        QTRY_COMPARE(mgr.getGroupCount(), 1);
        const quint64 iKept = mgr.groupOrder().first();
        const quint64 iGone = iKept == 1 ? 3 : 1;
        mgr.doMark(QVariant::fromValue(iGone));
        mgr.doMark(QVariant::fromValue(iKept));
        QTRY_VERIFY(mgr.taskQueue()->isDrained());
        QTRY_COMPARE(mgr.checkedItemCount(), 3);
        QVERIFY(mgr.checkedItemCount() < 4);
        QCOMPARE(mgr.fullyMarkedGroupCount(), 0);
    }

    void testFileStateReachesTheEngine()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        mgr.slotSetDelFlat(nullptr, photo("b.jpg"), 0x101);
        mgr.slotSetDelFlat(nullptr, photo("unknown.jpg"), 1);
        QCOMPARE(m_fake.calls().filter("SetFileState"), QStringList{"SetFileState:2:1"});
    }
};

QTEST_MAIN(TestDupPicsMgrMarks)
#include "tst_CDupPicsMgrMarks.moc"
