#include <QtTest>

#include "CFileDelImplement.h"
#include "CPathCodec.h"
#include "CPlatform.h"
#include "CRemovalJournal.h"
#include "CRemovalUndo.h"
#include "FileOpsSandbox.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

// Undo of finished removals, through the journal, with the real freedesktop trash of a
// temporary HOME: what comes back, what is refused and why, and journals we must not trust.
class TestRemovalUndo : public QObject
{
    Q_OBJECT
private:
    enum EnMethod { Trash = 1, Move = 2 };

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_pDir;
    CHookedFileOps m_ops;

    QString path(const QString &strRelative) const { return m_pDir->filePath(strRelative); }
    QString journalPath() const { return path("journal/removals.sqlite"); }
    static QString trashDir()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
    }

    std::unique_ptr<CFileDelImplement> makeService() const
    {
        auto pService = std::make_unique<CFileDelImplement>();
        pService->setOpenWindowPause(false);
        pService->setJournalPath(journalPath());
        return pService;
    }

    QMap<QString, bool> remove(CFileDelImplement &service, int iMethod, QStringList listFiles)
    {
        QString folder = path("moved");
        return iMethod == Trash ? service.DeleFileToTrash(listFiles) : service.MoveFileToFloder(listFiles, folder);
    }

    // Files a.jpg, album/b.jpg and again/a.jpg, whose name the trash already holds once it has a.jpg.
    QStringList makePhotos()
    {
        QStringList list;
        for (const QString &name : {QStringLiteral("a.jpg"), QStringLiteral("album/b.jpg"), QStringLiteral("again/a.jpg")}) {
            const QString file = path("photos/" + name);
            [&] { QVERIFY(sandbox::writeFile(file, "photo " + name.toUtf8())); }();
            list << file;
        }
        return list;
    }

    // A request recorded as a removal records it before its first file goes; a place only
    // for a single move.
    bool beginRequest(CRemovalJournal::EnMethod method, const QStringList &listFiles, const QString &strPlace = {}) const
    {
        QList<CRemovalJournal::CEntry> listEntries;
        for (const QString &file : listFiles) {
            CRemovalJournal::CEntry entry;
            entry.strOriginal = file;
            entry.strPlace = strPlace;
            entry.i64Size = QFileInfo(file).size();
            entry.i64MTimeMs = QFileInfo(file).lastModified().toMSecsSinceEpoch();
            listEntries << entry;
        }
        CRemovalJournal journal(journalPath());
        QString strError;
        return journal.open(true, &strError) && journal.beginRequest(method, &listEntries, &strError) > 0;
    }

    static QString failureOf(const CRemovalUndo::COutcome &outcome, const QString &strPath)
    {
        for (const auto &failed : outcome.listFailed) {
            if (failed.first == strPath)
                return failed.second;
        }
        return QString();
    }

    // Names and contents as the system has them, bytes that are not UTF-8 included: Qt's
    // file classes cannot spell them all.
    static QList<QByteArray> rawEntries(const QByteArray &folder)
    {
        QList<QByteArray> list;
        std::error_code error;
        for (const auto &entry : std::filesystem::directory_iterator(folder.toStdString(), error))
            list << QByteArray::fromStdString(entry.path().filename().native());
        return list;
    }
    static QByteArray rawRead(const QByteArray &path)
    {
        std::ifstream in(path.toStdString(), std::ios::binary);
        return in ? QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {})) : QByteArray("<missing>");
    }
    static void removeTree(const QString &strPath)
    {
        std::error_code error;
        std::filesystem::remove_all(QFile::encodeName(strPath).toStdString(), error);
    }

    static int trashRecordCount()
    {
        return QDir(trashDir() + QStringLiteral("/info")).entryList(QDir::Files | QDir::Hidden).size();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(sandbox::isolateHome(m_home.path()));
        QVERIFY(CRemovalJournal::defaultPath().startsWith(m_home.path()));
    }
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>(m_home.filePath("workXXXXXX"));
        QVERIFY(m_pDir->isValid());
        QDir(trashDir()).removeRecursively();
        m_ops.bRemovable = false;
        dp::platform::setFileOps(&m_ops);
    }
    void cleanup()
    {
        dp::platform::setFileOps(nullptr);
        removeTree(m_pDir->path());
        removeTree(trashDir());
        m_pDir.reset();
    }

    void testUndoBringsEveryFileBack_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("removable");
        QTest::newRow("trash") << int(Trash) << false;
        QTest::newRow("move, worker pool") << int(Move) << false;
        QTest::newRow("move, one by one to a removable drive") << int(Move) << true;
    }

    void testUndoBringsEveryFileBack()
    {
        QFETCH(int, method);
        QFETCH(bool, removable);
        m_ops.bRemovable = removable;
        const QStringList listFiles = makePhotos();
        QMap<QString, QByteArray> mapContent;
        for (const QString &file : listFiles)
            mapContent.insert(file, sandbox::readFile(file));

        const auto pService = makeService();
        const QMap<QString, bool> mapResult = remove(*pService, method, listFiles);
        QCOMPARE(mapResult.size(), 3);
        for (const QString &file : listFiles)
            QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        QVERIFY(pService->lastRequestId() > 0);
        QVERIFY(pService->journalError().isEmpty());

        const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
        QVERIFY2(outcome.strError.isEmpty(), qPrintable(outcome.strError));
        QCOMPARE(outcome.i64Request, pService->lastRequestId());
        QVERIFY(outcome.listFailed.isEmpty());
        QCOMPARE(outcome.listRestored.size(), 3);
        for (const QString &file : listFiles)
            QCOMPARE(sandbox::readFile(file), mapContent.value(file));
        QCOMPARE(trashRecordCount(), 0);
        QVERIFY(QDir(path("moved")).entryList(QDir::Files).isEmpty());

        // Undone once is undone: a second undo finds nothing and moves nothing.
        const CRemovalUndo::COutcome again = CRemovalUndo(journalPath()).undo(outcome.i64Request);
        QVERIFY(!again.strError.isEmpty());
        QVERIFY(again.listRestored.isEmpty());
    }

    void testNamesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("plain.jpg");
        QTest::newRow("space") << QByteArray("with space.jpg");
        QTest::newRow("percent") << QByteArray("100%25 real %.jpg");
        QTest::newRow("line feed") << QByteArray("two\nlines.jpg");
        QTest::newRow("not UTF-8") << QByteArray("caf\xE9 \xFF.jpg");
        QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".jpg";
    }

    void testNamesComeBackByteForByte()
    {
        QFETCH(QByteArray, name);
        // Given a photo whose name is bytes Qt's file classes cannot all spell.
        const QByteArray folder = QFile::encodeName(path("photos"));
        QVERIFY(QDir().mkpath(path("photos")));
        const QByteArray file = folder + '/' + name;
        const QByteArray content = "photo " + name;
        QVERIFY(std::ofstream(file.toStdString(), std::ios::binary) << content.toStdString());
        QStringList listFiles{dp::platform::pathFromBytes(file)};

        // When it goes to the trash...
        const auto pService = makeService();
        QCOMPARE(pService->DeleFileToTrash(listFiles).value(listFiles.first()), true);
        QVERIFY(rawEntries(folder).isEmpty());

        // ...its record follows the trash standard: one escaped line per key.
        const QByteArray trash = QFile::encodeName(trashDir());
        const QList<QByteArray> infos = rawEntries(trash + "/info");
        QCOMPARE(infos.size(), 1);
        const QByteArray record = rawRead(trash + "/info/" + infos.first());
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^\\[Trash Info\\]\nPath=(/(?:[A-Za-z0-9_.!~*'()/-]|%[0-9A-F]{2})+)\n"
                                              "DeletionDate=(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)\n$"))
                .match(QString::fromLatin1(record));
        QVERIFY2(match.hasMatch(), record.constData());
        QCOMPARE(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()), file);
        QVERIFY(QDateTime::fromString(match.captured(2), Qt::ISODate).isValid());
        const QByteArray trashName = infos.first().chopped(int(qstrlen(".trashinfo")));
        QCOMPARE(rawRead(trash + "/files/" + trashName), content);

        // Then undo puts back the very same name and content, and drops the record.
        const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
        QVERIFY2(outcome.listFailed.isEmpty(), qPrintable(failureOf(outcome, listFiles.first())));
        QCOMPARE(outcome.listRestored, listFiles);
        QCOMPARE(rawEntries(folder), QList<QByteArray>{name});
        QCOMPARE(rawRead(file), content);
        QVERIFY(rawEntries(trash + "/info").isEmpty());
    }

    void testMoveKilledMidCopyLeavesNoPartialFile_data()
    {
        QTest::addColumn<bool>("undo");
        QTest::addColumn<bool>("copyInPlace");
        QTest::newRow("then undone") << true << false;
        QTest::newRow("then moved again") << false << false;
        QTest::newRow("copy already in place, then undone") << true << true;
    }

    void testMoveKilledMidCopyLeavesNoPartialFile()
    {
        QFETCH(bool, undo);
        QFETCH(bool, copyInPlace);
        // Given a photo and a move target on another filesystem.
        QTemporaryDir other(QStringLiteral("/dev/shm/mirelle-test-XXXXXX"));
        struct stat here = {};
        struct stat there = {};
        if (!other.isValid() || ::stat(QFile::encodeName(path("")).constData(), &here) != 0
            || ::stat(QFile::encodeName(other.path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
            QSKIP("needs /dev/shm on a filesystem of its own");
        const QString source = path("photos/big.jpg");
        QByteArray content(4 << 20, 'p');
        content[3 << 20] = 'q';
        QVERIFY(sandbox::writeFile(source, content));
        const QString target = other.filePath("big.jpg");
        // The journal holds the move before it starts, as a removal writes it.
        QVERIFY(beginRequest(CRemovalJournal::EnMethod::Move, {source}, target));
        QString strError;

        if (copyInPlace) {
            // Killed after the copy took its name, before the original was removed.
            QVERIFY(sandbox::writeFile(target, content));
            QFile copy(target);
            QVERIFY(copy.open(QIODevice::ReadWrite)
                    && copy.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime));
            copy.close();
            QVERIFY(CRemovalUndo(journalPath()).undo().listFailed.isEmpty());
            QCOMPARE(QDir(other.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
            QCOMPARE(sandbox::readFile(source), content);
            return;
        }
        // When the moving process dies after the first megabyte of its copy.
        const pid_t child = ::fork();
        if (child == 0) {
            const struct rlimit limit = {1 << 20, 1 << 20};
            const struct rlimit noCore = {0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::signal(SIGXFSZ, SIG_DFL);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            CLinuxFileOps ops;
            QString strChildError;
            ::_exit(ops.moveFile(source, target, &strChildError) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        // Then undo or a second move leaves exactly one complete copy and nothing partial.
        if (undo) {
            const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
            QVERIFY(outcome.listFailed.isEmpty());
        } else {
            QVERIFY2(m_ops.moveFile(source, target, &strError), qPrintable(strError));
        }
        QCOMPARE(QDir(other.path()).entryList(QDir::Files | QDir::Hidden),
                 undo ? QStringList() : QStringList{"big.jpg"});
        QCOMPARE(sandbox::readFile(undo ? source : target), content);
        QCOMPARE(QFileInfo::exists(source), undo);
    }

    void testRefusesFileByFile_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        for (int method : {int(Trash), int(Move)}) {
            const QString name = method == Trash ? QStringLiteral("trash") : QStringLiteral("move");
            QTest::newRow(qPrintable(name + ", place taken")) << method << "taken" << "takes its place";
            QTest::newRow(qPrintable(name + ", file changed")) << method << "changed" << "changed since";
            QTest::newRow(qPrintable(name + ", file gone")) << method << "gone"
                                                            << (method == Trash ? "no longer in the trash" : "no longer at");
            QTest::newRow(qPrintable(name + ", its folder now a link")) << method << "linked" << "a link took its place";
            // The drive it went to is not plugged in: nothing was emptied or cleared.
            QTest::newRow(qPrintable(name + ", where it went is away")) << method << "away" << "is its drive connected?";
        }
    }

    void testRefusesFileByFile()
    {
        QFETCH(int, method);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        const QStringList listFiles = makePhotos();
        const QString victim = listFiles.at(1);
        const auto pService = makeService();
        remove(*pService, method, listFiles);

        QString place;
        if (method == Trash) {
            place = m_ops.findInTrash(victim);
            QVERIFY(place.startsWith(trashDir() + "/files/"));
        } else {
            place = path("moved") + m_ops.mirrorFolder(QFileInfo(victim).path()).prepend('/') + "/b.jpg";
            QVERIFY(QFileInfo::exists(place));
        }
        if (fault == "taken") {
            QVERIFY(sandbox::writeFile(victim, "a new photo saved under the old name"));
        } else if (fault == "changed") {
            QVERIFY(sandbox::writeFile(place, "edited while it was away, and longer"));
        } else if (fault == "linked") {
            QVERIFY(QDir(path("photos/album")).removeRecursively());
            QVERIFY(QDir().mkpath(path("elsewhere")));
            QVERIFY(QFile::link(path("elsewhere"), path("photos/album")));
        } else if (fault == "away") {
            const QString folder = method == Trash ? trashDir() : path("moved");
            QVERIFY(QDir().rename(folder, folder + "-away"));
        } else {
            // The user emptied the trash, or cleared the folder.
            QVERIFY(QFile::remove(place));
        }

        const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
        QVERIFY2(outcome.strError.isEmpty(), qPrintable(outcome.strError));
        // Away, the folder takes every file with it.
        const int iRefused = fault == "away" ? 3 : 1;
        QCOMPARE(outcome.listFailed.size(), iRefused);
        QVERIFY2(failureOf(outcome, victim).contains(reason), qPrintable(failureOf(outcome, victim)));
        QCOMPARE(outcome.listRestored.size(), 3 - iRefused);
        QVERIFY(!outcome.listRestored.contains(victim));
        QCOMPARE(sandbox::readFile(listFiles.at(0)), QByteArray(fault == "away" ? "<missing>" : "photo a.jpg"));
        // Nothing refused is overwritten or dropped.
        if (fault == "taken")
            QCOMPARE(sandbox::readFile(victim), QByteArray("a new photo saved under the old name"));
        if (fault != "gone" && fault != "away")
            QVERIFY(QFileInfo::exists(place));
        QVERIFY(QDir(path("elsewhere")).isEmpty());

        // The refused file stays on the list: once its place is free it comes back.
        if (fault == "taken") {
            QVERIFY(QFile::remove(victim));
            const CRemovalUndo::COutcome retry = CRemovalUndo(journalPath()).undo();
            QCOMPARE(retry.listRestored, QStringList{victim});
        }
    }

    void testBadJournalDisablesUndoAndLosesNothing_data()
    {
        QTest::addColumn<QByteArray>("fixture");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << "No removals have been recorded";
        QTest::newRow("corrupt bytes") << QByteArray("SQLite format 3\0garbage garbage", 32) + QByteArray(4000, '\x7f')
                                       << "damaged";
        QTest::newRow("another program's database") << QByteArray("foreign") << "not a removal journal";
        QTest::newRow("another version") << QByteArray("version 99") << "another version";
    }

    void testBadJournalDisablesUndoAndLosesNothing()
    {
        QFETCH(QByteArray, fixture);
        QFETCH(QString, message);
        QDir().mkpath(path("journal"));
        if (fixture == "foreign" || fixture == "version 99") {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fixture");
            db.setDatabaseName(journalPath());
            QVERIFY(db.open());
            QSqlQuery query(db);
            if (fixture == "foreign") {
                QVERIFY(query.exec("CREATE TABLE notes (text TEXT)"));
            } else {
                QVERIFY(query.exec("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT)"));
                QVERIFY(query.exec("INSERT INTO meta VALUES ('format', 'mirelle-removals'), ('version', '99')"));
            }
            query.finish();
            db.close();
        } else if (!fixture.isEmpty()) {
            QVERIFY(sandbox::writeFile(journalPath(), fixture));
        }
        QSqlDatabase::removeDatabase("fixture");
        const QByteArray before = sandbox::readFile(journalPath());

        const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
        QVERIFY2(outcome.strError.contains(message), qPrintable(outcome.strError));
        QVERIFY(outcome.listRestored.isEmpty());
        QVERIFY(outcome.listFailed.isEmpty());
        const auto pService = makeService();
        QVERIFY(pService->removalHistory().isEmpty());
        // No journal yet is an empty history, not a problem to show.
        QVERIFY(fixture.isEmpty() ? pService->journalProblem().isEmpty() : pService->journalProblem().contains(message));

        // A removal still goes to the trash, where the desktop can restore it; a journal we
        // cannot read is left exactly as it was, and a missing one is made.
        QStringList listFiles = makePhotos();
        const QMap<QString, bool> mapResult = pService->DeleFileToTrash(listFiles);
        QCOMPARE(mapResult.values(), QList<bool>({true, true, true}));
        QCOMPARE(trashRecordCount(), 3);
        if (fixture.isEmpty()) {
            QVERIFY(pService->journalError().isEmpty());
            QCOMPARE(CRemovalUndo(journalPath()).undo().listRestored.size(), 3);
        } else {
            QVERIFY(!pService->journalError().isEmpty());
            QCOMPARE(sandbox::readFile(journalPath()), before);
        }
    }

    void testJournalOutlivesTheProgram()
    {
        const QStringList listFiles = makePhotos();
        qint64 i64First = -1;
        qint64 i64Second = -1;
        {
            auto pService = makeService();
            QStringList first{listFiles.at(0)};
            pService->DeleFileToTrash(first);
            i64First = pService->lastRequestId();
            QStringList second = listFiles.mid(1);
            QString folder = path("moved");
            pService->MoveFileToFloder(second, folder);
            i64Second = pService->lastRequestId();
            // A permanent deletion has nothing to undo: it is never journalled.
            QStringList gone{path("gone.jpg")};
            QVERIFY(sandbox::writeFile(gone.first(), "gone"));
            pService->DeleFiles(gone);
            QCOMPARE(pService->lastRequestId(), i64Second);
        }
        // A new start: the history comes from the file alone.
        const auto pService = makeService();
        const QVariantList history = pService->removalHistory();
        QVERIFY(pService->journalProblem().isEmpty());
        QCOMPARE(history.size(), 2);
        QCOMPARE(history.at(0).toMap().value("id").toLongLong(), i64Second);
        QCOMPARE(history.at(0).toMap().value("method").toInt(), int(Move));
        QCOMPARE(history.at(0).toMap().value("restorable").toInt(), 2);
        QCOMPARE(history.at(1).toMap().value("id").toLongLong(), i64First);

        // "Undo last removal" takes the newest first, then the one before.
        QSignalSpy spy(pService.get(), &CFileDelImplement::sigUndoFinished);
        for (const auto &expected : {qMakePair(i64Second, listFiles.mid(1)), qMakePair(i64First, listFiles.mid(0, 1))}) {
            pService->undoRemoval();
            QVERIFY(spy.wait());
            const QVariantMap result = spy.takeFirst().at(0).toMap();
            QCOMPARE(result.value("requestId").toLongLong(), expected.first);
            QCOMPARE(result.value("restored").toStringList(), expected.second);
        }
        QCOMPARE(pService->removalHistory().at(0).toMap().value("restorable").toInt(), 0);
        QCOMPARE(spy.count(), 0);
    }

    // Requests that did not end as one call: a removal made in steps, an undo that died
    // before it recorded its outcome (the next finds the files back where they belong),
    // and a program that died between trashing a file and confirming it (the record has
    // no trash place, so undo looks the file up by its trash record's Path=).
    void testUnfinishedRequestsComeBackWhole_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("restored");
        QTest::newRow("removed in steps") << "steps" << 3;
        QTest::newRow("undo cut short") << "cut short" << 3;
        QTest::newRow("trashed, never confirmed") << "unconfirmed" << 2;
    }

    void testUnfinishedRequestsComeBackWhole()
    {
        QFETCH(QString, how);
        QFETCH(int, restored);
        QStringList listFiles = makePhotos();
        const auto pService = makeService();
        QString strError;
        if (how == "steps") {
            pService->setContinueRequest(true);
            for (const QString &file : listFiles) {
                QStringList one{file};
                pService->DeleFileToTrash(one);
            }
        } else if (how == "cut short") {
            pService->DeleFileToTrash(listFiles);
            QVERIFY(m_ops.restoreFromTrash(m_ops.findInTrash(listFiles.at(0)), listFiles.at(0), &strError));
        } else {
            // The first two went; the crash came before the third.
            QVERIFY(beginRequest(CRemovalJournal::EnMethod::Trash, listFiles));
            QVERIFY(m_ops.moveToTrash(listFiles.at(0), &strError));
            QVERIFY(m_ops.moveToTrash(listFiles.at(1), &strError));
        }

        const CRemovalUndo::COutcome outcome = CRemovalUndo(journalPath()).undo();
        QVERIFY2(outcome.listFailed.isEmpty(), qPrintable(outcome.listFailed.value(0).second));
        QCOMPARE(outcome.listRestored, listFiles.mid(0, restored));
        for (const QString &file : listFiles)
            QVERIFY(QFileInfo::exists(file));
        QCOMPARE(trashRecordCount(), 0);
        const QVariantList history = pService->removalHistory();
        QCOMPARE(history.size(), 1);
        QCOMPARE(history.at(0).toMap().value("restorable").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRemovalUndo)
#include "tst_RemovalUndo.moc"
