#pragma once

#include <QString>
#include <QVariantMap>

#include <cstddef>

class QImage;

// EXIF through exiv2: the orientation that turns a picture upright and the details
// shown beside a large image ("cameraModel", "longitude", "latitude", "shootTime").
// Every call reads its own copy, so workers may call it side by side.
class CExifReader
{
public:
    // exiv2's XMP toolkit must be set up once before threads use it.
    static void initialize();

    // 1 (upright) when the data has no orientation tag or cannot be read.
    [[nodiscard]] static int orientationOf(const unsigned char *pData, std::size_t size);
    [[nodiscard]] static QVariantMap metaOfFile(const QString &strPath);
    // A bare EXIF block (TIFF header first), as HEIF files carry it.
    [[nodiscard]] static QVariantMap metaOfExifBlock(const unsigned char *pData, std::size_t size);

    // Applies an EXIF orientation value (1 to 8) to an image stored as the camera saw it.
    [[nodiscard]] static QImage orient(const QImage &image, int iOrientation);
};
