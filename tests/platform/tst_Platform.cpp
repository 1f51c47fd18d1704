#include <QtTest>

#include "CLinuxVolumes.h"
#include "CPathCodec.h"

#include <sys/sysmacros.h>

// The platform layer: volumes from the mount tables, and file names that are not UTF-8.
class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void testParseKeepsOnlyUserFilesystems()
    {
        const QByteArray mounts =
            "proc /proc proc rw 0 0\n"
            "/dev/vda / ext4 rw 0 0\n"
            "tmpfs /dev/shm tmpfs rw 0 0\n"
            "tmpfs /tmp tmpfs rw 0 0\n"
            "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
            "/dev/sdb1 /media/my\\040photos vfat rw 0 0\n"
            "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
            "garbage\n";
        const QList<CVolumeInfo> list = CLinuxVolumes::parseMounts(mounts);
        QStringList roots;
        for (const CVolumeInfo &info : list)
            roots << info.strRoot;
        QCOMPARE(roots, (QStringList{"/", "/tmp", "/media/my photos"}));
    }

    void testMountInfoTellsWhatAWalkMayEnter()
    {
        const QByteArray info =
            "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
            "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
            "30 27 0:25 / /media/my\\040nas rw shared:5 master:1 - nfs4 srv:/photos rw\n"
            "31 27 0:26 / /home/me/ram rw - tmpfs tmpfs rw\n"
            "32 27 0:27 / /home/me/box rw - fuse.sshfs me@box: rw\n"
            "33 27 0:28 / /var/lib/c rw - overlay overlay rw\n"
            "garbage\n";
        QStringList seen;
        for (const CMountInfo &mount : CLinuxVolumes::parseMountInfo(info))
            seen << QStringLiteral("%1 %2 %3").arg(mount.strRoot).arg(int(mount.kind)).arg(mount.iDevice);
        const auto dev = [](unsigned major, unsigned minor) { return QString::number(makedev(major, minor)); };
        QCOMPARE(seen, (QStringList{"/proc 1 " + dev(0, 21), "/ 0 " + dev(254, 0), "/media/my nas 2 " + dev(0, 25),
                                    "/home/me/ram 0 " + dev(0, 26), "/home/me/box 2 " + dev(0, 27),
                                    "/var/lib/c 0 " + dev(0, 28)}));
    }

    void testPathMapping_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("relative");
        QTest::newRow("root itself") << "/" << "/" << "";
        QTest::newRow("below root") << "/home/me/Pictures" << "/" << "home/me/Pictures";
        QTest::newRow("longest mount wins") << "/media/usb/DCIM" << "/media/usb" << "DCIM";
        QTest::newRow("mount point itself") << "/media/usb" << "/media/usb" << "";
        QTest::newRow("sibling prefix is not below") << "/media/usb2/x" << "/" << "media/usb2/x";
        QTest::newRow("trailing slash") << "/media/usb/" << "/media/usb" << "";
    }

    void testPathMapping()
    {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QFile file(dir.filePath("mounts"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("/dev/vda / ext4 rw 0 0\n/dev/sdb1 /media/usb vfat rw 0 0\n");
        file.close();
        const CLinuxVolumes volumes(file.fileName());
        QCOMPARE(volumes.keyOfPath(path), key);
        QCOMPARE(volumes.relativeToVolume(path, key), relative);
        QCOMPARE(volumes.joinRoot(key, relative), QDir::cleanPath(path));
    }

    void testRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("raw");
        QTest::newRow("ascii") << QByteArray("/p/a.jpg") << false;
        QTest::newRow("utf8") << QByteArray("/p/\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg") << false;
        QTest::newRow("latin1 byte") << QByteArray("/p/caf\xe9.jpg") << true;
        QTest::newRow("byte 0xff") << QByteArray("/p/x\xff.jpg") << true;
        QTest::newRow("lone continuation") << QByteArray("/p/\x80\xbf.jpg") << true;
        QTest::newRow("overlong slash") << QByteArray("/p/\xc0\xaf.jpg") << true;
        QTest::newRow("encoded surrogate") << QByteArray("/p/\xed\xb2\x80.jpg") << true;
        QTest::newRow("cut sequence at end") << QByteArray("/p/a\xe2\x82") << true;
        QTest::newRow("newline") << QByteArray("/p/a\nb.jpg") << false;
    }
    void testRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, raw);
        const QString path = dp::platform::pathFromBytes(bytes);
        QCOMPARE(dp::platform::needsRawAccess(path), raw);
        QCOMPARE(dp::platform::pathToBytes(path), bytes);
        if (!raw)
            QCOMPARE(path, QString::fromUtf8(bytes));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_Platform.moc"
