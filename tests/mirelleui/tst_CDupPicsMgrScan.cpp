#include <QtTest>

#include "CPathCodec.h"
#include "IScanEngineExtras.h"
#include "ManagerTestSupport.h"
#include "ThumbFixtures.h"

#include <QAbstractItemModel>
#include <QLoggingCategory>

#include <cstdio>
#include <unistd.h>

namespace {

// The model code's "error!" trace lines, which say a model was asked for something the
// results do not have.
QStringList s_listTraceErrors;
QtMessageHandler s_previousHandler = nullptr;

void catchTrace(QtMsgType type, const QMessageLogContext &context, const QString &strMessage)
{
    if (strMessage.startsWith(QLatin1String("error!")))
        s_listTraceErrors << strMessage;
    s_previousHandler(type, context, strMessage);
}

} // namespace

class TestDupPicsMgrScan : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    QJsonObject create(quint64 id, const QString &name, int thread = 0, int flags = 0)
    {
        return found(id, name, 0, {{"t", thread}, {"flags", flags}, {"size", 1000}});
    }
    QJsonObject join(quint64 id, quint64 group, const QString &name, int thread = 0, int sim = 90)
    {
        return found(id, name, group, {{"t", thread}, {"sim", sim}, {"size", 2000}});
    }

private slots:
    void initTestCase() { QVERIFY(m_fake.isValid()); }
    void init() { newFolder(); }

    void testEngineLoading_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("missing library") << QStringLiteral("/nonexistent/libScanEngine.so") << false;
        QTest::newRow("missing entry point") << QStringLiteral(NO_ENTRY_ENGINE_PATH) << false;
        QTest::newRow("engine") << QStringLiteral(FAKE_ENGINE_PATH) << true;
    }

    void testEngineLoading()
    {
        QFETCH(QString, library);
        QFETCH(bool, loaded);
        setScript({});
        CDupPicsMgr::setEngineLibraryOverride(library);
        {
            CDupPicsMgr mgr;
            QCOMPARE(mgr.hasEngine(), loaded);
            if (loaded)
                QCOMPARE(m_fake.calls().mid(0, 3), (QStringList{"Initialize", "SetSink", "CreateFilter"}));
            // Without an engine a scan still completes, empty.
            QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
            mgr.collectDupFiles();
            QVERIFY(completeSpy.wait(10000));
            QCOMPARE(completeSpy.first().first().toInt(), 0);
        }
        CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
    }

    void testScanFilesCreatesJoinsAndMergesFromTwoThreads()
    {
        // Given a script where two engine threads build two groups that then merge,
        // and a group whose only file is hidden
        setScript({QJsonObject{{"op", "progress"}, {"step", 1}, {"done", 0}, {"bytes", 0}},
                   QJsonObject{{"op", "finished"}, {"step", 1}, {"n", 4}},
                   create(1, "a.jpg", 0), join(2, 1, "b.jpg", 0),
                   create(3, "c.jpg", 1), join(4, 3, "d.jpg", 1, 100),
                   create(5, "hidden.jpg", 1, PhotoFlag_Hidden),
                   QJsonObject{{"op", "barrier"}},
                   QJsonObject{{"op", "merge"}, {"a", 3}, {"b", 1}}});
        QLoggingCategory::setFilterRules(QStringLiteral("mirelle.trace.debug=true"));
        s_previousHandler = qInstallMessageHandler(catchTrace);
        s_listTraceErrors.clear();
        CDupPicsMgr mgr;
        mgr.addDropPaths({QUrl::fromLocalFile(m_pDir->path())});
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);

        // When the scan runs
        mgr.collectDupFiles();
        QVERIFY(completeSpy.wait(10000));

        // Then one shown group holds all four files, in arrival order within each side;
        // groups from different engine threads arrive in either order
        QList<quint64> order = mgr.groupOrder();
        std::sort(order.begin(), order.end());
        QCOMPARE(order, (QList<quint64>{1, 5}));
        GroupSummary summary;
        QVERIFY(mgr.groupSummary(1, &summary));
        QCOMPARE(summary.photoCount, 4);
        QCOMPARE(summary.totalSize, 1000 + 2000 + 1000 + 2000);
        QVERIFY(!summary.allIdentical);
        QStringList paths;
        for (const CPhotoRecordCopy &file : summary.files)
            paths << QFileInfo(file.path()).fileName();
        QCOMPARE(paths.mid(0, 2), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()), (QSet<QString>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
        QVERIFY(!mgr.groupSummary(3, nullptr));
        QVERIFY(mgr.groupSummary(5, &summary));
        QVERIFY(!summary.shown);
        QVERIFY(mgr.hasDupPics());
        // The totals worker recounts while results still arrive: a count of one group may
        // come before the last photo has joined it.
        QTRY_COMPARE(mgr.getTotalSize(), 6000);
        QCOMPARE(mgr.getGroupCount(), 1);
        QCOMPARE(mgr.pathOfImageId(CDupPicsMgr::imageIdOfPath(photo("a.jpg"))), photo("a.jpg"));

        // And a second scan over the first one's rows: the group list never asks the results
        // for a group they no longer have
        auto *pGroups = qobject_cast<QAbstractItemModel *>(mgr.model());
        QTRY_COMPARE(pGroups->rowCount(), 1);
        QVERIFY(scanAndWait(mgr));
        QTRY_COMPARE(pGroups->rowCount(), 1);
        QCoreApplication::sendPostedEvents();
        qInstallMessageHandler(s_previousHandler);
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(s_listTraceErrors.isEmpty(), qPrintable(s_listTraceErrors.join('\n')));
    }

    void testCancelMidScanReturnsToIdleAndScansAgain()
    {
        setScript({create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}, join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        QSignalSpy cancelSpy(&mgr, &CDupPicsMgr::sigNotifyCanceled);
        mgr.collectDupFiles();
        QTRY_VERIFY(mgr.isScanning());
        // A second start while scanning is ignored.
        mgr.collectDupFiles();
        QTRY_VERIFY(m_fake.calls().contains("FindDuplicates:70"));
        mgr.cancel();
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!cancelSpy.isEmpty(), 10000);
        QVERIFY(m_fake.calls().contains("Stop"));
        QTRY_VERIFY(!mgr.isScanning());
        // The worker's end was posted before the cancel was announced.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(completeSpy.count(), 0);
        QCOMPARE(m_fake.calls().count("BeginScan"), 1);

        // A new scan after the cancel works.
        setScript({create(7, "c.jpg"), join(8, 7, "d.jpg")});
        mgr.resetModel();
        mgr.collectDupFiles();
        QVERIFY(completeSpy.wait(10000));
        QCOMPARE(mgr.groupOrder(), QList<quint64>{7});
    }

    // The engine's Stop outlasts the scan it stops, as a real engine's joining its threads
    // does: the scan's worker ends and is deleted on the GUI thread while the cancel, on the
    // operation worker, is still inside Stop.
    void testCancelOutlastingTheEndOfTheScan()
    {
        m_fake.setScript(QJsonDocument(QJsonObject{{"volumes", QJsonArray{"/"}}, {"stopMs", 300},
                                                   {"events", QJsonArray{create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}}}})
                             .toJson(QJsonDocument::Compact));
        CDupPicsMgr mgr;
        mgr.setMinimumScanMs(0);
        QSignalSpy cancelSpy(&mgr, &CDupPicsMgr::sigNotifyCanceled);
        for (int i = 1; i <= 3; ++i) {
            mgr.collectDupFiles();
            QTRY_COMPARE(m_fake.calls().count("FindDuplicates:70"), i);
            mgr.cancel();
            QTRY_COMPARE_WITH_TIMEOUT(cancelSpy.count(), i, 10000);
            QTRY_VERIFY(!mgr.isScanning());
        }
    }

    // A scanned folder deleted, or unmounted or deleted and made again (an empty folder left in
    // its place), while the scan runs: the scan names it, and fails when nothing else is left.
    void testFolderGoneDuringTheScan_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("otherGroups");
        QTest::addColumn<int>("result");
        QTest::newRow("deleted, the other folder has groups") << "delete" << true << int(CDupPicsMgr::ScanResult_Done);
        QTest::newRow("unmounted, the other folder has groups") << "unmount" << true << int(CDupPicsMgr::ScanResult_Done);
        // The file system may hand the new folder the old one's inode.
        QTest::newRow("deleted and made again") << "recreate" << true << int(CDupPicsMgr::ScanResult_Done);
        QTest::newRow("deleted, no other groups") << "delete" << false << int(CDupPicsMgr::ScanResult_SourcesVanished);
    }
    void testFolderGoneDuringTheScan()
    {
        QFETCH(QString, change);
        QFETCH(bool, otherGroups);
        QFETCH(int, result);
        const QString gone = m_pDir->filePath("one");
        const QString go = m_pDir->filePath("go");
        QJsonArray events{create(1, "one/a.jpg"), join(2, 1, "one/b.jpg")};
        if (otherGroups)
            events << create(3, "two/c.jpg") << join(4, 3, "two/d.jpg");
        photo("two/e.jpg");
        events << QJsonObject{{"op", "waitFile"}, {"path", go}};
        setScript(events);
        CDupPicsMgr mgr;
        mgr.addDropPaths({QUrl::fromLocalFile(gone), QUrl::fromLocalFile(m_pDir->filePath("two"))});
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        mgr.collectDupFiles();
        QTRY_VERIFY(m_fake.calls().contains("FindDuplicates:70"));
        if (change == "unmount")
            QVERIFY(QDir().rename(gone, gone + "-mounted") && QDir().mkdir(gone));
        else
            QVERIFY(QDir(gone).removeRecursively() && (change == "delete" || QDir().mkdir(gone)));
        photo("go");
        QVERIFY(completeSpy.wait(10000));
        QCOMPARE(completeSpy.first().first().toInt(), result);
        QCOMPARE(mgr.scanVanished(), QStringList{gone});
        QCOMPARE(mgr.groupOrder().isEmpty(), !otherGroups);
    }

    void testCallbacksForVanishedFilesAreSkipped()
    {
        QJsonObject gone = create(1, "gone.jpg");
        QFile::remove(photo("gone.jpg"));
        // A name that is not UTF-8 is there all the same, though Qt's file classes cannot see it.
        const QByteArray raw = QFile::encodeName(m_pDir->path()) + "/raw\xff.jpg";
        FILE *pFile = std::fopen(raw.constData(), "wb");
        QVERIFY(pFile);
        std::fclose(pFile);
        QJsonObject rawCreate = create(3, "raw.jpg");
        rawCreate.insert("path", dp::platform::pathFromBytes(raw));
        setScript({gone, create(2, "kept.jpg"), rawCreate});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        ::unlink(raw.constData());
        QCOMPARE(mgr.groupOrder(), (QList<quint64>{2, 3}));
    }

    void testRawSizeComesFromTheRawData_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("reported");
        QTest::addColumn<QSize>("expected");
        // The engine may report a raw's preview size; the header's first image is that preview.
        QTest::newRow("DNG with a small preview") << "camera.dng" << 1 << QSize(160, 120) << QSize(640, 480);
        QTest::newRow("turned DNG keeps the engine's orientation") << "turned.DNG" << 6 << QSize(120, 160)
                                                                   << QSize(480, 640);
        QTest::newRow("other raw suffixes too") << "camera.nef" << 1 << QSize(160, 120) << QSize(640, 480);
    }

    void testRawSizeComesFromTheRawData()
    {
        QFETCH(QString, name);
        QFETCH(int, orientation);
        QFETCH(QSize, reported);
        QFETCH(QSize, expected);
        const QString path = m_pDir->filePath(name);
        QVERIFY(ThumbFixtures::writeBytes(path, ThumbFixtures::dng(QSize(640, 480), ThumbFixtures::cornerImage(160, 120),
                                                                   orientation)));
        QJsonObject raw = create(1, name);
        raw.insert("w", reported.width());
        raw.insert("h", reported.height());
        setScript({raw});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        GroupSummary summary;
        QVERIFY(mgr.groupSummary(1, &summary));
        QCOMPARE(QSize(summary.files.at(0).record().width, summary.files.at(0).record().height), expected);
    }

    void testMergedGroupsAreIdenticalOnlyWithTheSameBytes_data()
    {
        QTest::addColumn<int>("keyOfSecondGroup");
        QTest::addColumn<bool>("identical");
        QTest::newRow("two groups of exact copies of different photos") << 3 << false;
        QTest::newRow("exact copies of one photo met late") << 1 << true;
    }

    void testMergedGroupsAreIdenticalOnlyWithTheSameBytes()
    {
        QFETCH(int, keyOfSecondGroup);
        QFETCH(bool, identical);
        QJsonObject second = create(3, "c.jpg");
        second.insert("key", keyOfSecondGroup);
        QJsonObject secondCopy = join(4, 3, "c2.jpg", 0, 100);
        secondCopy.insert("key", keyOfSecondGroup);
        QJsonObject firstCopy = join(2, 1, "a2.jpg", 0, 100);
        firstCopy.insert("key", 1);
        setScript({create(1, "a.jpg"), firstCopy, second, secondCopy, QJsonObject{{"op", "barrier"}},
                   QJsonObject{{"op", "merge"}, {"a", 3}, {"b", 1}}});
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        GroupSummary summary;
        QVERIFY(mgr.groupSummary(1, &summary));
        QCOMPARE(summary.photoCount, 4);
        QCOMPARE(summary.allIdentical, identical);
    }

    void testDestroyDuringScanStopsTheEngineFirst_data()
    {
        QTest::addColumn<bool>("cancelling");
        QTest::newRow("scanning") << false;
        // The scan screen stays up for a minimum time; closing the program must not wait for it.
        QTest::newRow("cancelling, within the scan's minimum time") << true;
    }
    void testDestroyDuringScanStopsTheEngineFirst()
    {
        QFETCH(bool, cancelling);
        setScript({create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}});
        auto pMgr = std::make_unique<CDupPicsMgr>();
        pMgr->setMinimumScanMs(24 * 3600 * 1000);
        pMgr->collectDupFiles();
        QTRY_VERIFY(m_fake.calls().contains("FindDuplicates:70"));
        if (cancelling) {
            pMgr->cancel();
            QTRY_VERIFY(m_fake.calls().contains("Stop"));
        }
        pMgr.reset();
        QVERIFY(m_fake.calls().contains("Stop"));
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
        // c, left alone by the regroup, duplicates nothing and is not shown.
        QTRY_COMPARE(mgr.getGroupCount(), 1);
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

    // A regroup asked for during a scan or during another regroup is refused; the one
    // running finishes.
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
    }
};

QTEST_MAIN(TestDupPicsMgrScan)
#include "tst_CDupPicsMgrScan.moc"
