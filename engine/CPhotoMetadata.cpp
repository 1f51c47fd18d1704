#include "CPhotoMetadata.h"

#include <exiv2/exiv2.hpp>

#include <QDateTime>
#include <QString>

#include <mutex>

void CPhotoMetadata::initializeLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

uint64_t fileTimeFromUnix(int64_t iSeconds, uint32_t iNanoseconds)
{
    constexpr int64_t kEpochDelta = 11644473600LL;  // seconds from 1601 to 1970
    if (iSeconds < -kEpochDelta)
        return 0;
    return uint64_t(iSeconds + kEpochDelta) * 10000000ULL + iNanoseconds / 100;
}

namespace {

std::string tagText(const Exiv2::ExifData &exif, const char *pszKey)
{
    const auto it = exif.findKey(Exiv2::ExifKey(pszKey));
    if (it == exif.end())
        return {};
    std::string text = it->toString();
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

// EXIF dates carry no zone; we keep the wall-clock time the camera showed by
// reading it as UTC, so the date shown is the one the camera wrote.
uint64_t parseExifDate(const std::string &text)
{
    const QDateTime dt = QDateTime::fromString(QString::fromStdString(text).left(19),
                                               QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (!dt.isValid())
        return 0;
    QDateTime utc = dt;
    utc.setTimeSpec(Qt::UTC);
    return fileTimeFromUnix(utc.toSecsSinceEpoch());
}

} // namespace

CPhotoMetadata CPhotoMetadata::read(const uint8_t *pData, size_t size)
{
    CPhotoMetadata meta;
    try {
        auto image = Exiv2::ImageFactory::open(pData, long(size));
        if (!image.get())
            return meta;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        if (exif.empty())
            return meta;
        const auto orient = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (orient != exif.end() && orient->count() > 0) {
            const long value = orient->toLong();
            if (value >= 1 && value <= 8)
                meta.iOrientation = int(value);
        }
        meta.i64CaptureTime = parseExifDate(tagText(exif, "Exif.Photo.DateTimeOriginal"));
        meta.strMake = tagText(exif, "Exif.Image.Make");
        meta.strModel = tagText(exif, "Exif.Image.Model");
        meta.strSoftware = tagText(exif, "Exif.Image.Software");
    } catch (...) {
        // Broken metadata is common and never stops a scan: the photo keeps the defaults.
    }
    return meta;
}

bool CPhotoMetadata::isCameraOriginal() const
{
    if ((strMake.empty() && strModel.empty()) || i64CaptureTime == 0)
        return false;
    static const char *const editors[] = {
        "photoshop", "lightroom", "gimp", "snapseed", "picasa", "paint", "affinity", "darktable",
        "rawtherapee", "capture one", "luminar", "pixelmator", "acdsee", "facetune", "instagram",
        "vsco", "imagemagick", "graphicsmagick", "photos", "editor", "krita", "digikam"};
    const QString software = QString::fromStdString(strSoftware).toLower();
    for (const char *editor : editors) {
        if (software.contains(QLatin1String(editor)))
            return false;
    }
    return true;
}
