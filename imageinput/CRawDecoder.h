#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Camera raw files (DNG first) through libraw: the embedded preview when it is big
// enough, else a half-size development. libraw_r keeps each decoder object separate,
// so workers may decode side by side.
class CRawDecoder
{
public:
    [[nodiscard]] static QImage decode(const QString &strPath, int iMaxSide, QString *pstrError);
    [[nodiscard]] static bool readSize(const QString &strPath, QSize &size);
    // libraw's flip (0, 3, 5, 6) as an EXIF orientation.
    [[nodiscard]] static int orientationOfFlip(int iFlip);
};
