#pragma once

#include <QImage>
#include <QString>

// Photo files built in code for the thumbnail tests, each named after what it holds.
namespace ThumbFixtures {

// A landscape picture, blue, with a red block in its top-left corner: after any
// orientation the block shows where the stored top-left pixel went.
QImage cornerImage(int iWidth, int iHeight);
bool writeJpeg(const QString &strPath, const QImage &image, int iQuality = 92);
// Writes EXIF tags into an existing JPEG with exiv2: key -> value text.
bool writeExif(const QString &strPath, const QList<QPair<QString, QString>> &listTags);
// Embeds preview, JPEG-encoded, as the EXIF thumbnail of an existing JPEG.
bool writeExifPreview(const QString &strPath, const QImage &preview);
bool writeBytes(const QString &strPath, const QByteArray &data);
// A valid small JPEG whose frame header claims iWidth x iHeight.
QByteArray jpegClaimingSize(int iWidth, int iHeight);
// A BMP header claiming iWidth x iHeight with almost no pixel data after it.
QByteArray bmpClaimingSize(int iWidth, int iHeight);
// A PNG whose header claims iWidth x iHeight, with two bytes of pixel data.
QByteArray pngClaimingSize(int iWidth, int iHeight);
// A 1x1 GIF: Qt has no GIF writer.
QByteArray tinyGif();
// HEIC through libheif's encoder; false when no HEVC encoder is installed.
bool writeHeic(const QString &strPath, const QImage &image);

// A minimal DNG: a 16-bit CFA raw of rawSize and an uncompressed RGB preview in
// IFD0 carrying the given EXIF-style orientation.
QByteArray dng(const QSize &rawSize, const QImage &preview, int iOrientation);

bool isRed(QRgb rgb);
bool isGreen(QRgb rgb);

} // namespace ThumbFixtures
