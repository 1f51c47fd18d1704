#include "CRawDecoder.h"

#include "CExifReader.h"
#include "CImageDecoder.h"
#include "CImageLimits.h"

#include <QFile>

#include <libraw/libraw.h>

#include <memory>

namespace {

struct CRawImageFree
{
    void operator()(libraw_processed_image_t *p) const { LibRaw::dcraw_clear_mem(p); }
};
using RawImagePtr = std::unique_ptr<libraw_processed_image_t, CRawImageFree>;

void setError(QString *pstrError, const QString &strError)
{
    if (pstrError)
        *pstrError = strError;
}

QImage imageOf(const libraw_processed_image_t *pImage, int iMaxSide, QString *pstrError)
{
    if (pImage->type == LIBRAW_IMAGE_JPEG) {
        const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(pImage->data),
                                                        static_cast<int>(pImage->data_size));
        // libraw's flip, not the preview's own tags, describes how the photo stands.
        return CImageDecoder::decodeJpeg(data, iMaxSide, false, pstrError);
    }
    if (pImage->type == LIBRAW_IMAGE_BITMAP && pImage->bits == 8 && pImage->colors == 3) {
        const QImage borrowed(pImage->data, pImage->width, pImage->height, pImage->width * 3, QImage::Format_RGB888);
        return CImageDecoder::fitInto(borrowed, iMaxSide).convertToFormat(QImage::Format_RGB32);
    }
    setError(pstrError, QStringLiteral("unsupported raw preview"));
    return {};
}

} // namespace

QImage CRawDecoder::decode(const QString &strPath, int iMaxSide, QString *pstrError)
{
    // LibRaw is a large object: keep it off the worker's stack.
    auto pRaw = std::make_unique<LibRaw>();
    int iResult = pRaw->open_file(QFile::encodeName(strPath).constData());
    if (iResult != LIBRAW_SUCCESS) {
        setError(pstrError, QString::fromUtf8(libraw_strerror(iResult)));
        return {};
    }
    const libraw_image_sizes_t &sizes = pRaw->imgdata.sizes;
    if (CImageLimits::checkSize(sizes.width, sizes.height, false) != CImageLimits::EnSizeCheck::Ok) {
        setError(pstrError, QStringLiteral("refused: header claims %1 x %2 pixels").arg(sizes.width).arg(sizes.height));
        return {};
    }
    const int iOrientation = orientationOfFlip(sizes.flip);

    int iError = LIBRAW_SUCCESS;
    if (pRaw->unpack_thumb() == LIBRAW_SUCCESS) {
        const RawImagePtr thumb(pRaw->dcraw_make_mem_thumb(&iError));
        // A preview of half the wanted size still looks right once QML scales it; a
        // smaller one would be blurred, so we develop the raw data instead.
        if (thumb && qMax(thumb->width, thumb->height) * 2 >= iMaxSide) {
            const QImage image = imageOf(thumb.get(), iMaxSide, pstrError);
            if (!image.isNull())
                return CExifReader::orient(image, iOrientation);
        }
    }

    pRaw->imgdata.params.half_size = 1;
    iResult = pRaw->unpack();
    if (iResult == LIBRAW_SUCCESS)
        iResult = pRaw->dcraw_process();
    if (iResult != LIBRAW_SUCCESS) {
        setError(pstrError, QString::fromUtf8(libraw_strerror(iResult)));
        return {};
    }
    // The developed image already has libraw's flip applied.
    const RawImagePtr developed(pRaw->dcraw_make_mem_image(&iError));
    if (!developed) {
        setError(pstrError, QString::fromUtf8(libraw_strerror(iError)));
        return {};
    }
    return imageOf(developed.get(), iMaxSide, pstrError);
}

int CRawDecoder::orientationOfFlip(int iFlip)
{
    switch (iFlip) {
    case 3:
        return 3;
    case 5:
        return 8;
    case 6:
        return 6;
    default:
        return 1;
    }
}

bool CRawDecoder::readSize(const QString &strPath, QSize &size)
{
    auto pRaw = std::make_unique<LibRaw>();
    if (pRaw->open_file(QFile::encodeName(strPath).constData()) != LIBRAW_SUCCESS)
        return false;
    const libraw_image_sizes_t &sizes = pRaw->imgdata.sizes;
    size = QSize(sizes.width, sizes.height);
    return size.isValid() && !size.isEmpty();
}
