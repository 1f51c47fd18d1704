#include "CDupPicsMgr.h"
#include "CPhotoRecordCopy.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CScanReplay.h"
#include "CThumbImageProvider.h"
#include "ThumbForge.h"

#include <QImage>
#include <QtTest>

#include <algorithm>
#include <memory>

// The manager's thumbnail side against the real thumbnail library: results reaching
// the photo rows, the detail list of a large image, and the providers QML reads.
class TestThumbnails : public QObject
{
    Q_OBJECT

    QTemporaryDir m_envDir;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CDupPicsMgr> m_pMgr;
    std::unique_ptr<CScanReplay> m_pReplay;

    // A real JPEG of 1536 bytes as the record says, reported as a new group or joined to iGroup.
    const PhotoRecord &photo(const QString &strName, quint64 iGroup = 0, QSize size = QSize(640, 480))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        if (!image.save(m_pDir->filePath(strName), "JPG"))
            qFatal("cannot write %s", qPrintable(strName));
        return iGroup ? m_pReplay->join(strName, iGroup, 0, 1536) : m_pReplay->create(strName, 0, 1536);
    }

    static QVariant keyOf(const PhotoRecord &record) { return QVariant::fromValue<quint64>(record.fileId); }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_envDir.isValid());
        // Sets XDG_CACHE_HOME and friends into the temporary folder: the library's disk cache goes there.
        CScanReplay::isolate(m_envDir.path());
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_pMgr = std::make_unique<CDupPicsMgr>();
        m_pReplay = std::make_unique<CScanReplay>(m_pMgr.get(), m_pDir->path());
    }

    void cleanup()
    {
        m_pMgr.reset();
        m_pReplay.reset();
        m_pDir.reset();
    }

    void testFinishedThumbnailReachesPhotoRow()
    {
        // Results for a group whose photo model nobody asked for make none
        const PhotoRecord &first = photo(QStringLiteral("first.jpg"));
        DP_SETTLE(*m_pReplay);
        m_pMgr->slotRefreshThumb(keyOf(first), CPhotoRecordCopy::pathOf(first), true);
        m_pMgr->slotBigImageResult(keyOf(first), CPhotoRecordCopy::pathOf(first), {}, true);
        QVERIFY(!m_pMgr->getPhotosModelNoCreate(keyOf(first)));
        // Given a group whose photo model the screen holds
        QVERIFY(m_pMgr->getPhotosModelByCreate(keyOf(first)));
        auto *pModel = qobject_cast<CPhotosItemModel *>(m_pMgr->getPhotosModelNoCreate(keyOf(first)));
        QVERIFY(pModel);
        QAbstractItemModelTester tester(pModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changedSpy(pModel, &QAbstractItemModel::dataChanged);

        // When a photo joins and the library has made its thumbnail
        const PhotoRecord &second = photo(QStringLiteral("second photo.jpg"), first.fileId, QSize(1600, 1200));
        const QString strSecond = CPhotoRecordCopy::pathOf(second);

        // Then its row is reported changed, and the provider serves the URL the row shows
        QTRY_VERIFY_WITH_TIMEOUT(pModel->rowOfPath(strSecond) >= 0, 20000);
        const int row = pModel->rowOfPath(strSecond);
        QTRY_VERIFY_WITH_TIMEOUT(std::any_of(changedSpy.cbegin(), changedSpy.cend(), [row](const QList<QVariant> &args) {
            return args.at(0).toModelIndex().row() == row && args.at(1).toModelIndex().row() == row;
        }), 20000);
        const QString strUrl = pModel->data(pModel->index(row, 0), CPhotosItemModel::PhotosPathRole).toString();
        QVERIFY2(strUrl.startsWith(QLatin1String("image://thumbProvider/")), qPrintable(strUrl));
        const QImage image = CThumbImageProvider(false).requestImage(strUrl.section(QLatin1Char('/'), 3), nullptr, QSize());
        QVERIFY(!image.isNull());
        QCOMPARE(image.width() * 3, image.height() * 4);
    }

    void testDetailList_data()
    {
        QTest::addColumn<QVariantMap>("meta");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("date");

        const QString strDate = QStringLiteral("<unchanged>");
        QTest::newRow("no metadata: four entries") << QVariantMap() << true << QStringList() << strDate;
        QTest::newRow("all metadata: seven, shooting time fourth")
            << QVariantMap{{QStringLiteral("cameraModel"), QStringLiteral("Lumix G9")},
                           {QStringLiteral("longitude"), QStringLiteral("13.4050")},
                           {QStringLiteral("latitude"), QStringLiteral("52.5200")},
                           {QStringLiteral("shootTime"), QStringLiteral("2019-07-14 10:20:30")}}
            << true << QStringList{QStringLiteral("Lumix G9"), QStringLiteral("Long: 13.4050"), QStringLiteral("Lat: 52.5200")}
            << QStringLiteral("2019-07-14 10:20:30");
        QTest::newRow("failed large image: no URL") << QVariantMap{{QStringLiteral("cameraModel"), QStringLiteral("X100")}}
                                                    << false << QStringList{QStringLiteral("X100")} << strDate;
    }

    void testDetailList()
    {
        QFETCH(QVariantMap, meta);
        QFETCH(bool, ok);
        QFETCH(QStringList, extra);
        QFETCH(QString, date);

        // Given a shown photo of 640 x 480 pixels and 1536 bytes
        const PhotoRecord &record = photo(QStringLiteral("detail.jpg"));
        DP_SETTLE(*m_pReplay);
        auto *pProxy = qobject_cast<CPhotosSortFilterProxyModel *>(m_pMgr->getPhotosModelByCreate(keyOf(record)));
        QVERIFY(pProxy);
        QSignalSpy detailSpy(pProxy, &CPhotosSortFilterProxyModel::sigRefreshMaxThumb);
        const QVariantList listBase = pProxy->getFileInfo(0);
        QCOMPARE(listBase.size(), 4);

        // When the library answers the large-image request
        m_pMgr->slotBigImageResult(keyOf(record), CPhotoRecordCopy::pathOf(record), meta, ok);

        // Then the proxy row gets URL, pixel size, file size, date and what is known
        QCOMPARE(detailSpy.count(), 1);
        QCOMPARE(detailSpy.at(0).at(0).toInt(), 0);
        QStringList listInfo;
        for (const QVariant &value : detailSpy.at(0).at(1).toList())
            listInfo << (value.isValid() ? value.toString() : QStringLiteral("<none>"));
        const QString url = ok ? QStringLiteral("image://maxThumbProvider/") + CDupPicsMgr::imageIdOfPath(CPhotoRecordCopy::pathOf(record))
                               : QStringLiteral("<none>");
        QCOMPARE(listInfo, QStringList({url, QStringLiteral("640 x 480"), QStringLiteral("1.50 KiB"),
                                        date == QStringLiteral("<unchanged>") ? listBase.at(3).toString() : date})
                               + extra);
    }

    void testRefreshStopAndStart()
    {
        // Stopped after the reset of construction: requests are ignored.
        QVERIFY(m_pMgr->isThumbRefreshStopped());
        m_pMgr->slot_newRefresh();
        m_pMgr->StartThumbRefresh();
        QVERIFY(!m_pMgr->isThumbRefreshStopped());
        // A second start replaces the thread; a stop must still end all of them.
        m_pMgr->StartThumbRefresh();
        for (int i = 0; i < 20; ++i)
            m_pMgr->slot_newRefresh();
        m_pMgr->StopThumbRefresh();
        QVERIFY(m_pMgr->isThumbRefreshStopped());
        m_pMgr->StopThumbRefresh();
        m_pMgr->slot_newRefresh();
        // Destroying the manager with a running refresh stops it first.
        m_pMgr->StartThumbRefresh();
        m_pMgr->slot_newRefresh();
        QSignalSpy destroyedSpy(m_pMgr.get(), &QObject::destroyed);
        m_pMgr.reset();
        QCOMPARE(destroyedSpy.count(), 1);
    }
};

QTEST_MAIN(TestThumbnails)
#include "tst_Thumbnails.moc"
