#pragma once

#include <QByteArray>
#include <QSize>
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
    // exiv2's XMP toolkit must be set up once, before the first read from any thread,
    // with a lock so that threads may parse XMP side by side. Every user of exiv2 in
    // this library (CPhotoMetadata too) relies on it.
    static void initialize();

    // What the EXIF block of a JPEG offers for a thumbnail: one parse for both.
    struct CJpegExif
    {
        int iOrientation = 1;
        // An embedded JPEG preview of the same picture, empty when none fits.
        QByteArray preview;
        // The picture's size as EXIF states it; empty when it states none.
        QSize statedSize;
    };

    // 1 (upright) when the data has no orientation tag or cannot be read.
    [[nodiscard]] static int orientationOf(const unsigned char *pData, std::size_t size);
    // pData may be only the head of the file, as long as it reaches the previews.
    // The preview chosen is the smallest one of the picture's shape (imageSize, as
    // stored) whose longest side reaches iMinSide.
    [[nodiscard]] static CJpegExif inspectJpeg(const unsigned char *pData, std::size_t size, const QSize &imageSize,
                                               int iMinSide);
    // Cameras also embed letterboxed or cropped previews; only one of the same aspect
    // (1.5 % and a pixel of rounding) shows the same picture.
    [[nodiscard]] static bool previewMatches(const QSize &preview, const QSize &image);
    [[nodiscard]] static QVariantMap metaOfFile(const QString &strPath);
    // A bare EXIF block (TIFF header first), as HEIF files carry it.
    [[nodiscard]] static QVariantMap metaOfExifBlock(const unsigned char *pData, std::size_t size);

    // Applies an EXIF orientation value (1 to 8) to an image stored as the camera saw it.
    [[nodiscard]] static QImage orient(const QImage &image, int iOrientation);
};
