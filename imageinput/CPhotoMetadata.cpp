#include "CPhotoMetadata.h"

#include <exiv2/exiv2.hpp>

#include <QString>

#include <xxhash.h>

#include <cstdio>

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

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// EXIF dates carry no zone; we keep the wall-clock time the camera showed by
// reading it as UTC, so the date shown is the one the camera wrote. Parsed by
// hand: the C library's time-zone calls are not safe on many threads.
uint64_t parseExifDate(const std::string &text)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    if (std::sscanf(text.c_str(), "%4d:%2d:%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &sec) != 6)
        return 0;
    if (y < 1601 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || sec > 60 || h < 0 || mi < 0 || sec < 0)
        return 0;
    return fileTimeFromUnix(daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + sec);
}

// SubSecTimeOriginal holds the decimal digits of the fraction ("045" = 45 ms).
uint64_t parseSubSeconds(const std::string &text)
{
    uint64_t ticks = 0, scale = 1000000;
    for (size_t i = 0; i < text.size() && scale > 0; ++i) {
        const char c = text[i];
        if (c == ' ')
            break;
        if (c < '0' || c > '9')
            return 0;
        ticks += uint64_t(c - '0') * scale;
        scale /= 10;
    }
    return ticks;
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
        if (meta.i64CaptureTime)
            meta.i64CaptureTime += parseSubSeconds(tagText(exif, "Exif.Photo.SubSecTimeOriginal"));
        meta.strMake = tagText(exif, "Exif.Image.Make");
        meta.strModel = tagText(exif, "Exif.Image.Model");
        meta.strSoftware = tagText(exif, "Exif.Image.Software");
    } catch (...) {
        // Broken metadata is common and never stops a scan: the photo keeps the defaults.
    }
    return meta;
}

uint32_t CPhotoMetadata::cameraId() const
{
    if (strMake.empty() && strModel.empty())
        return 0;
    const std::string key = strMake + '\n' + strModel;
    const uint32_t id = XXH32(key.data(), key.size(), 0);
    return id ? id : 1;
}

bool CPhotoMetadata::isCameraOriginal() const
{
    return !(strMake.empty() && strModel.empty()) && i64CaptureTime != 0 && !isEditorSigned();
}

bool CPhotoMetadata::isEditorSigned() const
{
    static const char *const editors[] = {
        "photoshop", "lightroom", "gimp", "snapseed", "picasa", "paint", "affinity", "darktable",
        "rawtherapee", "capture one", "luminar", "pixelmator", "acdsee", "facetune", "instagram",
        "vsco", "imagemagick", "graphicsmagick", "photos", "editor", "krita", "digikam"};
    const QString software = QString::fromStdString(strSoftware).toLower();
    for (const char *editor : editors) {
        if (software.contains(QLatin1String(editor)))
            return true;
    }
    return false;
}
