#include <QtTest>

#include "CFileMoveManager.h"
#include "CFileMoveTask.h"
#include "CPlatform.h"
#include "FileOpsSandbox.h"

#include <memory>

// The move worker pool on real files.
class TestFileMoveManager : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    CHookedFileOps m_fileOps;

    QString path(const QString &strRelative) const { return m_pDir->filePath(strRelative); }
    QString dest() const { return path("out") + QLatin1Char('/'); }
    QString movedTo(const QString &strSource) const
    {
        return QDir::cleanPath(dest() + QFileInfo(strSource).absoluteFilePath());
    }
    QStringList makeFiles(int iCount)
    {
        QStringList list;
        for (int i = 0; i < iCount; ++i) {
            list << path(QStringLiteral("src/d%1/f%2.jpg").arg(i % 3).arg(i));
            if (!sandbox::writeFile(list.last(), QByteArray(i + 1, 'p')))
                return {};
        }
        return list;
    }

private slots:
    void initTestCase() { dp::platform::setFileOps(&m_fileOps); }
    void cleanupTestCase() { dp::platform::setFileOps(nullptr); }
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_fileOps.beforeEachFile = nullptr;
    }
    void cleanup() { m_pDir.reset(); }

    void testMovesMoreFilesThanWorkers_data()
    {
        // 0: ten files per worker and three more.
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("failing");
        QTest::newRow("all good") << 0 << -1;
        QTest::newRow("failing file in the middle") << 0 << 12;
        QTest::newRow("more files than percents") << 450 << -1;
    }

    void testMovesMoreFilesThanWorkers()
    {
        QFETCH(int, files);
        QFETCH(int, failing);
        CFileMoveManager manager;
        const int count = files > 0 ? files : manager.workerCount() * 10 + 3;
        const QStringList list = makeFiles(count);
        QCOMPARE(list.size(), count);
        // A gone source yields no result and no progress step; the last step is then short of 100 %.
        const QString gone = path("src/gone.jpg");
        QStringList request = list;
        if (files == 0)
            request.insert(5, gone);
        std::unique_ptr<sandbox::CWriteLock> pLock;
        if (failing >= 0)
            pLock = std::make_unique<sandbox::CWriteLock>(list.at(failing));
        QSignalSpy progress(&manager, &CFileMoveManager::signalProgressInfo);

        manager.prepare(request, dest());
        manager.startWorkers();
        QTRY_VERIFY(manager.waitFinished(100));

        const QMap<QString, bool> results = manager.results();
        QCOMPARE(results.size(), count);
        QVERIFY(!results.contains(gone));
        for (int i = 0; i < count; ++i) {
            const bool bExpected = i != failing;
            QCOMPARE(results.value(list.at(i)), bExpected);
            QCOMPARE(QFileInfo::exists(list.at(i)), !bExpected);
            QCOMPARE(QFileInfo::exists(movedTo(list.at(i))), bExpected);
        }
        if (failing >= 0)
            QVERIFY(manager.failures().value(list.at(failing)).contains(QLatin1String("locked")));
        // The first result is always told, then one step per percent gained; the last
        // carries the final figures.
        const QList<QVariant> last = progress.last();
        QCOMPARE(last.at(0).toInt(), count * 100 / request.size());
        QCOMPARE(progress.count(), qMin(count, last.at(0).toInt() + 1));
        for (int i = 1; i < progress.count(); ++i)
            QVERIFY(progress.at(i).at(0).toInt() > progress.at(i - 1).at(0).toInt());
        QCOMPARE(last.at(1).toLongLong(), qlonglong(count));
        QCOMPARE(last.at(2).toLongLong(), qlonglong(failing >= 0 ? count - 1 : count));
        const CFileMoveManager::CFigures figures = manager.figures();
        QCOMPARE(figures.i64MovedCount, last.at(2).toLongLong());
        QCOMPARE(figures.i64MovedSize, last.at(3).toLongLong());
    }

    // What a stop leaves on disk is the removal service's cancel test; here, the files no
    // worker took stay queued until the next move replaces them and reuses the workers.
    void testNextMoveAfterAStop()
    {
        CFileMoveManager manager;
        m_fileOps.beforeEachFile = [](const QString &) { QThread::msleep(5); };
        manager.prepare(makeFiles(80), dest());
        manager.startWorkers();
        QTRY_VERIFY(manager.results().size() >= 3);
        manager.stopAll();
        QVERIFY(!manager.isFinished());
        QVERIFY(!CFileMoveTask::instance()->isEmpty());

        const QString next = path("src/next.jpg");
        QVERIFY(sandbox::writeFile(next, "n"));
        manager.prepare({next}, dest());
        manager.startWorkers();
        QTRY_VERIFY(manager.waitFinished(100));
        QCOMPARE(manager.results(), (QMap<QString, bool>{{next, true}}));
    }

    void testDestroyedWhileMoving()
    {
        const QStringList list = makeFiles(40);
        m_fileOps.beforeEachFile = [](const QString &) { QThread::msleep(5); };
        auto pManager = std::make_unique<CFileMoveManager>();
        pManager->prepare(list, dest());
        pManager->startWorkers();
        QTRY_VERIFY(pManager->results().size() >= 2);
        pManager.reset();
        for (const QString &source : list)
            QVERIFY(QFileInfo::exists(source) != QFileInfo::exists(movedTo(source)));
    }
};

QTEST_GUILESS_MAIN(TestFileMoveManager)
#include "tst_CFileMoveManager.moc"
