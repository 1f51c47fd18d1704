#include <QtTest>

#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "CFileStamp.h"
#include "CRemovalJournal.h"
#include "COperateTaskQueue.h"
#include "FakeEngineControl.h"
#include "CLinuxFileOps.h"
#include "ManagerTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The real file operations, with every drive reported removable when asked to, or the
// folder card/ on a memory card whose trash may be unusable.
class CRemovableFileOps : public CLinuxFileOps
{
public:
    static constexpr const char *kCard = "/media/card";

    QStringList driveKeys(const QStringList &l) const override
    {
        QStringList keys = CLinuxFileOps::driveKeys(l);
        for (int i = 0; i < l.size(); ++i) {
            if (m_bCard && l.at(i).contains(QLatin1String("/card/")))
                keys[i] = QLatin1String(kCard);
        }
        return keys;
    }
    bool isRemovable(const QString &k) const override
    {
        return m_bRemovable || (k == QLatin1String(kCard) && m_bCardRemovable) || CLinuxFileOps::isRemovable(k);
    }
    CTrashPlace trashPlace(const QString &p) const override
    {
        CTrashPlace place = IFileOps::trashPlace(p);
        if (place.strVolume == QLatin1String(kCard) && place.strProblem.isEmpty()) {
            place.strProblem = m_strCardProblem;
            place.i64Free = m_i64CardFree;
        }
        return place;
    }
    bool m_bRemovable = false;
    bool m_bCard = false;
    bool m_bCardRemovable = false;
    QString m_strCardProblem;
    qint64 m_i64CardFree = -1;
};

} // namespace

class TestDupPicsMgrDelete : public QObject
{
    Q_OBJECT
private:
    CManagerTestEnvironment m_env;
    CFakeEngineControl m_fake;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CRemovableFileOps> m_pFileOps;

    QString photo(const QString &name) { return writePhoto(m_pDir->filePath(name)); }
    // What a scan would have read of the file: its time and content key.
    QJsonObject event(const char *szOp, quint64 id, const QString &name)
    {
        const QString path = photo(name);
        quint64 iKey = 0;
        QString strError;
        if (!dp::platform::contentKeyOf(path, &iKey, &strError))
            qFatal("cannot read %s", qPrintable(path));
        return {{"op", szOp}, {"id", double(id)}, {"path", path}, {"size", 100},
                {"mtime", QString::number(dp::platform::fileStamp(path).i64ModTime)}, {"hash", QString::number(iKey)}};
    }
    QJsonObject create(quint64 id, const QString &name) { return event("create", id, name); }
    QJsonObject join(quint64 id, quint64 group, const QString &name)
    {
        QJsonObject object = event("join", id, name);
        object.insert("group", double(group));
        object.insert("sim", 90);
        return object;
    }
    // Scans one group of a, b (and c) and marks the named photos.
    void scanAndMark(CDupPicsMgr &mgr, const QStringList &marked, bool bThree = false)
    {
        QJsonArray events{create(1, "a.jpg"), join(2, 1, "b.jpg")};
        if (bThree)
            events.append(join(3, 1, "card/c.jpg"));
        m_fake.setScript(fakeScript(events));
        QVERIFY(scanAndWait(mgr));
        for (const QString &name : marked)
            mgr.taskQueue()->pushSetPhotoMark(1, photo(name), true);
        QTRY_COMPARE(mgr.checkedItemCount(), marked.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fake.isValid());
        CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
        m_pFileOps = std::make_unique<CRemovableFileOps>();
        dp::platform::setFileOps(m_pFileOps.get());
    }

