#include <QtTest>

#include "CDriveCheck.h"
#include "CPlatform.h"
#include "FileOpsSandbox.h"

#include <memory>

namespace {
constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kGiB = 1024 * kMiB;
} // namespace

// The removable-drive, trash-capacity and free-space checks asked before a removal.
class TestDriveChecks : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    CHookedFileOps m_fileOps;

private slots:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_fileOps = CHookedFileOps();
        dp::platform::setFileOps(&m_fileOps);
    }
    void cleanup()
    {
        dp::platform::setFileOps(nullptr);
        dp::platform::setVolumes(nullptr);
        m_pDir.reset();
    }

    void testRemovableDriveAmongMarkedPhotos_data()
    {
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<bool>("usb");
        QTest::newRow("fixed and USB") << QStringList{"/home/me/a.jpg", "/media/usb/DCIM/b.jpg"} << true;
        QTest::newRow("only fixed") << QStringList{"/home/me/a.jpg", "/srv/c.jpg"} << false;
        QTest::newRow("nothing marked") << QStringList{} << false;
    }

    void testRemovableDriveAmongMarkedPhotos()
    {
        QFETCH(QStringList, marked);
        QFETCH(bool, usb);
        // Given a fixed disk at / and a USB stick at /media/usb, as sysfs describes them.
        QVERIFY(sandbox::makeFakeSysfs(m_pDir->filePath("sys")));
        CLinuxFileOps ops(m_pDir->filePath("sys"));
        dp::platform::setFileOps(&ops);
        CFakeVolumes volumes;
        volumes.list = {{"/", "/dev/vda1", "ext4"}, {"/media/usb", "/dev/sdb1", "vfat"}};
        dp::platform::setVolumes(&volumes);

        CDriveCheck check;
        check.setCheckedInfo(0, {}, marked);
        QCOMPARE(check.checkIsContainUsb(), usb);
    }

    void testTrashLargeEnoughForMarkedPhotos_data()
    {
        QTest::addColumn<QVariantMap>("capacities");
        QTest::addColumn<qint64>("need");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<bool>("sufficient");
        const QVariantMap bin100{{"/", 100 * kMiB}};
        QTest::newRow("need equals capacity") << bin100 << 104857600LL << true << false;
        QTest::newRow("one byte below") << bin100 << 104857599LL << true << true;
        QTest::newRow("nothing marked") << bin100 << 200 * kMiB << false << true;
        QTest::newRow("no trash anywhere") << QVariantMap{} << 200 * kMiB << true << true;
        QTest::newRow("drive without a trash") << QVariantMap{{"/media/usb", kMiB}} << 200 * kMiB << true << true;
        QTest::newRow("unreadable capacity") << QVariantMap{{"/", 0}} << 1LL << true << false;
    }

    void testTrashLargeEnoughForMarkedPhotos()
    {
        QFETCH(QVariantMap, capacities);
        QFETCH(qint64, need);
        QFETCH(bool, marked);
        QFETCH(bool, sufficient);
        m_fileOps.bFixedTrashCapacity = true;
        for (auto it = capacities.cbegin(); it != capacities.cend(); ++it)
            m_fileOps.mapTrashCapacity.insert(it.key(), it.value().toLongLong());
        CDriveCheck check;
        check.setCheckedInfo(need, {{"/", need}}, marked ? QStringList{"/home/a.jpg"} : QStringList{});
        QCOMPARE(check.checkTrashSufficient(), sufficient);
    }

    void testTrashLargeEnoughForOneFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("sufficient");
        QTest::newRow("exactly the capacity") << 1000 << true;
        QTest::newRow("one byte more") << 1001 << false;
    }

    void testTrashLargeEnoughForOneFile()
    {
        QFETCH(int, size);
        QFETCH(bool, sufficient);
        const QString file = m_pDir->filePath("photo.jpg");
        QVERIFY(sandbox::writeFile(file, QByteArray(size, 'p')));
        m_fileOps.bFixedTrashCapacity = true;
        m_fileOps.mapTrashCapacity.insert(CDriveCheck::driveKey(file), 1000);
        CDriveCheck check;
        QCOMPARE(check.checkTrashSufficient(file), sufficient);
        QVERIFY(check.checkTrashSufficient(QString()));
        m_fileOps.mapTrashCapacity.clear();
        QVERIFY(check.checkTrashSufficient(file));
    }

    void testRoomForMove_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<qint64>("need");
        QTest::addColumn<qint64>("free");
        QTest::addColumn<bool>("room");
        QTest::newRow("5 GiB into 6 GiB") << "/out" << 5 * kGiB << 6 * kGiB << true;
        QTest::newRow("5 GiB into 5.9 GiB") << "/out" << 5 * kGiB << 6 * kGiB - 100 * kMiB << false;
        QTest::newRow("nothing marked, reserve just there") << "/out" << 0LL << kGiB << true;
        QTest::newRow("nothing marked, reserve short by a byte") << "/out" << 0LL << kGiB - 1 << false;
        QTest::newRow("no folder") << "" << 0LL << 100 * kGiB << false;
    }

    void testRoomForMove()
    {
        QFETCH(QString, folder);
        QFETCH(qint64, need);
        QFETCH(qint64, free);
        QFETCH(bool, room);
        m_fileOps.i64FreeSpace = free;
        CDriveCheck check;
        check.setCheckedInfo(need, {}, {"/home/a.jpg"});
        QCOMPARE(check.checkSpace(folder), room);
    }
};

QTEST_GUILESS_MAIN(TestDriveChecks)
#include "tst_DriveChecks.moc"
