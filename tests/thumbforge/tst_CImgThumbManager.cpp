#include "CTestPhotos.h"
#include "ThumbForge.h"

#include <QtTest>

using namespace testphotos;

// Decoding on a machine busy with other work can take far longer than the default wait.
constexpr int kDecodeWaitMs = 30000;

struct CThumbResult
{
    QVariant group;
    QString path;
    bool ok = false;
};

struct CBigResult
{
    QVariant group;
    QString path;
    QVariantMap meta;
    bool ok = false;
};

static QString idOf(const QString &strPath)
{
    return QString::fromLatin1(QCryptographicHash::hash(strPath.toUtf8(), QCryptographicHash::Sha512).toHex());
}

// Drives the process-wide manager as the program does: results arrive from worker
// threads through automatic (here queued) connections to this object.
class tst_CImgThumbManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_cacheDir.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheDir.path()));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        connect(pManager, &CImgThumbManager::sigImgThumbResult, this,
                [this](QVariant group, QString path, bool ok) { m_listThumbs.append({group, path, ok}); });
        connect(pManager, &CImgThumbManager::sigBigImgResult, this,
                [this](QVariant group, QString path, QMap<QString, QVariant> meta, bool ok) {
                    m_listBig.append({group, path, meta, ok});
                });
        pManager->Start();
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_listThumbs.clear();
        m_listBig.clear();
    }

    void cleanup() { CImgThumbManager::GetInstance()->Start(); }

    void testReportsEachThumbnailOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QSize>("size");
        const QSize thumb(256, 192);
        QTest::newRow("jpeg") << "photo.jpg" << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("png") << "photo.png" << QByteArray("PNG") << QByteArray() << true << thumb;
        QTest::newRow("webp") << "photo.webp" << QByteArray("WEBP") << QByteArray() << true << thumb;
        QTest::newRow("tiff") << "photo.tif" << QByteArray("TIFF") << QByteArray() << true << thumb;
        QTest::newRow("gif") << "photo.gif" << QByteArray() << tinyGif() << true << QSize(1, 1);
        QTest::newRow("bmp") << "photo.bmp" << QByteArray("BMP") << QByteArray() << true << thumb;
        QTest::newRow("jpeg named png") << "jpeg-inside.png" << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("unicode name") << QString::fromUtf8("фото 写真.jpg") << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("zero-byte") << "zero-byte.jpg" << QByteArray() << QByteArray("") << false << QSize();
        QTest::newRow("truncated jpeg") << "truncated.jpg" << QByteArray("truncate") << QByteArray() << false << QSize();
        QTest::newRow("garbage after jpeg magic")
            << "garbage.jpg" << QByteArray() << QByteArray("\xFF\xD8\xFF\xE0garbage-garbage-garbage") << false << QSize();
        QTest::newRow("text named png") << "text.png" << QByteArray() << QByteArray("not a picture at all") << false << QSize();
        QTest::newRow("bomb bmp header") << "bomb.bmp" << QByteArray() << bmpClaimingSize(100000, 100000) << false << QSize();
        QTest::newRow("bomb png header") << "bomb.png" << QByteArray() << pngClaimingSize(100000, 100000) << false << QSize();
        QTest::newRow("bomb jpeg header") << "bomb.jpg" << QByteArray() << jpegClaimingSize(65000, 65000) << false << QSize();
        QTest::newRow("garbage named dng") << "camera.dng" << QByteArray() << QByteArray("II*\0garbage raw data") << false << QSize();
        QTest::newRow("vanished file") << "vanished.jpg" << QByteArray("missing") << QByteArray() << false << QSize();
    }

    void testReportsEachThumbnailOnce()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QSize, size);
        const QString strPath = m_pDir->filePath(name);
        const QImage source = cornerImage(640, 480);
        if (format == "truncate") {
            QVERIFY(save(source, strPath, "JPG", 92));
            QFile file(strPath);
            QVERIFY(file.resize(file.size() / 2));
        } else if (!format.isEmpty() && format != "missing") {
            QVERIFY(source.save(strPath, format.constData()));
        } else if (format.isEmpty()) {
            QVERIFY(writeBytes(strPath, bytes));
        }

        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        pManager->EnPutThumbTask(stu_ThumbTask{42, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, kDecodeWaitMs);
        QCOMPARE(m_listThumbs.at(0).group.toULongLong(), 42ULL);
        QCOMPARE(m_listThumbs.at(0).path, strPath);
        QCOMPARE(m_listThumbs.at(0).ok, ok);

        // The path and the image id answer alike; a failure is true with a null picture.
        for (const QString &strKey : {strPath, idOf(strPath)}) {
            QPixmap pixmap;
            QVERIFY(pManager->GetThumb(strKey, pixmap));
            QCOMPARE(pixmap.isNull(), !ok);
            QImage image;
            QVERIFY(pManager->GetThumbImage(strKey, image));
            QCOMPARE(image.isNull(), !ok);
            QCOMPARE(image.size(), ok ? size : QSize(0, 0));
            if (size == QSize(256, 192))
                QVERIFY(isRed(image.pixel(4, 4)));
        }
        QCoreApplication::processEvents();
        QCOMPARE(m_listThumbs.size(), 1);
    }

    void testCameraFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("previewSize");  // of a raw file's preview
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("thumbSize");
        // Where the red corner must be; a developed raw has none.
        QTest::addColumn<QPoint>("redAt");
        QTest::newRow("HEIC") << "photo.heic" << QSize() << 1 << QSize(256, 192) << QPoint(4, 4);
        QTest::newRow("raw, large preview, upright") << "camera.dng" << QSize(320, 240) << 1 << QSize(256, 192) << QPoint(4, 4);
        QTest::newRow("raw, large preview, turned right") << "camera.dng" << QSize(320, 240) << 6 << QSize(192, 256)
                                                         << QPoint(187, 4);
        // A preview too small for a thumbnail: the raw data is developed at half size.
        QTest::newRow("raw, tiny preview") << "camera.dng" << QSize(32, 24) << 1 << QSize(256, 192) << QPoint(-1, -1);
    }

    void testCameraFormats()
    {
        QFETCH(QString, name);
        QFETCH(QSize, previewSize);
        QFETCH(int, orientation);
        QFETCH(QSize, thumbSize);
        QFETCH(QPoint, redAt);
        const QString strPath = m_pDir->filePath(name);
        if (previewSize.isEmpty()) {
            if (!saveHeic(cornerImage(640, 480), strPath))
                QSKIP("no HEVC encoder to make the fixture");
        } else {
            QVERIFY(writeBytes(strPath, dng(QSize(640, 480), cornerImage(previewSize.width(), previewSize.height()), orientation)));
        }
        CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, kDecodeWaitMs);
        QVERIFY(m_listThumbs.at(0).ok);
        QImage image;
        QVERIFY(CImgThumbManager::GetInstance()->GetThumbImage(strPath, image));
        QCOMPARE(image.size(), thumbSize);
        if (redAt.x() >= 0)
            QVERIFY(isRed(image.pixel(redAt)));
        else
            QVERIFY(!isRed(image.pixel(4, 4)));
        unsigned width = 0;
        unsigned height = 0;
        QVERIFY(GetImgWidthHeight(strPath.toStdWString().c_str(), width, height));
        QCOMPARE(QSize(int(width), int(height)), QSize(640, 480));
    }

    void testNothingReadyWhilePending()
    {
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        const QString strPath = m_pDir->filePath(QStringLiteral("a.jpg"));
        QVERIFY(save(cornerImage(320, 240), strPath, "JPG", 92));
        pManager->Stop();
        pManager->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QPixmap pixmap;
        QVERIFY(!pManager->GetThumb(strPath, pixmap));
        QVERIFY(!pManager->GetThumb(idOf(strPath), pixmap));
        QVERIFY(!CPageThumbCache::GetInstance()->GetThumb(strPath, pixmap));
        pManager->Start();
        QTRY_VERIFY_WITH_TIMEOUT(pManager->GetThumb(idOf(strPath), pixmap), kDecodeWaitMs);
        QVERIFY(!pixmap.isNull());
    }

    void testReservedListGoesFirst()
    {
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        pManager->Stop();
        QStringList listPaths;
        for (int i = 0; i < 12; ++i) {
            listPaths.append(m_pDir->filePath(QStringLiteral("p%1.jpg").arg(i)));
            QVERIFY(save(cornerImage(320, 240), listPaths.last(), "JPG", 92));
            pManager->EnPutThumbTask(stu_ThumbTask{1, listPaths.last()}, false);
        }
        QList<stu_ThumbTask> listReserved{{2, listPaths.at(10)}, {2, listPaths.at(11)}};
        pManager->SetReserveThumbList(listReserved);
        pManager->Start();
        // The two in view come first, then the queued twelve (two of them already made).
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 14, kDecodeWaitMs);
        QSet<QString> setFirst{m_listThumbs.at(0).path, m_listThumbs.at(1).path};
        QCOMPARE(setFirst, (QSet<QString>{listPaths.at(10), listPaths.at(11)}));
        QCOMPARE(m_listThumbs.at(0).group.toULongLong(), 2ULL);

        // Once made, they sit in the page cache the image provider asks first.
        QImage image;
        QVERIFY(CPageThumbCache::GetInstance()->GetThumbImage(idOf(listPaths.at(11)), image));
        QVERIFY(!image.isNull());
        QVERIFY(!CPageThumbCache::GetInstance()->GetThumbImage(listPaths.at(0), image));
    }

    void testAppliesOrientation_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("redCorner");
        const QSize landscape(256, 128);
        const QSize portrait(128, 256);
        QTest::newRow("1 upright") << 1 << landscape << QPoint(0, 0);
        QTest::newRow("2 mirrored") << 2 << landscape << QPoint(1, 0);
        QTest::newRow("3 upside down") << 3 << landscape << QPoint(1, 1);
        QTest::newRow("4 flipped") << 4 << landscape << QPoint(0, 1);
        QTest::newRow("5 transposed") << 5 << portrait << QPoint(0, 0);
        QTest::newRow("6 turned right") << 6 << portrait << QPoint(1, 0);
        QTest::newRow("7 transversed") << 7 << portrait << QPoint(1, 1);
        QTest::newRow("8 turned left") << 8 << portrait << QPoint(0, 1);
    }

    void testAppliesOrientation()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, redCorner);
        const QString strPath = m_pDir->filePath(QStringLiteral("rotated.jpg"));
        QVERIFY(save(cornerImage(1024, 512), strPath, "JPG", 95));
        QVERIFY(writeExif(strPath, {{QStringLiteral("Exif.Image.Orientation"), QString::number(orientation)}}));
        CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, kDecodeWaitMs);
        QImage image;
        QVERIFY(CImgThumbManager::GetInstance()->GetThumbImage(strPath, image));
        QCOMPARE(image.size(), size);
        const int x = redCorner.x() ? image.width() - 5 : 4;
        const int y = redCorner.y() ? image.height() - 5 : 4;
        QVERIFY2(isRed(image.pixel(x, y)), qPrintable(QColor(image.pixel(x, y)).name()));
        QVERIFY(!isRed(image.pixel(image.width() - 1 - x, image.height() - 1 - y)));
    }

    void testUsesEmbeddedPreviewOnlyWhenItShowsThePicture_data()
    {
        QTest::addColumn<QSize>("previewSize");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("truncate");
        QTest::addColumn<bool>("fromPreview");
        QTest::addColumn<QSize>("thumbSize");
        // The photo is 1024x768, blue with a red corner; its preview is plain green.
        const QSize landscape(256, 192);
        QTest::newRow("same shape, large enough") << QSize(320, 240) << 1 << false << true << landscape;
        QTest::newRow("off by rounding") << QSize(321, 240) << 1 << false << true << landscape;
        QTest::newRow("same shape, turned right") << QSize(320, 240) << 6 << false << true << QSize(192, 256);
        QTest::newRow("too small for a thumbnail") << QSize(160, 120) << 1 << false << false << landscape;
        QTest::newRow("letterboxed to 16:9") << QSize(320, 180) << 1 << false << false << landscape;
        QTest::newRow("cropped to 3:2") << QSize(360, 240) << 1 << false << false << landscape;
        QTest::newRow("file cut short, preview intact") << QSize(320, 240) << 1 << true << false << QSize();
    }

    void testUsesEmbeddedPreviewOnlyWhenItShowsThePicture()
    {
        QFETCH(QSize, previewSize);
        QFETCH(int, orientation);
        QFETCH(bool, truncate);
        QFETCH(bool, fromPreview);
        QFETCH(QSize, thumbSize);
        const QString strPath = m_pDir->filePath(QStringLiteral("camera.jpg"));
        QVERIFY(save(cornerImage(1024, 768), strPath, "JPG", 92));
        QImage preview(previewSize, QImage::Format_RGB32);
        preview.fill(Qt::green);
        QVERIFY(writeExifPreview(strPath, preview));
        if (orientation != 1)
            QVERIFY(writeExif(strPath, {{QStringLiteral("Exif.Image.Orientation"), QString::number(orientation)}}));
        if (truncate) {
            QFile file(strPath);
            QVERIFY(file.resize(file.size() - 600));
        }

        CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, kDecodeWaitMs);
        QCOMPARE(m_listThumbs.at(0).ok, thumbSize.isValid());
        QImage image;
        QVERIFY(CImgThumbManager::GetInstance()->GetThumbImage(strPath, image));
        QCOMPARE(image.size(), thumbSize.isValid() ? thumbSize : QSize(0, 0));
        if (image.isNull())
            return;
        const QRgb center = image.pixel(image.width() / 2, image.height() / 2);
        QVERIFY2(isGreen(center) == fromPreview, qPrintable(QColor(center).name()));
    }

    void testReusesDiskCacheAfterRestart()
    {
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        const QString strPath = m_pDir->filePath(QStringLiteral("kept.jpg"));
        QVERIFY(save(cornerImage(800, 600), strPath, "JPG", 92));
        pManager->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, kDecodeWaitMs);
        QVERIFY(m_listThumbs.at(0).ok);

        // Given a restart and a photo whose bytes are now unreadable but whose
        // modification time is unchanged, the thumbnail comes from the disk cache.
        pManager->Stop();
        pManager->Start();
        const QDateTime mtime = QFileInfo(strPath).lastModified();
        QVERIFY(writeBytes(strPath, QByteArray("\xFF\xD8\xFF unreadable now")));
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(mtime, QFileDevice::FileModificationTime));
        file.close();
        pManager->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 2, kDecodeWaitMs);
        QVERIFY(m_listThumbs.at(1).ok);
        QVERIFY(!QDir(m_cacheDir.filePath(QStringLiteral("thumbnails/large"))).isEmpty());
    }

    void testBigImageIsScreenSizedWithDetails()
    {
        const QString strPath = m_pDir->filePath(QStringLiteral("big.jpg"));
        QVERIFY(save(cornerImage(3000, 2000), strPath, "JPG", 92));
        QVERIFY(writeExif(strPath, {{QStringLiteral("Exif.Image.Model"), QStringLiteral("TestCam 7")},
                                    {QStringLiteral("Exif.Photo.DateTimeOriginal"), QStringLiteral("2021:05:04 10:20:30")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLatitudeRef"), QStringLiteral("N")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLatitude"), QStringLiteral("48/1 51/1 30/1")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLongitudeRef"), QStringLiteral("W")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLongitude"), QStringLiteral("2/1 17/1 24/1")}}));
        const QString strBad = m_pDir->filePath(QStringLiteral("zero-byte.jpg"));
        QVERIFY(writeBytes(strBad, QByteArray()));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(7), strPath);
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(8), strBad);
        QTRY_COMPARE_WITH_TIMEOUT(m_listBig.size(), 2, kDecodeWaitMs);
        QCOMPARE(m_listThumbs.size(), 0);

        const CBigResult good = m_listBig.at(0);
        QCOMPARE(good.group.toULongLong(), 7ULL);
        QCOMPARE(good.path, strPath);
        QVERIFY(good.ok);
        QCOMPARE(good.meta.value(QStringLiteral("cameraModel")).toString(), QStringLiteral("TestCam 7"));
        QCOMPARE(good.meta.value(QStringLiteral("latitude")).toString(), QStringLiteral("48.858333"));
        QCOMPARE(good.meta.value(QStringLiteral("longitude")).toString(), QStringLiteral("-2.290000"));
        QCOMPARE(good.meta.value(QStringLiteral("shootTime")).toDateTime(), QDateTime(QDate(2021, 5, 4), QTime(10, 20, 30)));
        QPixmap pixmap;
        QVERIFY(pManager->GetBigImg(idOf(strPath), pixmap));
        QCOMPARE(pixmap.size(), QSize(2048, 1365));

        const CBigResult bad = m_listBig.at(1);
        QVERIFY(!bad.ok);
        QVERIFY(bad.meta.isEmpty());
        QVERIFY(pManager->GetBigImg(strBad, pixmap));
        QVERIFY(pixmap.isNull());
    }

    void testReadsSizeFromHeader_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QSize>("size");
        QTest::newRow("jpeg") << "a.jpg" << encoded(cornerImage(640, 480), "JPEG") << true << QSize(640, 480);
        QTest::newRow("png") << "a.png" << encoded(cornerImage(300, 200), "PNG") << true << QSize(300, 200);
        QTest::newRow("upper-case DNG name on a JPEG")
            << "a.DNG" << encoded(cornerImage(64, 32), "JPEG") << true << QSize(64, 32);
        QTest::newRow("huge header, no pixels") << "bomb.png" << pngClaimingSize(100000, 100000) << true << QSize(100000, 100000);
        QTest::newRow("zero-byte") << "zero.jpg" << QByteArray() << false << QSize();
        QTest::newRow("text") << "text.png" << QByteArray("hello") << false << QSize();
        QTest::newRow("garbage named DNG") << "camera.DNG" << QByteArray("II*\0garbage") << false << QSize();
        QTest::newRow("missing") << "missing.jpg" << QByteArray("missing") << false << QSize();
    }

    void testReadsSizeFromHeader()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QSize, size);
        const QString strPath = m_pDir->filePath(name);
        if (bytes != "missing")
            QVERIFY(writeBytes(strPath, bytes));
        const std::wstring wstrPath = strPath.toStdWString();
        unsigned width = 0;
        unsigned height = 0;
        QCOMPARE(GetImgWidthHeight(wstrPath.c_str(), width, height), ok);
        if (ok)
            QCOMPARE(QSize(int(width), int(height)), size);
        QVERIFY(!GetImgWidthHeight(nullptr, width, height));
    }

private:
    static QByteArray encoded(const QImage &image, const char *pFormat)
    {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, pFormat);
        return data;
    }

    QTemporaryDir m_cacheDir;
    std::unique_ptr<QTemporaryDir> m_pDir;
    QList<CThumbResult> m_listThumbs;
    QList<CBigResult> m_listBig;
};

QTEST_MAIN(tst_CImgThumbManager)
#include "tst_CImgThumbManager.moc"
