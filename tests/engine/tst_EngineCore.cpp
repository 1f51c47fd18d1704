// Parts of the engine driven directly: its thumbnail store, and its walk over filesystems
// that cannot be made here but a tmpfs stands in for (a network share, a pseudo filesystem).
#include "CFileWalker.h"
#include "CScanFiles.h"
#include "CScanThumbs.h"

#include <QtTest>

#include <sys/mount.h>
#include <thread>

// The modification time as the file walker gives it (FILETIME).
static uint64_t modTime(const QString &strPath)
{
    return dp::platform::statPath(QFile::encodeName(strPath)).i64ModTime;
}

class TestEngineCore : public QObject
{
    Q_OBJECT
private slots:
    void testStore_data()
    {
        QTest::addColumn<quint64>("capacity");
        QTest::addColumn<QList<int>>("adds");      // length of each add for a.jpg (> 0) or b.jpg (< 0), filled by its index
        QTest::addColumn<QList<int>>("expected");  // found length and fill of a.jpg, then of b.jpg
        QTest::newRow("replaced by a later add") << quint64(1000) << QList<int>{100, -50, 60} << QList<int>{60, 2, 50, 1};
        QTest::newRow("beyond the capacity") << quint64(149) << QList<int>{100, -50} << QList<int>{100, 0, 0, 0};
        QTest::newRow("up to the capacity") << quint64(150) << QList<int>{100, -50} << QList<int>{100, 0, 50, 1};
    }

