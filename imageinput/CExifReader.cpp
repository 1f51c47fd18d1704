#include "CExifReader.h"

#include "ImageInputLog.h"

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QMutex>
#include <QTransform>

// exiv2 0.27 still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include <climits>
#include <cmath>
#include <mutex>

namespace {

QMutex s_xmpMutex;

void lockXmp(void *pData, bool bLock)
{
    auto *pMutex = static_cast<QMutex *>(pData);
    if (bLock)
        pMutex->lock();
    else
        pMutex->unlock();
}

QString textOf(const Exiv2::ExifData &exif, const char *pKey)
{
    const auto it = exif.findKey(Exiv2::ExifKey(pKey));
    if (it == exif.end())
        return {};
    return QString::fromStdString(it->toString()).trimmed();
}

// Degrees, minutes and seconds with a hemisphere letter, as signed decimal degrees.
QString coordinateOf(const Exiv2::ExifData &exif, const char *pKey, const char *pRefKey, char negativeRef)
{
    const auto it = exif.findKey(Exiv2::ExifKey(pKey));
    if (it == exif.end() || it->count() < 3)
        return {};
    double dValue = 0.0;
    double dDivisor = 1.0;
    for (long i = 0; i < 3; ++i) {
        const Exiv2::Rational part = it->toRational(i);
        if (part.second == 0)
            return {};
        dValue += static_cast<double>(part.first) / part.second / dDivisor;
        dDivisor *= 60.0;
    }
    const QString strRef = textOf(exif, pRefKey);
    if (strRef.startsWith(QLatin1Char(negativeRef), Qt::CaseInsensitive))
        dValue = -dValue;
    return QString::number(dValue, 'f', 6);
}

QVariantMap metaOf(const Exiv2::ExifData &exif)
{
    QVariantMap mapMeta;
    const QString strModel = textOf(exif, "Exif.Image.Model");
    if (!strModel.isEmpty())
        mapMeta.insert(QStringLiteral("cameraModel"), strModel);
    const QString strLongitude = coordinateOf(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", 'W');
    if (!strLongitude.isEmpty())
        mapMeta.insert(QStringLiteral("longitude"), strLongitude);
    const QString strLatitude = coordinateOf(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", 'S');
    if (!strLatitude.isEmpty())
        mapMeta.insert(QStringLiteral("latitude"), strLatitude);
    QString strTime = textOf(exif, "Exif.Photo.DateTimeOriginal");
    if (strTime.isEmpty())
        strTime = textOf(exif, "Exif.Image.DateTime");
    const QDateTime shootTime = QDateTime::fromString(strTime, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (shootTime.isValid())
        mapMeta.insert(QStringLiteral("shootTime"), shootTime);
    return mapMeta;
}

} // namespace

void CExifReader::initialize()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        Exiv2::XmpParser::initialize(lockXmp, &s_xmpMutex);
        // exiv2 prints its own warnings on stderr; ours go through the log with the path.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::enableBMFF(true);
    });
}

int CExifReader::orientationOf(const unsigned char *pData, std::size_t size)
{
    if (!pData || size == 0 || size > static_cast<std::size_t>(LONG_MAX))
        return 1;
    try {
        auto image = Exiv2::ImageFactory::open(pData, static_cast<long>(size));
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (it == exif.end() || it->count() < 1)
            return 1;
        const long iValue = it->toLong();
        return iValue >= 1 && iValue <= 8 ? static_cast<int>(iValue) : 1;
    } catch (const Exiv2::AnyError &error) {
        qCDebug(lcImageInput) << "no EXIF orientation:" << error.what();
        return 1;
    }
}

bool CExifReader::previewMatches(const QSize &preview, const QSize &image)
{
    if (preview.isEmpty() || image.isEmpty())
        return false;
    const double dExpected = double(preview.width()) * image.height() / image.width();
    return std::abs(preview.height() - dExpected) <= dExpected * 0.015 + 1.0;
}

CExifReader::CJpegExif CExifReader::inspectJpeg(const unsigned char *pData, std::size_t size, const QSize &imageSize,
                                                int iMinSide)
{
    CJpegExif result;
    if (!pData || size == 0 || size > static_cast<std::size_t>(LONG_MAX))
        return result;
    try {
        auto image = Exiv2::ImageFactory::open(pData, static_cast<long>(size));
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (it != exif.end() && it->count() >= 1) {
            const long iValue = it->toLong();
            if (iValue >= 1 && iValue <= 8)
                result.iOrientation = static_cast<int>(iValue);
        }
        const auto itWidth = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
        const auto itHeight = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelYDimension"));
        if (itWidth != exif.end() && itHeight != exif.end() && itWidth->count() >= 1 && itHeight->count() >= 1)
            result.statedSize = QSize(int(itWidth->toLong()), int(itHeight->toLong()));
        const Exiv2::PreviewManager manager(*image);
        const Exiv2::PreviewPropertiesList listProps = manager.getPreviewProperties();
        const Exiv2::PreviewProperties *pBest = nullptr;
        for (const Exiv2::PreviewProperties &props : listProps) {
            const QSize previewSize(int(props.width_), int(props.height_));
            if (props.mimeType_ != "image/jpeg" || qMax(previewSize.width(), previewSize.height()) < iMinSide
                || !previewMatches(previewSize, imageSize))
                continue;
            if (!pBest || qint64(props.width_) * props.height_ < qint64(pBest->width_) * pBest->height_)
                pBest = &props;
        }
        if (pBest) {
            const Exiv2::PreviewImage preview = manager.getPreviewImage(*pBest);
            result.preview = QByteArray(reinterpret_cast<const char *>(preview.pData()), int(preview.size()));
        }
    } catch (const Exiv2::AnyError &error) {
        qCDebug(lcImageInput) << "unreadable EXIF:" << error.what();
    }
    return result;
}

QVariantMap CExifReader::metaOfFile(const QString &strPath)
{
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(strPath).constData()));
        image->readMetadata();
        return metaOf(image->exifData());
    } catch (const Exiv2::AnyError &error) {
        qCDebug(lcImageInput) << "no EXIF details for" << strPath << error.what();
        return {};
    }
}

QVariantMap CExifReader::metaOfExifBlock(const unsigned char *pData, std::size_t size)
{
    if (!pData || size == 0 || size > static_cast<std::size_t>(UINT32_MAX))
        return {};
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, pData, static_cast<uint32_t>(size));
        return metaOf(exif);
    } catch (const Exiv2::AnyError &error) {
        qCDebug(lcImageInput) << "unreadable EXIF block:" << error.what();
        return {};
    }
}

QImage CExifReader::orient(const QImage &image, int iOrientation)
{
    switch (iOrientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(QTransform().rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

#pragma GCC diagnostic pop
