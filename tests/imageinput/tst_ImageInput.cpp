// The image input library as its two callers use it: the scan's grey decode from
// memory and the thumbnails' colour decode from a file.
#include "CExifReader.h"
#include "CGrayDecoder.h"
#include "CGrayImage.h"
#include "CImageDecoder.h"
#include "CImageLimits.h"
#include "CPhotoMetadata.h"
#include "ThumbFixtures.h"

#include <QtTest>

#include <turbojpeg.h>

using namespace ThumbFixtures;

namespace {

// A photo-like JPEG written by turbojpeg itself, so that the subsampling and
// progressive mode are ours to choose: colour ramps across the frame plus noise.
QByteArray makeJpeg(QSize size, int iSubsampling, bool bProgressive)
{
    std::vector<unsigned char> rgb(size_t(size.width()) * size_t(size.height()) * 3);
    uint32_t state = 12345;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 28) - 8;
            unsigned char *p = &rgb[(size_t(y) * size_t(size.width()) + size_t(x)) * 3];
            p[0] = uint8_t(std::clamp(255 * x / size.width() + n, 0, 255));
            p[1] = uint8_t(std::clamp(255 * y / size.height() + n, 0, 255));
            p[2] = uint8_t(std::clamp(((x / 97 + y / 89) % 2) ? 200 + n : 40 + n, 0, 255));
        }
    }
    tjhandle h = tjInitCompress();
    unsigned char *pJpeg = nullptr;
    unsigned long length = 0;
    const int rc = tjCompress2(h, rgb.data(), size.width(), 0, size.height(), TJPF_RGB, &pJpeg, &length, iSubsampling,
                               90, bProgressive ? TJFLAG_PROGRESSIVE : 0);
    QByteArray out = rc == 0 ? QByteArray(reinterpret_cast<const char *>(pJpeg), int(length)) : QByteArray();
    tjFree(pJpeg);
    tjDestroy(h);
    return out;
}

EnDecodeStatus grayDecode(const QByteArray &bytes, bool bRawSuffix, CDecodedImage &out, bool bColour = false)
{
    std::string strError;
    return CGrayDecoder::decode(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()), bRawSuffix,
                                out, strError, bColour);
}

} // namespace

Q_DECLARE_METATYPE(EnDecodeStatus)

