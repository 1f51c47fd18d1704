#include <QtTest>

#include "CLinuxFileOps.h"
#include "CMemoryRegistry.h"
#include "CPlatform.h"
#include "FileOpsSandbox.h"

#include <sys/stat.h>

#include <memory>

// The Linux file calls for real: moves across filesystems, the trash record, sysfs and volumes.
class TestLinuxFileOps : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    QTemporaryDir m_home;
    CLinuxFileOps m_ops;

    QString path(const QString &strRelative) const { return m_pDir->filePath(strRelative); }

    // A second filesystem below the temporary directory; the test is skipped without one.
    std::unique_ptr<sandbox::CTmpfs> mountTmpfs(const QByteArray &options)
    {
        auto pTmpfs = std::make_unique<sandbox::CTmpfs>(path("mnt"), options);
        return pTmpfs->isOk() ? std::move(pTmpfs) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(sandbox::isolateHome(m_home.path()));
    }
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }
    void cleanup()
    {
        dp::platform::setVolumes(nullptr);
        dp::platform::setRegistry(nullptr);
        m_pDir.reset();
    }

    void testMoveAcrossFilesystems_data()
    {
        QTest::addColumn<QString>("situation");
        // Empty where the move succeeds.
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk to tmpfs") << "to tmpfs" << "";
        QTest::newRow("tmpfs to disk") << "from tmpfs" << "";
        QTest::newRow("destination full") << "full" << "No space left";
        QTest::newRow("name taken on the other drive") << "clash" << "already exists";
        QTest::newRow("source on a read-only drive") << "read-only" << "cannot be removed";
    }

    void testMoveAcrossFilesystems()
    {
        QFETCH(QString, situation);
        QFETCH(QString, reason);
        const auto pTmpfs = mountTmpfs(situation == "full" ? "size=1m" : "size=8m");
        if (!pTmpfs)
            QSKIP("cannot mount a tmpfs here (needs root)");
        const bool bFromTmpfs = situation == "from tmpfs" || situation == "read-only";
        const QString source = bFromTmpfs ? path("mnt/a.jpg") : path("disk/a.jpg");
        const QString target = bFromTmpfs ? path("disk/moved/a.jpg") : path("mnt/a.jpg");
        QDir().mkpath(QFileInfo(target).path());
        QByteArray content(3 * 1024 * 1024 + 17, 'x');
        content[12345] = 'y';
        QVERIFY(sandbox::writeFile(source, content));
        QVERIFY(::chmod(QFile::encodeName(source).constData(), 0640) == 0);
        const QDateTime mtime = QDateTime::currentDateTime().addDays(-400);
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(mtime, QFileDevice::FileModificationTime));
        file.close();
        if (situation == "clash")
            QVERIFY(sandbox::writeFile(target, "theirs"));
        if (situation == "read-only")
            QVERIFY(pTmpfs->remountReadOnly());

        QString strError;
        QCOMPARE(m_ops.moveFile(source, target, &strError), reason.isEmpty());

        // The photo is whole in exactly one place; a failed move leaves the target as it was.
        QVERIFY2(strError.contains(reason), qPrintable(strError));
        QCOMPARE(sandbox::readFile(reason.isEmpty() ? target : source), content);
        QCOMPARE(sandbox::readFile(reason.isEmpty() ? source : target),
                 QByteArray(situation == "clash" ? "theirs" : "<missing>"));
        if (reason.isEmpty()) {
            struct stat st = {};
            QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
            QCOMPARE(int(st.st_mode & 07777), 0640);
            QCOMPARE(QFileInfo(target).lastModified(), mtime);
        }
        if (situation == "read-only") {
            QVERIFY(!m_ops.removeFile(source, &strError));
            QVERIFY(!m_ops.moveToTrash(source, &strError));
            QCOMPARE(sandbox::readFile(source), content);
        }
    }

    void testMoveIntoMissingFolderSaysSo()
    {
        QVERIFY(sandbox::writeFile(path("a.jpg"), "a"));
        QString strError;
        QVERIFY(!m_ops.moveFile(path("a.jpg"), path("nowhere/a.jpg"), &strError));
        QCOMPARE(strError, QStringLiteral("the destination folder does not exist"));
        QCOMPARE(sandbox::readFile(path("a.jpg")), QByteArray("a"));
    }

    // A drive's trash stays on that drive; one without room for a trash folder says so, not
    // that we may not make one.
    void testTrashOnAnotherVolume_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("room") << false;
        QTest::newRow("no room for a trash folder") << true;
    }

    void testTrashOnAnotherVolume()
    {
        QFETCH(bool, full);
        const auto pTmpfs = mountTmpfs(full ? "size=1m,nr_inodes=4" : "size=1m");
        if (!pTmpfs)
            QSKIP("cannot mount a tmpfs here (needs root)");
        QVERIFY(sandbox::writeFile(path("mnt/x.jpg"), "x"));
        for (int i = 0; full && i < 10 && sandbox::writeFile(path("mnt/filler%1").arg(i), ""); ++i) {
        }
        QString strError;
        QCOMPARE(m_ops.moveToTrash(path("mnt/x.jpg"), &strError), !full);
        const QString volumeTrash = path("mnt/.Trash-%1").arg(::getuid());
        QCOMPARE(sandbox::readFile(full ? path("mnt/x.jpg") : volumeTrash + "/files/x.jpg"), QByteArray("x"));
        if (full)
            QVERIFY2(strError.contains("No space left"), qPrintable(strError));
        else
            QVERIFY(QFileInfo::exists(volumeTrash + "/info/x.jpg.trashinfo"));
    }

    void testRemovableDeviceFromSysfs_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("removable");
        QTest::newRow("partition of a USB stick") << "/dev/sdb1" << true;
        QTest::newRow("whole USB stick") << "/dev/sdb" << true;
        QTest::newRow("partition of a fixed disk") << "/dev/vda1" << false;
        QTest::newRow("mapped volume on the stick") << "/dev/dm-0" << true;
        QTest::newRow("unknown device") << "/dev/sdz9" << false;
        QTest::newRow("no device file") << "tmpfs" << false;
    }

    void testRemovableDeviceFromSysfs()
    {
        QFETCH(QString, device);
        QFETCH(bool, removable);
        QVERIFY(sandbox::makeFakeSysfs(path("sys")));
        const CLinuxFileOps ops(path("sys"));
        QCOMPARE(ops.isRemovableDevice(device), removable);
    }

    void testDriveKeysAreMountPoints()
    {
        CFakeVolumes volumes;
        volumes.list = {{"/", "/dev/vda1", "ext4"}, {"/media/usb", "/dev/sdb1", "vfat"}};
        dp::platform::setVolumes(&volumes);
        QCOMPARE(m_ops.driveKeys({"/media/usb/DCIM/a.jpg", "/media/usb2/b.jpg", "/home/me/c.jpg", "/media/usb"}),
                 (QStringList{"/media/usb", "/", "/", "/media/usb"}));
    }

    void testTrashCapacityFromRegistryOrDefault()
    {
        CFakeVolumes volumes;
        volumes.list = {{"/", "/dev/vda1", "ext4"}, {path("no-such-mount"), "/dev/sdc1", "vfat"}};
        dp::platform::setVolumes(&volumes);
        CMemoryRegistry registry;
        dp::platform::setRegistry(&registry);

        // Without a configured size a drive's trash may take a tenth of it; an unreadable drive none.
        QMap<QString, qint64> capacities = m_ops.trashCapacities();
        QCOMPARE(capacities.value("/"), QStorageInfo("/").bytesTotal() / 100 * 10);
        QCOMPARE(capacities.value(path("no-such-mount"), -1), 0);

        registry.map.insert(QString::fromLatin1(CLinuxFileOps::kTrashCapacityKey), 100);
        capacities = m_ops.trashCapacities();
        QCOMPARE(capacities.value("/"), qint64(104857600));
        QCOMPARE(capacities.value(path("no-such-mount")), qint64(104857600));
    }

    void testMirrorFolderIsRelative_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("mirror");
        QTest::newRow("home folder") << "/home/me/Pictures" << "home/me/Pictures";
        QTest::newRow("root") << "/" << "";
        QTest::newRow("colon is an ordinary character") << "/media/a:b" << "media/a:b";
        QTest::newRow("dots are resolved") << "/home/me/../you/." << "home/you";
        QTest::newRow("trailing separator") << "/srv/photos/" << "srv/photos";
    }

    void testMirrorFolderIsRelative()
    {
        QFETCH(QString, folder);
        QFETCH(QString, mirror);
        QCOMPARE(m_ops.mirrorFolder(folder), mirror);
    }

    void testFreeSpaceOfFolderStillToBeCreated()
    {
        const qint64 free = m_ops.freeSpace(path("not/yet/there"));
        QVERIFY(free > 0);
        // Other programs write meanwhile; the same drive is all we can tell.
        QVERIFY(qAbs(free - QStorageInfo(m_pDir->path()).bytesAvailable()) < (qint64(64) << 20));
    }
};

QTEST_GUILESS_MAIN(TestLinuxFileOps)
#include "tst_CLinuxFileOps.moc"
