#include <QtTest>

#include "CFileDelImplement.h"
#include "CFileStamp.h"
#include "CRemovalJournal.h"
#include "COperateTaskQueue.h"
#include "CLinuxFileOps.h"
#include "ManagerTestSupport.h"

#include <atomic>
#include <functional>

#include <unistd.h>

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
    bool removeFile(const QString &p, QString *e) override
    {
        if (m_onRemove)
            m_onRemove();
        return CLinuxFileOps::removeFile(p, e);
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
    std::function<void()> m_onRemove;
};

} // namespace

class TestDupPicsMgrDelete : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    std::unique_ptr<CRemovableFileOps> m_pFileOps;

    // What a scan would have read of the file: its time and content key.
    QJsonObject scanned(quint64 id, const QString &name, quint64 group = 0)
    {
        const QString path = photo(name);
        quint64 iKey = 0;
        QString strError;
        if (!dp::platform::contentKeyOf(path, &iKey, &strError))
            qFatal("cannot read %s", qPrintable(path));
        return found(id, name, group, {{"mtime", QString::number(dp::platform::fileStamp(path).i64ModTime)},
                                       {"hash", QString::number(iKey)}});
    }
    // Scans one group of a, b (and c) and marks the named photos; bRecords: the engine
    // records what it read.
    void scanAndMark(CDupPicsMgr &mgr, const QStringList &marked, bool bThree = false, bool bRecords = true)
    {
        QJsonArray events{scanned(1, "a.jpg"), scanned(2, "b.jpg", 1)};
        if (!bRecords)
            events = {found(1, "a.jpg"), found(2, "b.jpg", 1)};
        if (bThree)
            events.append(scanned(3, "card/c.jpg", 1));
        setScript(events);
        mgr.addDropPaths({QUrl::fromLocalFile(m_pDir->path())});
        QVERIFY(scanAndWait(mgr));
        for (const QString &name : marked)
            mgr.taskQueue()->pushSetPhotoMark(1, photo(name), true);
        QTRY_COMPARE(mgr.checkedItemCount(), marked.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fake.isValid());
        m_pFileOps = std::make_unique<CRemovableFileOps>();
        dp::platform::setFileOps(m_pFileOps.get());
    }

    void cleanupTestCase() { dp::platform::setFileOps(nullptr); }

    void init()
    {
        newFolder(true);
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
        QTest::newRow("marked one rewritten, same size and time")
            << QStringList{"b.jpg"} << "rewrite b" << "b.jpg" << "changed since the scan";
        QTest::newRow("moved through a link into the scanned folder")
            << QStringList{"b.jpg"} << "move via link" << "b.jpg" << "choose a folder outside it";
        QTest::newRow("kept one swapped, no content records")
            << QStringList{"b.jpg"} << "swap a, no records" << "b.jpg" << "and it differs from this file";
        QTest::newRow("kept one made a hard link of the marked one")
            << QStringList{"b.jpg"} << "link a to b" << "b.jpg" << "the kept copy is this same file";
        // Shown on, a photo gone from the disk would stay marked and fail the same way at
        // every removal: it leaves the results.
        QTest::newRow("marked photo gone since the scan")
            << QStringList{"b.jpg", "card/c.jpg"} << "c gone" << "card/c.jpg" << "it no longer exists";
    }
    void testRemovalKeepsACopyOfEveryPicture()
    {
        QFETCH(QStringList, marked);
        QFETCH(QString, change);
        QFETCH(QString, refused);
        QFETCH(QString, reason);
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, marked, marked.contains("card/c.jpg"), change != "swap a, no records");
        const QString a = m_pDir->filePath("a.jpg");
        const QString b = m_pDir->filePath("b.jpg");
        if (change == "swap a, no records") {
            QFile file(a);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100, 'y'));
        }
        if (change == "link a to b")
            QVERIFY(QFile::remove(a) && ::link(QFile::encodeName(b).constData(), QFile::encodeName(a).constData()) == 0);
        if (change == "c gone")
            QVERIFY(QFile::remove(m_pDir->filePath("card/c.jpg")));
        if (change == "rewrite b") {
            const QDateTime time = QFileInfo(b).lastModified();
            QFile file(b);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100, 'y'));
            QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QTemporaryDir outside;
        const QString link = outside.filePath("to-photos");
        if (change == "move via link")
            QVERIFY(QDir().mkpath(m_pDir->filePath("moved")) && QFile::link(m_pDir->filePath("moved"), link));
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        if (change == "move via link")
            mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToFolder, link);
        else
            mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_DelPermanentiy);
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);
        const QString path = m_pDir->filePath(refused);
        QCOMPARE(resultSpy.first().at(0).toStringList(), QStringList{path});
        QCOMPARE(QFileInfo::exists(path), change != "c gone");
        QVERIFY2(mgr.deletionService()->failureTexts().value(path).endsWith(reason),
                 qPrintable(mgr.deletionService()->failureTexts().value(path)));
        // A group left with one photo is no longer a group of duplicates.
        QCOMPARE(mgr.hasDupPics(), marked.size() == 1);
        // A refused photo stays marked, and the list of failures says why.
        QTRY_COMPARE(mgr.checkedItemCount(), change == "c gone" ? 0 : 1);
        QSignalSpy messageSpy(&mgr, &CDupPicsMgr::sigShowFailedDelList);
        mgr.showFailedDelList();
        const QString message = messageSpy.value(0).value(0).toString();
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
    }

    // The questions asked before a removal: the answer decides what goes, and where. The
    // card's rows have b.jpg on the internal disk and card/c.jpg on a card whose trash cannot
    // take it.
    void testQuestionsBeforeARemoval_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("trashed");
        QTest::addColumn<QStringList>("deleted");
        QTest::addColumn<int>("method");
        const int trash = CDupPicsMgr::DupPicType_MoveToTrash;
        QTest::newRow("no undo: go on") << "bad journal" << 0 << QStringList{"b.jpg"} << QStringList{} << trash;
        QTest::newRow("no undo: stop") << "bad journal" << 1 << QStringList{} << QStringList{} << trash;
        QTest::newRow("removable drive: go on, deleted for good")
            << "removable" << 0 << QStringList{} << QStringList{"b.jpg"} << int(CDupPicsMgr::DupPicType_DelPermanentiy);
        QTest::newRow("removable drive: stop") << "removable" << 1 << QStringList{} << QStringList{} << trash;
        for (const char *card : {"memory card without a trash", "read-only card", "card full"})
            QTest::newRow(card) << card << 0 << QStringList{"b.jpg"} << QStringList{"card/c.jpg"} << trash;
    }

    void testQuestionsBeforeARemoval()
    {
        QFETCH(QString, setup);
        QFETCH(int, answer);
        QFETCH(QStringList, trashed);
        QFETCH(QStringList, deleted);
        QFETCH(int, method);
        const bool bCard = setup.contains("card");
        m_pFileOps->m_bCard = bCard;
        m_pFileOps->m_bCardRemovable = setup == "memory card without a trash";
        m_pFileOps->m_strCardProblem = setup == "read-only card" ? "the drive is read-only" : "";
        m_pFileOps->m_i64CardFree = setup == "card full" ? 0 : -1;
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        scanAndMark(mgr, bCard ? QStringList{"b.jpg", "card/c.jpg"} : QStringList{"b.jpg"}, bCard);
        m_pFileOps->m_bRemovable = setup == "removable";
        if (setup == "bad journal") {
            const QString path = CRemovalJournal::defaultPath();
            QVERIFY(path.startsWith(m_pDir->path()));
            writePhoto(path);
        }
        QSignalSpy journalSpy(&mgr, &CDupPicsMgr::signalShowCheckJournal);
        QSignalSpy usbSpy(&mgr, &CDupPicsMgr::signalShowCheckUsb);
        QSignalSpy trashSpy(&mgr, &CDupPicsMgr::signalShowCheckTrash);
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);

        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE(journalSpy.count() + usbSpy.count() + trashSpy.count(), 1);
        QCOMPARE(usbSpy.count(), setup == "removable" || setup == "memory card without a trash" ? 1 : 0);
        if (bCard) {
            // The question names the card and its one photo.
            const QVariantList refusals = mgr.deletionService()->trashRefusals();
            QCOMPARE(refusals.size(), 1);
            QCOMPARE(refusals.first().toMap().value("volume").toString(), QString::fromLatin1(CRemovableFileOps::kCard));
            QCOMPARE(refusals.first().toMap().value("photos").toInt(), 1);
            mgr.retForCheckTrash(answer);
        } else if (setup == "removable") {
            mgr.retForCheckUsb(answer);
        } else {
            mgr.retForCheckJournal(answer);
        }
        // Emitted on the operation worker: it may arrive before a wait would start.
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 10000);

        // Only what the trash cannot take is deleted for good; the rest waits in the trash.
        QCOMPARE(resultSpy.first().at(1).toStringList().size(), trashed.size() + deleted.size());
        const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/";
        QVERIFY(trash.startsWith(m_pDir->path()));
        for (const QString &name : {QStringLiteral("b.jpg"), QStringLiteral("card/c.jpg")}) {
            const bool bGone = trashed.contains(name) || deleted.contains(name);
            QCOMPARE(QFile::exists(m_pDir->filePath(name)), !bGone && (bCard || name == "b.jpg"));
            QCOMPARE(QFile::exists(trash + QFileInfo(name).fileName()), trashed.contains(name));
        }
        QCOMPARE(mgr.deleteMethod(), method);
    }

    void testClosingDuringARemovalStopsBetweenTwoFiles()
    {
        auto pMgr = std::make_unique<CDupPicsMgr>();
        CFileDelImplement *pService = pMgr->deletionService();
        pService->setOpenWindowPause(false);
        scanAndMark(*pMgr, {"b.jpg", "card/c.jpg"}, true);
        // The first file waits for the close to stop the removal; a removal that does not
        // stop goes on after a while and takes both.
        std::atomic_bool bInside{false};
        m_pFileOps->m_onRemove = [&bInside, pService] {
            if (bInside.exchange(true))
                return;
            QElapsedTimer clock;
            clock.start();
            while (!pService->isCancelled() && clock.elapsed() < 10000)
                QThread::msleep(5);
        };
        pMgr->doDelDupPicByMark(CDupPicsMgr::DupPicType_DelPermanentiy);
        QTRY_VERIFY_WITH_TIMEOUT(bInside, 10000);
        pMgr.reset();
        m_pFileOps->m_onRemove = nullptr;
        QCOMPARE(int(QFile::exists(m_pDir->filePath("b.jpg"))) + int(QFile::exists(m_pDir->filePath("card/c.jpg"))), 1);
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
};

QTEST_MAIN(TestDupPicsMgrDelete)
#include "tst_CDupPicsMgrDelete.moc"
