#include "CFileWalker.h"

#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>

// The engine tests walk real filesystems of every kind that can be made here; this one
// stands a tmpfs in for a network share or a pseudo filesystem, which cannot.
class TestFileWalker : public QObject
{
    Q_OBJECT
private slots:
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
        struct stat st {};
        const bool bStat = ::stat(share.constData(), &st) == 0;

        CFileWalker::COptions options;
        const auto pass = named ? CFileWalker::EnPass::Named : CFileWalker::EnPass::Quietly;
        if (byDevice)
            options.mapPassDevices.insert(uint64_t(st.st_dev), pass);
        else
            options.mapPassMountPoints.insert(share, pass);
        CFileWalker walker(options);
        std::atomic_bool bStop{false};
        const std::vector<CFoundFile> files = walker.walk({dir.path()}, 2, bStop);
        ::umount2(share.constData(), MNT_DETACH);

        QVERIFY(bWritten && bStat);
        QCOMPARE(int(files.size()), 1);
        QCOMPARE(files.front().strPath, dir.filePath("b.jpg"));
        QCOMPARE(walker.passedMounts(), named ? QStringList{dir.filePath("share")} : QStringList());
    }

    void testPassesOverTrashes()
    {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        for (const char *folder : {"data/Trash/files", ".Trash-1000/files", ".Trash/1000/files", "photos/.Trash-x"})
            QVERIFY(QDir().mkpath(dir.filePath(folder)));
        for (const char *file : {"data/Trash/files/a.jpg", ".Trash-1000/files/a.jpg", ".Trash/1000/files/a.jpg",
                                 "photos/.Trash-x/a.jpg", "photos/a.jpg"}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        std::atomic_bool bStop{false};
        QStringList listFound;
        for (const CFoundFile &file : CFileWalker({}).walk({dir.path()}, 2, bStop))
            listFound << file.strPath;
        QCOMPARE(listFound, QStringList({dir.filePath("photos/.Trash-x/a.jpg"), dir.filePath("photos/a.jpg")}));
    }
};

QTEST_GUILESS_MAIN(TestFileWalker)
#include "tst_FileWalker.moc"
