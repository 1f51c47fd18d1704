#include "CImageDecoder.h"

#include "CExifReader.h"
#include "CHeifDecoder.h"
#include "CImageFormat.h"
#include "CImageLimits.h"
#include "CRawDecoder.h"
#include "CTurboJpeg.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>


namespace {

void setError(QString *pstrError, const QString &strError)
{
    if (pstrError)
        *pstrError = strError;
}

QByteArray readHead(const QString &strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(CImageFormat::kHeadSize);
}

// The limits' answer for a header, as a message; empty when the size may be decoded.
QString sizeProblem(int iWidth, int iHeight, bool bScaledDecode)
{
    switch (CImageLimits::checkSize(iWidth, iHeight, bScaledDecode)) {
    case CImageLimits::EnSizeCheck::NoSize:
        return QStringLiteral("no image size in the header");
    case CImageLimits::EnSizeCheck::TooLarge:
        return QStringLiteral("refused: header claims %1 x %2 pixels").arg(iWidth).arg(iHeight);
    case CImageLimits::EnSizeCheck::Ok:
        break;
    }
    return {};
}

QImage decodeWithQt(const QString &strPath, int iMaxSide, QString *pstrError)
{
    QImageReader reader(strPath);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid()) {
        setError(pstrError, reader.errorString());
        return {};
    }
    if (const QString strProblem = sizeProblem(size.width(), size.height(), false); !strProblem.isEmpty()) {
        setError(pstrError, strProblem);
        return {};
    }
    if (qMax(size.width(), size.height()) > iMaxSide)
        reader.setScaledSize(size.scaled(iMaxSide, iMaxSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull()) {
        setError(pstrError, reader.errorString());
        return {};
    }
    image = CImageDecoder::fitInto(image, iMaxSide);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// iOrientation 0 reads the orientation from the data.
QImage decodeJpegOriented(const QByteArray &data, int iMaxSide, int iOrientation, QString *pstrError,
                          bool *pbOtherDecoder)
{
    auto *pData = reinterpret_cast<const unsigned char *>(data.constData());
    const auto size = static_cast<unsigned long>(data.size());
    CTurboJpeg::CHeader header;
    std::string strHeaderError;
    if (!CTurboJpeg::readHeader(pData, size, header, strHeaderError)) {
        setError(pstrError, QString::fromStdString(strHeaderError));
        return {};
    }
    const int iWidth = header.iWidth;
    const int iHeight = header.iHeight;
    if (const QString strProblem = sizeProblem(iWidth, iHeight, true); !strProblem.isEmpty()) {
        setError(pstrError, strProblem);
        return {};
    }
    // TurboJPEG cannot turn CMYK into RGB; Qt's plug-in can.
    if (header.iColorspace == TJCS_CMYK || header.iColorspace == TJCS_YCCK) {
        setError(pstrError, QStringLiteral("CMYK JPEG"));
        if (pbOtherDecoder)
            *pbOtherDecoder = true;
        return {};
    }
    const tjscalingfactor factor = CTurboJpeg::scaleFor(iWidth, iHeight, iMaxSide);
    QImage image(TJSCALED(iWidth, factor), TJSCALED(iHeight, factor), QImage::Format_RGB32);
    if (image.isNull()) {
        setError(pstrError, QStringLiteral("out of memory"));
        return {};
    }
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    constexpr int kPixelFormat = TJPF_BGRX;
#else
    constexpr int kPixelFormat = TJPF_XRGB;
#endif
    // Fast DCT and upsampling cost nothing visible once the picture is scaled down.
    const int iFlags = iMaxSide <= CImageDecoder::kThumbSide ? TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE : 0;
    const tjhandle handle = CTurboJpeg::handle();
    if (tjDecompress2(handle, pData, size, image.bits(), image.width(), static_cast<int>(image.bytesPerLine()),
                      image.height(), kPixelFormat, iFlags) != 0) {
        const bool bWarning = tjGetErrorCode(handle) == TJERR_WARNING;
        const QString strError = QString::fromStdString(CTurboJpeg::failed());
        // Warnings such as stray bytes between markers are common in camera files and
        // harmless; a file that ends early is not a picture we can show.
        if (!bWarning || strError.contains(QLatin1String("Premature end"))) {
            setError(pstrError, strError);
            return {};
        }
    }
    image = CImageDecoder::fitInto(image, iMaxSide);
    if (iOrientation == 0)
        iOrientation = CExifReader::orientationOf(pData, size);
    return CExifReader::orient(image, iOrientation);
}

bool readJpegSize(const QByteArray &data, QSize &size)
{
    CTurboJpeg::CHeader header;
    std::string strError;
    if (!CTurboJpeg::readHeader(reinterpret_cast<const unsigned char *>(data.constData()), std::size_t(data.size()),
                                header, strError)
        || header.iWidth <= 0 || header.iHeight <= 0)
        return false;
    size = QSize(header.iWidth, header.iHeight);
    return true;
}

// A copy cut short keeps its EXIF block and preview intact; only the end of the file
// tells it from a whole one. Entropy-coded data never holds FF D9, padding may follow.
bool endsWithImageEnd(QIODevice &file, qint64 i64Size, const QByteArray &head)
{
    constexpr int kTail = 32;
    QByteArray tail;
    if (head.size() >= i64Size) {
        tail = head.right(kTail);
    } else {
        if (!file.seek(qMax<qint64>(0, i64Size - kTail)))
            return false;
        tail = file.read(kTail);
    }
    return tail.contains("\xFF\xD9");
}

} // namespace

CImageDecoder::EnKind CImageDecoder::kindOf(const QString &strPath, const QByteArray &head)
{
    const EnImageFormat format = CImageFormat::sniff(reinterpret_cast<const uint8_t *>(head.constData()),
                                                     std::size_t(head.size()));
    if (format == EnImageFormat::Jpeg)
        return EnKind::Jpeg;
    if (CImageFormat::isRawSuffix(QFileInfo(strPath).suffix()))
        return EnKind::Raw;
    return format == EnImageFormat::Heif ? EnKind::Heif : EnKind::Other;
}

QImage CImageDecoder::fitInto(const QImage &image, int iMaxSide)
{
    if (image.isNull() || qMax(image.width(), image.height()) <= iMaxSide)
        return image;
    return image.scaled(iMaxSide, iMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage CImageDecoder::decodeJpeg(const QByteArray &data, int iMaxSide, bool bOrient, QString *pstrError,
                                 bool *pbOtherDecoder)
{
    return decodeJpegOriented(data, iMaxSide, bOrient ? 0 : 1, pstrError, pbOtherDecoder);
}

QImage CImageDecoder::decodeJpegFile(QIODevice &file, int iMaxSide, QString *pstrError, bool *pbOtherDecoder)
{
    const qint64 i64Size = file.size();
    // A 12 MP photo is decoded in tens of milliseconds even at 1/8 scale, because all
    // of its entropy-coded data must be read; its embedded preview takes one or two.
    QByteArray data = file.read(kJpegHeadSize);
    int iOrientation = 0;
    QSize size;
    if (readJpegSize(data, size)) {
        const int iMinSide = qMin(iMaxSide, qMax(size.width(), size.height()));
        const CExifReader::CJpegExif exif = CExifReader::inspectJpeg(
            reinterpret_cast<const unsigned char *>(data.constData()), std::size_t(data.size()), size, iMinSide);
        iOrientation = exif.iOrientation;
        if (!exif.preview.isEmpty() && endsWithImageEnd(file, i64Size, data)) {
            QImage preview = decodeJpegOriented(exif.preview, iMaxSide, 1, nullptr, nullptr);
            if (!preview.isNull()) {
                // The preview's shape may be off by its rounding; the thumbnail keeps the photo's.
                const QSize expected = qMax(size.width(), size.height()) > iMaxSide
                    ? size.scaled(iMaxSide, iMaxSide, Qt::KeepAspectRatio)
                    : size;
                if (preview.size() != expected)
                    preview = preview.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                return CExifReader::orient(preview, iOrientation);
            }
        }
    }
    if (data.size() < i64Size) {
        if (!file.seek(data.size())) {
            setError(pstrError, file.errorString());
            return {};
        }
        data += file.readAll();
    }
    return decodeJpegOriented(data, iMaxSide, iOrientation, pstrError, pbOtherDecoder);
}

QImage CImageDecoder::decode(const QString &strPath, int iMaxSide, QString *pstrError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(pstrError, file.errorString());
        return {};
    }
    if (file.size() == 0) {
        setError(pstrError, QStringLiteral("empty file"));
        return {};
    }
    if (file.size() > CImageLimits::kMaxFileBytes) {
        setError(pstrError, QStringLiteral("refused: %1 bytes").arg(file.size()));
        return {};
    }
    const QByteArray head = file.peek(CImageFormat::kHeadSize);
    switch (kindOf(strPath, head)) {
    case EnKind::Jpeg: {
        bool bOtherDecoder = false;
        QImage image = decodeJpegFile(file, iMaxSide, pstrError, &bOtherDecoder);
        if (!bOtherDecoder)
            return image;
        break;
    }
    case EnKind::Heif:
        return fitInto(CHeifDecoder::decode(strPath, iMaxSide, pstrError), iMaxSide);
    case EnKind::Raw:
        return fitInto(CRawDecoder::decode(strPath, iMaxSide, pstrError), iMaxSide);
    case EnKind::Other:
        break;
    }
    file.close();
    return decodeWithQt(strPath, iMaxSide, pstrError);
}

bool CImageDecoder::readSize(const QString &strPath, QSize &size)
{
    const QByteArray head = readHead(strPath);
    if (head.isEmpty())
        return false;
    switch (kindOf(strPath, head)) {
    case EnKind::Heif:
        return CHeifDecoder::readSize(strPath, size);
    case EnKind::Raw:
        return CRawDecoder::readSize(strPath, size);
    case EnKind::Jpeg:
    case EnKind::Other:
        break;
    }
    QImageReader reader(strPath);
    reader.setDecideFormatFromContent(true);
    const QSize readSize = reader.size();
    if (!readSize.isValid() || readSize.isEmpty())
        return false;
    size = readSize;
    return true;
}

QVariantMap CImageDecoder::readMeta(const QString &strPath)
{
    if (kindOf(strPath, readHead(strPath)) == EnKind::Heif)
        return CHeifDecoder::readMeta(strPath);
    return CExifReader::metaOfFile(strPath);
}
