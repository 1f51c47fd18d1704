#include <QtTest>

#include "CFileDelImplement.h"
#include "CPlatform.h"
#include "CProgressThrottle.h"
#include "FileOpsSandbox.h"

#include <memory>

namespace {

enum EnMethod { Delete = 0, Trash = 1, Move = 2, MoveOneByOne = 3 };

struct CCase
{
    QString strKind;
    QString strPath;
    QByteArray content;
    QString strExpect; // per EnMethod: 'T' true, 'F' false, '-' no entry
};

QMap<QString, bool> runMethod(CFileDelImplement &service, int iMethod, QStringList list, QString strDest)
{
    service.setTotalFiles(list.size());
    switch (iMethod) {
    case Delete:
        return service.DeleFiles(list);
    case Trash:
        return service.DeleFileToTrash(list);
    default:
        return service.MoveFileToFloder(list, strDest);
    }
}

QString movedTo(const QString &strDest, const QString &strSource)
{
    return QDir::cleanPath(strDest + QLatin1Char('/') + QFileInfo(strSource).absoluteFilePath());
}

} // namespace

// The deletion service on real files in a temporary directory.
class TestFileDelImplement : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    QTemporaryDir m_home;
    CHookedFileOps m_fileOps;

    QString path(const QString &strRelative) const { return m_pDir->filePath(strRelative); }
    QString trashFiles() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash/files");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(sandbox::isolateHome(m_home.path()));
        dp::platform::setFileOps(&m_fileOps);
    }
    void cleanupTestCase() { dp::platform::setFileOps(nullptr); }
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_fileOps.beforeEachFile = nullptr;
        m_fileOps.bRemovable = false;
    }
    void cleanup() { m_pDir.reset(); }

    void testMixedBatchHandlesEachFileOnItsOwn_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("delete") << int(Delete);
        QTest::newRow("trash") << int(Trash);
        QTest::newRow("move, worker pool") << int(Move);
        QTest::newRow("move, one by one to a removable drive") << int(MoveOneByOne);
    }

    void testMixedBatchHandlesEachFileOnItsOwn()
    {
        QFETCH(int, column);
        // Given a batch where good files sit between files that must not or cannot go.
        const QString dest = path("out");
        QVector<CCase> cases = {
            {"good", path("src/a.jpg"), "aaa", "TTTT"},
            {"vanished", path("src/gone.jpg"), QByteArray(), "TT--"},
            {"unicode", path("src/Ünïcødé 写真.jpg"), "uuu", "TTTT"},
            {"locked", path("src/locked.jpg"), "lll", "FFFF"},
            {"folder", path("src/album"), QByteArray(), "FFFF"},
            {"clash", path("src/clash.jpg"), "ccc", "TTFF"},
            {"good2", path("src/sub/b.jpg"), "bbb", "TTTT"},
            // The moves mirror the source folders: one name from two folders takes two places.
            {"same name elsewhere", path("src/sub/a.jpg"), "aa2", "TTTT"},
            // One by one, a target path of 261 characters or more is skipped.
            {"long target", path("src/" + QString(200, QLatin1Char('L')) + "/long.jpg"), "long", "TTT-"},
        };
        for (const CCase &c : qAsConst(cases)) {
            if (c.strKind == QLatin1String("folder"))
                QVERIFY(sandbox::writeFile(c.strPath + "/inner.jpg", "iii"));
            else if (!c.content.isEmpty())
                QVERIFY(sandbox::writeFile(c.strPath, c.content));
        }
        QVERIFY(sandbox::writeFile(movedTo(dest, path("src/clash.jpg")), "older"));
        const sandbox::CWriteLock lock(path("src/locked.jpg"));
        QVERIFY(lock.isOk());
        // Read-only cases: root ignores permission bits, so we use the immutable attribute.
        QVERIFY(sandbox::writeFile(path("src/ro.jpg"), "rrr"));
        QVERIFY(sandbox::writeFile(path("src/frozen/in.jpg"), "fff"));
        const sandbox::CImmutable roFile(path("src/ro.jpg"));
        const sandbox::CImmutable roFolder(path("src/frozen"));
        if (roFile.isOk() && roFolder.isOk()) {
            cases.insert(2, {"read-only file", path("src/ro.jpg"), "rrr", "FFFF"});
            cases.insert(3, {"file in read-only folder", path("src/frozen/in.jpg"), "fff", "FFFF"});
        } else {
            qWarning("No immutable attribute on this filesystem: read-only cases left out");
        }
        QStringList list;
        for (const CCase &c : qAsConst(cases))
            list << c.strPath;

        // When the batch runs.
        const int method = qMin(column, int(Move));
        m_fileOps.bRemovable = column == MoveOneByOne;
        CFileDelImplement service;
        service.setOpenWindowPause(false);
        const QMap<QString, bool> result = runMethod(service, method, list, dest);

        // Then every file has the outcome of its kind, and the disk agrees with the map.
        const QMap<QString, QString> failures = service.failureTexts();
        int succeeded = 0;
        qint64 i64Bytes = 0;
        for (const CCase &c : qAsConst(cases)) {
            const QChar expect = c.strExpect.at(column);
            const QByteArray what = c.strKind.toUtf8();
            if (expect == QLatin1Char('-')) {
                QVERIFY2(!result.contains(c.strPath), what);
                QCOMPARE(QFileInfo::exists(c.strPath), !c.content.isEmpty());
                QVERIFY2(!QFileInfo::exists(movedTo(dest, c.strPath)), what);
                continue;
            }
            QVERIFY2(result.contains(c.strPath), what);
            QCOMPARE(result.value(c.strPath), expect == QLatin1Char('T'));
            if (expect == QLatin1Char('F')) {
                QVERIFY2(QFileInfo::exists(c.strPath), what);
                if (!c.content.isEmpty())
                    QCOMPARE(sandbox::readFile(c.strPath), c.content);
                QVERIFY2(failures.value(c.strPath).contains(QDir::toNativeSeparators(c.strPath)), what);
                continue;
            }
            ++succeeded;
            i64Bytes += c.content.size();
            QVERIFY2(!QFileInfo::exists(c.strPath), what);
            if (method == Move && !c.content.isEmpty())
                QCOMPARE(sandbox::readFile(movedTo(dest, c.strPath)), c.content);
            if (method == Trash && !c.content.isEmpty())
                QVERIFY2(QFileInfo::exists(trashFiles() + QLatin1Char('/') + QFileInfo(c.strPath).fileName()), what);
        }
        // The figures count only what went.
        QCOMPARE(int(service.filecount()), succeeded);
        QCOMPARE(qint64(service.filesize()), i64Bytes);
        QCOMPARE(service.progress(), 100);
        QVERIFY(failures.value(path("src/locked.jpg")).contains(QLatin1String("locked")));
        QVERIFY(failures.value(path("src/album")).contains(QLatin1String("folder")));
        QCOMPARE(sandbox::readFile(path("src/album/inner.jpg")), QByteArray("iii"));
        if (column == MoveOneByOne)
            QVERIFY(failures.value(cases.last().strPath).contains(QLatin1String("too long")));
        if (method == Move) {
            QCOMPARE(sandbox::readFile(movedTo(dest, path("src/clash.jpg"))), QByteArray("older"));
            QVERIFY(failures.value(path("src/clash.jpg")).contains(QLatin1String("already exists")));
        }
    }

    void testMoveIntoFolderInsideSourceFolderIsRefused()
    {
        QVERIFY(sandbox::writeFile(path("album/x.jpg"), "x"));
        CFileDelImplement service;
        service.setOpenWindowPause(false);
        QStringList list{path("album")};
        QString dest = path("album/out");
        const QMap<QString, bool> result = service.MoveFileToFloder(list, dest);
        QCOMPARE(result.value(path("album"), true), false);
        QVERIFY(service.failureTexts().value(path("album")).contains(QLatin1String("inside")));
        QCOMPARE(sandbox::readFile(path("album/x.jpg")), QByteArray("x"));
    }

    void testCancelStopsBetweenFiles_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("removable");
        QTest::newRow("delete") << int(Delete) << false;
        QTest::newRow("trash") << int(Trash) << false;
        QTest::newRow("move, one by one") << int(Move) << true;
        QTest::newRow("move, worker pool") << int(Move) << false;
    }

    void testCancelStopsBetweenFiles()
    {
        QFETCH(int, method);
        QFETCH(bool, removable);
        constexpr int kFiles = 60;
        QStringList list;
        for (int i = 0; i < kFiles; ++i) {
            list << path(QStringLiteral("src/f%1.jpg").arg(i));
            QVERIFY(sandbox::writeFile(list.last(), QByteArray::number(i)));
        }
        const QString dest = path("out");
        CFileDelImplement service;
        service.setOpenWindowPause(false);
        m_fileOps.bRemovable = removable;
        QAtomicInt started;
        // The user cancels while the third file is being handled; in the pool the other
        // workers are slowed so that the cancel lands well before the end.
        m_fileOps.beforeEachFile = [&](const QString &) {
            if (started.fetchAndAddOrdered(1) == 2)
                service.tryDelCancle();
            if (service.isCancelled())
                QThread::msleep(20);
        };

        const QMap<QString, bool> result = runMethod(service, method, list, dest);

        if (method != Move || removable)
            QCOMPARE(result.size(), 3);
        QVERIFY(result.size() >= 3 && result.size() < kFiles);
        for (int i = 0; i < kFiles; ++i) {
            const QString &source = list.at(i);
            const bool bAtSource = QFileInfo::exists(source);
            const bool bAtTarget = QFileInfo::exists(movedTo(dest, source));
            if (result.value(source, false)) {
                QVERIFY(!bAtSource);
                QCOMPARE(bAtTarget, method == Move);
                if (bAtTarget)
                    QCOMPARE(sandbox::readFile(movedTo(dest, source)), QByteArray::number(i));
            } else {
                QVERIFY(!result.contains(source));
                QVERIFY(bAtSource && !bAtTarget);
            }
        }
    }

    void testEmptyRequestsShowNothing()
    {
        CFileDelImplement service;
        service.setOpenWindowPause(false);
        QSignalSpy changed(&service, &CFileDelImplement::sigProgressChanged);
        QSignalSpy shown(&service, &CFileDelImplement::sigShowProcessWind);
        QStringList empty;
        QString dest = path("out");

        QVERIFY(service.DeleFiles(empty).isEmpty());
        QCOMPARE(changed.count(), 1);
        QVERIFY(service.DeleFileToTrash(empty).isEmpty());
        QCOMPARE(changed.count(), 1);
        QVERIFY(service.MoveFileToFloder(empty, dest).isEmpty());
        QCOMPARE(service.progress(), 100);
        QCOMPARE(shown.count(), 0);
    }

    void testProgressThrottleRule_data()
    {
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<QList<bool>>("due");
        QTest::newRow("within the first second") << QList<qint64>{10, 500, 1000} << QList<bool>{false, false, false};
        QTest::newRow("just past a second") << QList<qint64>{1001} << QList<bool>{true};
        QTest::newRow("interval restarts at an announcement")
            << QList<qint64>{1200, 2100, 2201, 2202} << QList<bool>{true, false, true, false};
        QTest::newRow("a long file announces once") << QList<qint64>{5000, 5001} << QList<bool>{true, false};
    }

    void testProgressThrottleRule()
    {
        QFETCH(QList<qint64>, times);
        QFETCH(QList<bool>, due);
        CProgressThrottle throttle;
        throttle.start(0);
        for (int i = 0; i < times.size(); ++i)
            QCOMPARE(throttle.isDue(times.at(i)), due.at(i));
        QCOMPARE(CProgressThrottle::percentAfter(1, 3), 66);
        QCOMPARE(CProgressThrottle::percentAfter(2, 3), 100);
    }
};

QTEST_GUILESS_MAIN(TestFileDelImplement)
#include "tst_CFileDelImplement.moc"