    void testStore()
    {
        QFETCH(quint64, capacity);
        QFETCH(QList<int>, adds);
        QFETCH(QList<int>, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList files{dir.filePath("a.jpg"), dir.filePath("b.jpg")};
        for (const QString &file : files) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("photo bytes");
        }
        {
            CScanThumbs store(dir.filePath("cache"), capacity);
            for (int i = 0; i < adds.size(); ++i) {
                const QString &file = files[adds[i] > 0 ? 0 : 1];
                store.add(file, uint64_t(QFileInfo(file).size()), modTime(file), QByteArray(std::abs(adds[i]), char(i)));
            }
            for (int which = 0; which < 2; ++which) {
                const int length = expected[2 * which];
                QByteArray buffer(length, '\x7f');
                QCOMPARE(store.find(files[which], reinterpret_cast<uint8_t *>(buffer.data()), uint32_t(length)), uint32_t(length));
                QCOMPARE(buffer, QByteArray(length, char(expected[2 * which + 1])));
            }
            // A buffer one byte short gets the length and not a byte written.
            QByteArray buffer(expected[0], '\x5a');
            QCOMPARE(store.find(files[0], reinterpret_cast<uint8_t *>(buffer.data()), uint32_t(expected[0] - 1)),
                     uint32_t(expected[0]));
            QCOMPARE(buffer, QByteArray(expected[0], '\x5a'));
            // A file rewritten since, to the same size, has none.
            QFile rewritten(files[0]);
            QVERIFY(rewritten.open(QIODevice::ReadWrite));
            QVERIFY(rewritten.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
            rewritten.close();
            QCOMPARE(store.find(files[0], nullptr, 0), uint32_t(0));
        }
        // Nothing is left behind in the folder, crash or not: the pack is unlinked when opened.
        QCOMPARE(QDir(dir.filePath("cache")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void testConcurrentAddsAndFinds()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath("photo.jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const uint64_t time = modTime(file.fileName());
        // Every thread adds the same path again and again with bytes of its own: a
        // reader must see one whole thumbnail of one writer, never a mix.
        CScanThumbs store(dir.filePath("cache"));
        std::atomic_bool bDone{false};
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t) {
            writers.emplace_back([&, t] {
                for (int i = 0; i < 300; ++i)
                    store.add(file.fileName(), 0, time, QByteArray(1000 + t, char('a' + t)));
            });
        }
        int iMixed = 0, iFound = 0;
        std::thread reader([&] {
            QByteArray buffer(2000, 0);
            while (!bDone) {
                const uint32_t n = store.find(file.fileName(), reinterpret_cast<uint8_t *>(buffer.data()), 2000);
                if (n == 0)
                    continue;
                ++iFound;
                const char expected = char('a' + int(n) - 1000);
                if (buffer.left(int(n)) != QByteArray(int(n), expected))
                    ++iMixed;
            }
        });
        for (std::thread &t : writers)
            t.join();
        bDone = true;
        reader.join();
        QCOMPARE(iMixed, 0);
        QVERIFY(store.find(file.fileName(), nullptr, 0) >= 1000);
        QCOMPARE(store.packBytes(), uint64_t(4 * 300 * 1000 + 300 * (0 + 1 + 2 + 3)));
    }

    void testPassesOverMountsItIsTold_data()
    {
        QTest::addColumn<bool>("byDevice");  // else by mount point
        QTest::addColumn<bool>("named");
        QTest::newRow("network share, met by device") << true << true;
        QTest::newRow("network share, met by mount point") << false << true;
        QTest::newRow("pseudo filesystem, quietly") << true << false;
    }

    void testPassesOverMountsItIsTold()
    {
        QFETCH(bool, byDevice);
        QFETCH(bool, named);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("share")));
        const QByteArray share = QFile::encodeName(dir.filePath("share"));
        if (::mount("mirelle-test", share.constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("cannot mount a tmpfs here (needs root)");
        QFile inside(dir.filePath("share/a.jpg"));
        QFile beside(dir.filePath("b.jpg"));
        const bool bWritten = inside.open(QIODevice::WriteOnly) && beside.open(QIODevice::WriteOnly);
        inside.close();
        beside.close();
        const dp::platform::CPathStat st = dp::platform::statPath(share);

        CFileWalker::COptions options;
        const auto pass = named ? CFileWalker::EnPass::Named : CFileWalker::EnPass::Quietly;
        if (byDevice)
            options.mapPassDevices.insert(st.iDevice, pass);
        else
            options.mapPassMountPoints.insert(share, pass);
        CFileWalker walker(options);
        std::atomic_bool bStop{false};
        const std::vector<CFoundFile> files = walker.walk({dir.path()}, 2, bStop);
        ::umount2(share.constData(), MNT_DETACH);

        QVERIFY(bWritten && st.bExists);
        QCOMPARE(int(files.size()), 1);
        QCOMPARE(files.front().strPath, dir.filePath("b.jpg"));
        QCOMPARE(walker.passedMounts(), named ? QStringList{dir.filePath("share")} : QStringList());
    }

    void testPassesOverTrashes()
    {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        for (const char *folder : {"data/Trash/files", ".Trash-1000/files", ".Trash/1000/files", "photos/.Trash-x",
                                   ".Trashes/501", "$Recycle.Bin/S-1-5-21-1004", ".snapshots/42/snapshot",
                                   "timeshift/snapshots/2026-01-01/localhost", "photos/snapshots", ".cache/viewer"})
            QVERIFY(QDir().mkpath(dir.filePath(folder)));
        for (const char *file : {"data/Trash/files/a.jpg", ".Trash-1000/files/a.jpg", ".Trash/1000/files/a.jpg",
                                 "photos/.Trash-x/a.jpg", "photos/a.jpg", ".Trashes/501/a.jpg",
                                 "$Recycle.Bin/S-1-5-21-1004/$RA1B2C3.jpg", ".snapshots/42/snapshot/a.jpg",
                                 "timeshift/snapshots/2026-01-01/localhost/a.jpg", "photos/snapshots/a.jpg",
                                 ".cache/viewer/a.jpg"}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        std::atomic_bool bStop{false};
        QStringList listFound;
        for (const CFoundFile &file : CFileWalker({}).walk({dir.path()}, 2, bStop))
            listFound << file.strPath;
        QCOMPARE(listFound, QStringList({dir.filePath("photos/.Trash-x/a.jpg"), dir.filePath("photos/a.jpg"),
                                         dir.filePath("photos/snapshots/a.jpg")}));
    }
};

QTEST_GUILESS_MAIN(TestEngineCore)
#include "tst_EngineCore.moc"
