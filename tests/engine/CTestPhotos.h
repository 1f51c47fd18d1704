#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

// Photos for the tests, painted in code. Scenes of different seeds
// differ in layout and colour; each transformation mimics what happens to
// copies of a photo in real life.
namespace testphotos {

// A scene of shapes, gradients, text and noise. layoutSeed moves every shape
// while keeping the colours of colourSeed (-1: the layout follows colourSeed).
QImage scene(int iColourSeed, QSize size = QSize(640, 480), int iLayoutSeed = -1);

QImage resized(const QImage &image, double dFactor);
QImage cropped(const QImage &image, double dFraction);  // cut from the left and top
QImage brighter(const QImage &image);                    // brightness and contrast up
QImage blurred(const QImage &image);
// The pixels turned: bit 0 mirrors left to right, bit 1 top to bottom, bit 2 then
// swaps the axes (5 and 6 are quarter turns, 3 the half turn).
QImage turned(const QImage &image, int iTurn);
// Frame iFrame of a burst: the camera's view moves a little between frames.
QImage burstFrame(int iSeed, int iFrame);

bool save(const QImage &image, const QString &strPath, const char *pszFormat = nullptr, int iQuality = 90);
// HEIC through libheif's HEVC encoder; false where the encoder is missing. With
// iThumbSide, also a thumbnail item of that long side, as phones store one.
bool saveHeic(const QImage &image, const QString &strPath, int iThumbSide = 0);
// Writes EXIF tags into an existing file with exiv2: key -> value text.
bool writeExif(const QString &strPath, const QList<QPair<QString, QString>> &listTags);
// Embeds preview, JPEG-encoded, as the EXIF thumbnail of an existing JPEG.
bool writeExifPreview(const QString &strPath, const QImage &preview);
bool setOrientation(const QString &strPath, int iOrientation);
bool setCameraTags(const QString &strPath, const char *pszMake, const char *pszModel, const char *pszDateTime,
                   const char *pszSoftware = nullptr);

bool writeBytes(const QString &strPath, const QByteArray &data);
// The image in a file format's bytes, in memory.
QByteArray encoded(const QImage &image, const char *pszFormat, int iQuality = -1);
// Each channel within iTolerance.
bool near(QRgb a, QRgb b, int iTolerance);

// Blue with a red block in its top-left corner: after any orientation the block
// shows where the stored top-left pixel went.
QImage cornerImage(int iWidth, int iHeight);
bool isRed(QRgb rgb);
bool isGreen(QRgb rgb);

// Headers that claim a size with almost no pixel data after them.
QByteArray jpegClaimingSize(int iWidth, int iHeight);
QByteArray bmpClaimingSize(int iWidth, int iHeight);
QByteArray pngClaimingSize(int iWidth, int iHeight);
// A 1x1 GIF: Qt has no GIF writer.
QByteArray tinyGif();
// A minimal DNG: a 16-bit CFA raw of rawSize and an uncompressed RGB preview in
// IFD0 carrying the given EXIF-style orientation.
QByteArray dng(const QSize &rawSize, const QImage &preview, int iOrientation);

} // namespace testphotos
