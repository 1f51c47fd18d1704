#include "CImageFormat.h"

#include <QSet>

#include <libheif/heif.h>

#include <cstring>

namespace {

bool startsWith(const uint8_t *pData, size_t size, const char *pszMagic, size_t len, size_t offset = 0)
{
    return size >= offset + len && std::memcmp(pData + offset, pszMagic, len) == 0;
}

} // namespace

EnImageFormat CImageFormat::sniff(const uint8_t *pData, size_t size)
{
    if (!pData || size < 12)
        return EnImageFormat::Unknown;
    if (startsWith(pData, size, "\xFF\xD8\xFF", 3))
        return EnImageFormat::Jpeg;
    if (startsWith(pData, size, "II*\0", 4) || startsWith(pData, size, "MM\0*", 4))
        return EnImageFormat::Tiff;
    // Video files carry a file type box too; libheif knows which brands hold pictures.
    if (startsWith(pData, size, "ftyp", 4, 4)
        && heif_check_filetype(pData, int(std::min<size_t>(size, INT32_MAX))) == heif_filetype_yes_supported)
        return EnImageFormat::Heif;
    if (startsWith(pData, size, "\x89PNG", 4))
        return EnImageFormat::Png;
    if (startsWith(pData, size, "GIF8", 4))
        return EnImageFormat::Gif;
    if (startsWith(pData, size, "BM", 2))
        return EnImageFormat::Bmp;
    if (startsWith(pData, size, "RIFF", 4) && startsWith(pData, size, "WEBP", 4, 8))
        return EnImageFormat::Webp;
    return EnImageFormat::Unknown;
}

bool CImageFormat::isRawSuffix(const QString &strSuffix)
{
    static const QSet<QString> s_setSuffixes{
        QStringLiteral("dng"), QStringLiteral("cr2"), QStringLiteral("cr3"), QStringLiteral("crw"),
        QStringLiteral("nef"), QStringLiteral("nrw"), QStringLiteral("arw"), QStringLiteral("srf"),
        QStringLiteral("sr2"), QStringLiteral("orf"), QStringLiteral("rw2"), QStringLiteral("raf"),
        QStringLiteral("pef"), QStringLiteral("srw"), QStringLiteral("3fr"), QStringLiteral("erf"),
        QStringLiteral("kdc"), QStringLiteral("mrw"), QStringLiteral("x3f"), QStringLiteral("iiq"),
        QStringLiteral("rwl")};
    return s_setSuffixes.contains(strSuffix.toLower());
}
