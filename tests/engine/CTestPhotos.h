#pragma once

#include <QImage>
#include <QString>

// Photos for the engine tests, painted in code. Scenes of different seeds
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

bool save(const QImage &image, const QString &strPath, const char *pszFormat = nullptr, int iQuality = 90);
// HEIC through libheif's HEVC encoder; false where the encoder is missing.
bool saveHeic(const QImage &image, const QString &strPath);
// Writes EXIF tags into an existing file with exiv2.
bool setOrientation(const QString &strPath, int iOrientation);
bool setCameraTags(const QString &strPath, const char *pszMake, const char *pszModel, const char *pszDateTime,
                   const char *pszSoftware = nullptr);

} // namespace testphotos