    void cleanupTestCase() { dp::platform::setFileOps(nullptr); }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        // The trash and the removal journal live below HOME in test mode.
        qputenv("HOME", m_pDir->path().toUtf8());
        qputenv("XDG_DATA_HOME", m_pDir->filePath("xdg-data").toUtf8());
        m_pFileOps->m_bRemovable = false;
        m_pFileOps->m_bCard = false;
    }

    // Whatever the marks say and whatever changed on disk since the scan, a group keeps a
    // copy of its picture: the removal checks each file just before it goes.
    void testRemovalKeepsACopyOfEveryPicture_data()
    {
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("reason");
        QTest::newRow("every photo marked") << QStringList{"a.jpg", "b.jpg"} << "" << "a.jpg"
                                            << "the last copy of its group stays";
        QTest::newRow("kept copy gone") << QStringList{"b.jpg"} << "delete a" << "b.jpg" << "the kept copy is gone";
        QTest::newRow("kept copy now a link to the marked one")
            << QStringList{"b.jpg"} << "link a to b" << "b.jpg" << "the kept copy changed since the scan";
        QTest::newRow("marked one rewritten, same size and time")
            << QStringList{"b.jpg"} << "rewrite b" << "b.jpg" << "changed since the scan";
    }
    void testRemovalKeepsACopyOfEveryPicture()
    {
        QFETCH(QStringList, marked);
        QFETCH(QString, change);
        QFETCH(QString, refused);
        QFETCH(QString, reason);
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, marked);
        const QString a = m_pDir->filePath("a.jpg");
        const QString b = m_pDir->filePath("b.jpg");
        if (change == "delete a") {
            QVERIFY(QFile::remove(a));
        } else if (change == "link a to b") {
            QVERIFY(QFile::remove(a) && QFile::link(b, a));
        } else if (change == "rewrite b") {
            const QDateTime time = QFileInfo(b).lastModified();
            QFile file(b);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100, 'y'));
            QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_DelPermanentiy);
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);
        const QString path = m_pDir->filePath(refused);
        QCOMPARE(resultSpy.first().at(0).toStringList(), QStringList{path});
        QVERIFY(QFileInfo::exists(path));
        QVERIFY2(mgr.deletionService()->failureTexts().value(path).endsWith(reason),
                 qPrintable(mgr.deletionService()->failureTexts().value(path)));
        // A group left with one photo is no longer a group of duplicates.
        QCOMPARE(mgr.hasDupPics(), marked.size() == 1);
        // A refused photo stays marked, and the list of failures says why.
        QTRY_COMPARE(mgr.checkedItemCount(), 1);
        QSignalSpy messageSpy(&mgr, &CDupPicsMgr::sigShowFailedDelList);
        mgr.showFailedDelList();
        const QString message = messageSpy.value(0).value(0).toString();
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
    }

    // A marked photo gone from the disk since the scan fails with its reason and leaves the
    // results: shown on, it would stay marked and fail the same way at every removal.
    void testMarkedPhotoGoneLeavesTheResults()
    {
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, {"b.jpg", "card/c.jpg"}, true);
        const QString gone = m_pDir->filePath("card/c.jpg");
        QVERIFY(QFile::remove(gone));
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_DelPermanentiy);
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);
        QCOMPARE(resultSpy.first().at(0).toStringList(), QStringList{gone});
        QVERIFY(mgr.deletionService()->failureTexts().value(gone).endsWith("it no longer exists"));
        QTRY_COMPARE(mgr.checkedItemCount(), 0);
        QVERIFY(!mgr.hasDupPics());
    }

    void testRemovalWithoutUndoAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("go on without undo") << 0;
        QTest::newRow("stop") << 1;
    }
    void testRemovalWithoutUndoAsksFirst()
    {
        QFETCH(int, answer);
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, {"b.jpg"});
        const QString path = CRemovalJournal::defaultPath();
        QVERIFY(path.startsWith(m_pDir->path()));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile journal(path);
        QVERIFY(journal.open(QIODevice::WriteOnly));
        journal.write("not a database");
        journal.close();
        QSignalSpy askSpy(&mgr, &CDupPicsMgr::signalShowCheckJournal);
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE(askSpy.count(), 1);
        mgr.retForCheckJournal(answer);
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);
        QCOMPARE(QFile::exists(m_pDir->filePath("b.jpg")), answer != 0);
    }

    void testTrashRequestOnRemovableDriveAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("removed");
        QTest::newRow("go on: permanent deletion") << 0 << true;
        QTest::newRow("stop: nothing removed") << 1 << false;
    }

    void testTrashRequestOnRemovableDriveAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, removed);
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, {"b.jpg"});
        m_pFileOps->m_bRemovable = true;
        QSignalSpy askSpy(&mgr, &CDupPicsMgr::signalShowCheckUsb);
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE(askSpy.count(), 1);
        mgr.retForCheckUsb(answer);
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);
        QCOMPARE(QFile::exists(m_pDir->filePath("b.jpg")), !removed);
        QCOMPARE(resultSpy.first().at(1).toStringList().size(), removed ? 1 : 0);
        QCOMPARE(mgr.deleteMethod(), removed ? int(CDupPicsMgr::DupPicType_DelPermanentiy)
                                             : int(CDupPicsMgr::DupPicType_MoveToTrash));
        // Nothing went into the trash either way.
        QVERIFY(!QFile::exists(m_pDir->filePath("xdg-data/Trash/files/b.jpg")));
    }

    void testOnlyPhotosTheTrashCannotTakeAreDeleted_data()
    {
        QTest::addColumn<bool>("removable");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<qint64>("free");
        QTest::newRow("memory card without a trash") << true << QString() << qint64(-1);
        QTest::newRow("read-only card") << false << "the drive is read-only" << qint64(-1);
        QTest::newRow("card full") << false << QString() << qint64(0);
    }

    void testOnlyPhotosTheTrashCannotTakeAreDeleted()
    {
        QFETCH(bool, removable);
        QFETCH(QString, problem);
        QFETCH(qint64, free);
        // Given b.jpg on the internal disk and card/c.jpg on a card whose trash cannot take it.
        m_pFileOps->m_bCard = true;
        m_pFileOps->m_bCardRemovable = removable;
        m_pFileOps->m_strCardProblem = problem;
        m_pFileOps->m_i64CardFree = free;
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, {"b.jpg", "card/c.jpg"}, true);
        QSignalSpy usbSpy(&mgr, &CDupPicsMgr::signalShowCheckUsb);
        QSignalSpy trashSpy(&mgr, &CDupPicsMgr::signalShowCheckTrash);
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);

        // When the user goes on after the question, which names the card and its one photo.
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE(usbSpy.count() + trashSpy.count(), 1);
        QCOMPARE(usbSpy.count(), removable ? 1 : 0);
        const QVariantList refusals = mgr.deletionService()->trashRefusals();
        QCOMPARE(refusals.size(), 1);
        QCOMPARE(refusals.first().toMap().value("volume").toString(), QString::fromLatin1(CRemovableFileOps::kCard));
        QCOMPARE(refusals.first().toMap().value("photos").toInt(), 1);
        mgr.retForCheckTrash(0);
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);

        // Then only the card's photo is gone for good; the internal one waits in the trash.
        QCOMPARE(resultSpy.first().at(1).toStringList().size(), 2);
        QVERIFY(!QFile::exists(m_pDir->filePath("card/c.jpg")));
        const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/";
        QVERIFY(trash.startsWith(m_pDir->path()));
        QVERIFY(!QFile::exists(trash + "c.jpg"));
        QVERIFY(QFile::exists(trash + "b.jpg"));
        QCOMPARE(mgr.deleteMethod(), int(CDupPicsMgr::DupPicType_MoveToTrash));
    }

    void testClosingDuringAQuestionDoesNotHang()
    {
        auto pMgr = std::make_unique<CDupPicsMgr>();
        scanAndMark(*pMgr, {"b.jpg"});
        m_pFileOps->m_bRemovable = true;
        QSignalSpy askSpy(pMgr.get(), &CDupPicsMgr::signalShowCheckUsb);
        pMgr->doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE(askSpy.count(), 1);
        QElapsedTimer clock;
        clock.start();
        pMgr.reset();
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(QFile::exists(m_pDir->filePath("b.jpg")));
    }

    void testSingleRequestsAndTheirGuard()
    {
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, {});
        QSignalSpy singleSpy(&mgr, &CDupPicsMgr::sigDelSingleDupImgResult);
        mgr.doDelSingleDupPic(QVariant::fromValue<quint64>(1), QString(), 0);
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!singleSpy.isEmpty(), 10000);
        QCOMPARE(singleSpy.first(), (QList<QVariant>{QString(), false}));
        // The same request within 2000 ms of the last call: ignored, so nothing is queued.
        mgr.doDelSingleDupPic(QVariant::fromValue<quint64>(1), QString(), 0);
        QVERIFY(mgr.taskQueue()->isEmpty());
    }

    void testFailureMessages_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("message");
        // Without a translation loaded the plural stays in its source form.
        QTest::newRow("none") << 0 << 0 << QString();
        QTest::newRow("one deleted") << 0 << 1 << "1 photo(s) could not be deleted:\n/x/f0.jpg";
        QTest::newRow("three moved") << 2 << 3 << "3 photo(s) could not be removed:\n/x/f0.jpg\n/x/f1.jpg\n/x/f2.jpg";
    }

    void testFailureMessages()
    {
        QFETCH(int, method);
        QFETCH(int, count);
        QFETCH(QString, message);
        CDupPicsMgr mgr;
        QStringList failed;
        for (int i = 0; i < count; ++i)
            failed << QStringLiteral("/x/f%1.jpg").arg(i);
        QCOMPARE(mgr.failedDelMessage(failed, method), message);
    }
};

QTEST_MAIN(TestDupPicsMgrDelete)
#include "tst_CDupPicsMgrDelete.moc"
