#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVariantMap>

// HEIF/HEIC/AVIF through libheif. libheif cannot decode at a reduced size, so we
// take the smallest stored thumbnail that is big enough before the full picture.
class CHeifDecoder
{
public:
    [[nodiscard]] static QImage decode(const QString &strPath, int iMaxSide, QString *pstrError);
    [[nodiscard]] static bool readSize(const QString &strPath, QSize &size);
    [[nodiscard]] static QVariantMap readMeta(const QString &strPath);
};
