#include "CPathCodec.h"

namespace dp::platform {

namespace {

constexpr ushort kEscapeBase = 0xDC00;

bool isEscape(ushort unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

// Length of the valid UTF-8 sequence at p (1..4), or 0 when the bytes there are not one.
int validSequence(const unsigned char *p, int iLeft)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    int iLength = 0;
    unsigned int code = 0;
    if ((c & 0xE0) == 0xC0) {
        iLength = 2;
        code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        iLength = 3;
        code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        iLength = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (iLength > iLeft)
        return 0;
    for (int i = 1; i < iLength; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
    static constexpr unsigned int kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[iLength] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return iLength;
}

} // namespace

QString pathFromBytes(const QByteArray &arrBytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(arrBytes.constData());
    const int iSize = arrBytes.size();
    QString out;
    out.reserve(iSize);
    int i = 0;
    while (i < iSize) {
        int iStart = i;
        int iLength = 0;
        while (i < iSize && (iLength = validSequence(p + i, iSize - i)) > 0)
            i += iLength;
        if (i > iStart)
            out += QString::fromUtf8(arrBytes.constData() + iStart, i - iStart);
        if (i < iSize) {
            out += QChar(ushort(kEscapeBase + p[i]));
            ++i;
        }
    }
    return out;
}

QByteArray pathToBytes(const QString &strPath)
{
    if (!needsRawAccess(strPath))
        return strPath.toUtf8();
    QByteArray out;
    out.reserve(strPath.size() * 2);
    int iStart = 0;
    for (int i = 0; i < strPath.size(); ++i) {
        const ushort unit = strPath.at(i).unicode();
        // A lone escape is one raw byte; a paired surrogate is a real character.
        const bool bPairedLow = i > 0 && strPath.at(i - 1).isHighSurrogate();
        if (isEscape(unit) && !bPairedLow) {
            out += strPath.midRef(iStart, i - iStart).toUtf8();
            out += char(unit - kEscapeBase);
            iStart = i + 1;
        }
    }
    out += strPath.midRef(iStart).toUtf8();
    return out;
}

bool needsRawAccess(const QString &strPath)
{
    for (int i = 0; i < strPath.size(); ++i) {
        if (isEscape(strPath.at(i).unicode()) && !(i > 0 && strPath.at(i - 1).isHighSurrogate()))
            return true;
    }
    return false;
}

} // namespace dp::platform