class tst_ImageInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        CExifReader::initialize();
    }

    void testRefusesFileBeyondSizeLimit()
    {
        // Sparse: its head is a picture, the rest costs no disk.
        const QString strPath = m_dir.filePath(QStringLiteral("huge.jpg"));
        QVERIFY(writeBytes(strPath, encoded(cornerImage(64, 48), "JPEG")));
        QFile file(strPath);
        QVERIFY(file.resize(CImageLimits::kMaxFileBytes + 1));
        QString strError;
        QVERIFY(CImageDecoder::decode(strPath, CImageDecoder::kThumbSide, &strError).isNull());
        QVERIFY2(strError.startsWith(QLatin1String("refused")), qPrintable(strError));
    }

    void testDamagedFileIsAnErrorNotACrash_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<EnDecodeStatus>("grayStatus");
        const QByteArray jpeg = encoded(cornerImage(640, 480), "JPEG");
        QByteArray scrambled = jpeg;
        for (int i = 600; i < scrambled.size(); i += 7)
            scrambled[i] = char(scrambled[i] ^ 0x5a);
        const QByteArray junk(2000, 'x');
        QTest::newRow("zero bytes") << "empty.jpg" << QByteArray() << EnDecodeStatus::NotImage;
        QTest::newRow("text named png") << "text.png" << QByteArray("not a picture at all") << EnDecodeStatus::NotImage;
        QTest::newRow("truncated JPEG") << "cut.jpg" << jpeg.left(jpeg.size() / 2) << EnDecodeStatus::Corrupt;
        QTest::newRow("scrambled JPEG") << "scrambled.jpg" << scrambled << EnDecodeStatus::Corrupt;
        // The header parser answers this with a warning and no size: damaged, not too large.
        QTest::newRow("JPEG marker then junk") << "junk.jpg" << QByteArray("\xFF\xD8\xFF\xE0", 4) + junk
                                               << EnDecodeStatus::Corrupt;
        QTest::newRow("PNG signature then junk") << "junk.png" << QByteArray("\x89PNG\r\n\x1a\n", 8) + junk
                                                 << EnDecodeStatus::Corrupt;
        QTest::newRow("HEIF file type then junk")
            << "junk.heic" << QByteArray("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24) + junk << EnDecodeStatus::Corrupt;
        QTest::newRow("BMP claiming 100000 x 100000") << "bomb.bmp" << bmpClaimingSize(100000, 100000)
                                                      << EnDecodeStatus::Corrupt;
        QTest::newRow("TIFF signature named dng") << "junk.dng" << QByteArray("II*\0", 4) + junk
                                                  << EnDecodeStatus::NotImage;
        // What the limits refuse, both callers refuse before decoding.
        const EnDecodeStatus tooLarge = EnDecodeStatus::TooLarge;
        QTest::newRow("JPEG claiming 60000 x 60000") << "a.jpg" << jpegClaimingSize(60000, 60000) << tooLarge;
        // Past the limit of a DCT-scaled decode by a quarter.
        QTest::newRow("JPEG claiming 25000 x 20000") << "b.jpg" << jpegClaimingSize(25000, 20000) << tooLarge;
        QTest::newRow("PNG claiming 40000 x 40000") << "a.png" << pngClaimingSize(40000, 40000) << tooLarge;
        // Past the limit of a full-size decode by a tenth.
        QTest::newRow("PNG claiming 12000 x 11000") << "b.png" << pngClaimingSize(12000, 11000) << tooLarge;
        QTest::newRow("PNG one pixel high, too wide") << "c.png" << pngClaimingSize(70000, 1) << tooLarge;
    }

    void testDamagedFileIsAnErrorNotACrash()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(EnDecodeStatus, grayStatus);
        CDecodedImage gray;
        QCOMPARE(int(grayDecode(bytes, name.endsWith(QLatin1String(".dng")), gray)), int(grayStatus));
        const QString strPath = m_dir.filePath(name);
        QVERIFY(writeBytes(strPath, bytes));
        QString strError;
        QVERIFY(CImageDecoder::decode(strPath, CImageDecoder::kThumbSide, &strError).isNull());
        QVERIFY2(grayStatus == EnDecodeStatus::TooLarge ? strError.startsWith(QLatin1String("refused")) : !strError.isEmpty(),
                 qPrintable(strError));
        // A raw file's size comes from our own reader, which must not take junk for one.
        QSize size;
        QVERIFY(!name.endsWith(QLatin1String(".dng")) || !CImageDecoder::readSize(strPath, size));
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
        const QString strPath = m_dir.filePath(QStringLiteral("rotated.jpg"));
        QVERIFY(save(cornerImage(1024, 512), strPath, "JPG", 95));
        QVERIFY(writeExif(strPath, {{QStringLiteral("Exif.Image.Orientation"), QString::number(orientation)}}));
        const QImage image = CImageDecoder::decode(strPath, CImageDecoder::kThumbSide);
        QCOMPARE(image.size(), size);
        const int x = redCorner.x() ? image.width() - 5 : 4;
        const int y = redCorner.y() ? image.height() - 5 : 4;
        QVERIFY2(isRed(image.pixel(x, y)), qPrintable(QColor(image.pixel(x, y)).name()));
        QVERIFY(!isRed(image.pixel(image.width() - 1 - x, image.height() - 1 - y)));

        // The scan keeps the stored pixels and turns its grid by the metadata's code.
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        CDecodedImage gray;
        QCOMPARE(grayDecode(bytes, false, gray), EnDecodeStatus::Ok);
        QCOMPARE(gray.iOrientation, 0);
        QCOMPARE(QSize(gray.iFullWidth, gray.iFullHeight), QSize(1024, 512));
        QCOMPARE(CPhotoMetadata::read(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())).iOrientation,
                 orientation);

        // A decode for detail stops at the DCT scale asked for (5/8 reaches 600) and
        // turns a grid of any shape by the same code.
        CDecodedImage detail;
        std::string strError;
        QCOMPARE(CGrayDecoder::decodeDetail(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()),
                                            false, 600, detail, strError),
                 EnDecodeStatus::Ok);
        QCOMPARE(QSize(detail.gray.iWidth, detail.gray.iHeight), QSize(640, 320));
        const std::vector<uint8_t> upright = orientGrid(detail.gray.pixels, 640, 320, orientation);
        const QSize turned = size * 640 / 256;
        const int ux = redCorner.x() ? turned.width() - 5 : 4, uy = redCorner.y() ? turned.height() - 5 : 4;
        const auto grey = [&](int gx, int gy) { return int(upright[size_t(gy * turned.width() + gx)]); };
        // Red is about 76 in grey, blue about 29.
        QVERIFY2(grey(ux, uy) > 60, qPrintable(QString::number(grey(ux, uy))));
        QVERIFY(grey(turned.width() - 1 - ux, turned.height() - 1 - uy) < 45);
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
        QTest::newRow("file cut short, preview intact") << QSize(320, 240) << 1 << true << false << QSize();
    }

    void testUsesEmbeddedPreviewOnlyWhenItShowsThePicture()
    {
        QFETCH(QSize, previewSize);
        QFETCH(int, orientation);
        QFETCH(bool, truncate);
        QFETCH(bool, fromPreview);
        QFETCH(QSize, thumbSize);
        const QString strPath = m_dir.filePath(QStringLiteral("camera.jpg"));
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
        const QImage image = CImageDecoder::decode(strPath, CImageDecoder::kThumbSide);
        QCOMPARE(image.size(), thumbSize.isValid() ? thumbSize : QSize(0, 0));
        if (image.isNull())
            return;
        const QRgb center = image.pixel(image.width() / 2, image.height() / 2);
        QVERIFY2(isGreen(center) == fromPreview, qPrintable(QColor(center).name()));
    }

    void testRawPreviewOrDevelopment_data()
    {
        QTest::addColumn<QSize>("previewSize");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("thumbSize");
        // Where the preview's red corner must be; the developed raw data has no such corner.
        QTest::addColumn<QPoint>("redAt");
        QTest::newRow("large preview, upright") << QSize(320, 240) << 1 << QSize(256, 192) << QPoint(4, 4);
        QTest::newRow("large preview, turned right") << QSize(320, 240) << 6 << QSize(192, 256) << QPoint(187, 4);
        // A preview too small for a thumbnail: the raw data is developed at half size.
        QTest::newRow("tiny preview") << QSize(32, 24) << 1 << QSize(256, 192) << QPoint(-1, -1);
    }

    void testRawPreviewOrDevelopment()
    {
        QFETCH(QSize, previewSize);
        QFETCH(int, orientation);
        QFETCH(QSize, thumbSize);
        QFETCH(QPoint, redAt);
        const QString strPath = m_dir.filePath(QStringLiteral("camera.dng"));
        QVERIFY(writeBytes(strPath, dng(QSize(640, 480), cornerImage(previewSize.width(), previewSize.height()), orientation)));
        const QImage image = CImageDecoder::decode(strPath, CImageDecoder::kThumbSide);
        QCOMPARE(image.size(), thumbSize);
        if (redAt.x() >= 0)
            QVERIFY(isRed(image.pixel(redAt)));
        else
            QVERIFY(!isRed(image.pixel(4, 4)));
        QSize size;
        QVERIFY(CImageDecoder::readSize(strPath, size));
        QCOMPARE(size, QSize(640, 480));
    }

    void testColourDecodeKeepsTheGreyBits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("subsampling");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<bool>("colour");  // a colour image comes with the grey one
        // Odd sizes leave padded planes and partial blocks at the edges.
        QTest::newRow("4:2:0") << QSize(2003, 1201) << int(TJSAMP_420) << false << true;
        QTest::newRow("4:2:2") << QSize(2003, 1201) << int(TJSAMP_422) << false << true;
        QTest::newRow("4:4:4") << QSize(2003, 1201) << int(TJSAMP_444) << false << true;
        QTest::newRow("4:4:0") << QSize(1201, 2003) << int(TJSAMP_440) << false << true;
        QTest::newRow("4:1:1") << QSize(2003, 1201) << int(TJSAMP_411) << false << true;
        QTest::newRow("grey") << QSize(2003, 1201) << int(TJSAMP_GRAY) << false << true;
        QTest::newRow("progressive 4:2:0") << QSize(2003, 1201) << int(TJSAMP_420) << true << true;
        QTest::newRow("12 MP 4:2:0 at an eighth") << QSize(4000, 3000) << int(TJSAMP_420) << false << true;
        QTest::newRow("below 2 MP: grey only") << QSize(1600, 1200) << int(TJSAMP_420) << false << false;
    }

    void testColourDecodeKeepsTheGreyBits()
    {
        QFETCH(QSize, size);
        QFETCH(int, subsampling);
        QFETCH(bool, progressive);
        QFETCH(bool, colour);
        const QByteArray jpeg = makeJpeg(size, subsampling, progressive);
        QVERIFY(!jpeg.isEmpty());
        // Given the grey decode that the feature cache of earlier scans was made from
        CDecodedImage grey, both;
        QCOMPARE(grayDecode(jpeg, false, grey), EnDecodeStatus::Ok);
        QVERIFY(grey.colour.isNull());
        // When the colours are asked for too, the grey image is the same to the bit
        QCOMPARE(grayDecode(jpeg, false, both, true), EnDecodeStatus::Ok);
        QCOMPARE(QSize(both.gray.iWidth, both.gray.iHeight), QSize(grey.gray.iWidth, grey.gray.iHeight));
        QVERIFY(both.gray.pixels == grey.gray.pixels);
        QCOMPARE(both.iFullWidth, size.width());
        QCOMPARE(!both.colour.isNull(), colour);
        if (!colour)
            return;
        // And the colour image is the photo at the decode scale, channels in their places
        QVERIFY(std::max(both.colour.width(), both.colour.height()) >= CGrayDecoder::kMinLongSide);
        QVERIFY(std::abs(both.colour.width() * size.height() / size.width() - both.colour.height()) <= 1);
        const QImage expected = QImage::fromData(jpeg).scaled(8, 6, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage actual = both.colour.scaled(8, 6, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                QVERIFY2(near(actual.pixel(x, y), expected.pixel(x, y), 12), qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_ImageInput)
#include "tst_ImageInput.moc"
