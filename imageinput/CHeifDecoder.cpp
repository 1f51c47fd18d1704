#include "CHeifDecoder.h"

#include "CExifReader.h"
#include "CImageLimits.h"

#include <QFile>

#include <libheif/heif.h>

#include <memory>
#include <vector>

namespace {

struct CHeifFree
{
    void operator()(heif_context *p) const { heif_context_free(p); }
    void operator()(heif_image_handle *p) const { heif_image_handle_release(p); }
    void operator()(heif_image *p) const { heif_image_release(p); }
};
using HeifContextPtr = std::unique_ptr<heif_context, CHeifFree>;
using HeifHandlePtr = std::unique_ptr<heif_image_handle, CHeifFree>;
using HeifImagePtr = std::unique_ptr<heif_image, CHeifFree>;

// Opens the file and its primary picture; null handle and a message on failure.
HeifHandlePtr openPrimary(const QString &strPath, HeifContextPtr &context, QString *pstrError)
{
    context.reset(heif_context_alloc());
    heif_error error = heif_context_read_from_file(context.get(), QFile::encodeName(strPath).constData(), nullptr);
    heif_image_handle *pHandle = nullptr;
    if (error.code == heif_error_Ok)
        error = heif_context_get_primary_image_handle(context.get(), &pHandle);
    if (error.code != heif_error_Ok) {
        if (pstrError)
            *pstrError = QString::fromUtf8(error.message);
        return {};
    }
    return HeifHandlePtr(pHandle);
}

int longestSide(const heif_image_handle *pHandle)
{
    return qMax(heif_image_handle_get_width(pHandle), heif_image_handle_get_height(pHandle));
}

} // namespace

QImage CHeifDecoder::decode(const QString &strPath, int iMaxSide, QString *pstrError)
{
    HeifContextPtr context;
    HeifHandlePtr primary = openPrimary(strPath, context, pstrError);
    if (!primary)
        return {};
    const int iFullWidth = heif_image_handle_get_width(primary.get());
    const int iFullHeight = heif_image_handle_get_height(primary.get());
    if (CImageLimits::checkSize(iFullWidth, iFullHeight, false) != CImageLimits::EnSizeCheck::Ok) {
        if (pstrError)
            *pstrError = QStringLiteral("refused: header claims %1 x %2 pixels").arg(iFullWidth).arg(iFullHeight);
        return {};
    }

    HeifHandlePtr chosen;
    const int iThumbCount = heif_image_handle_get_number_of_thumbnails(primary.get());
    if (iThumbCount > 0) {
        std::vector<heif_item_id> listIds(static_cast<std::size_t>(iThumbCount));
        heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), listIds.data(), iThumbCount);
        for (const heif_item_id id : listIds) {
            heif_image_handle *pThumb = nullptr;
            if (heif_image_handle_get_thumbnail(primary.get(), id, &pThumb).code != heif_error_Ok)
                continue;
            HeifHandlePtr thumb(pThumb);
            if (longestSide(thumb.get()) >= iMaxSide && (!chosen || longestSide(thumb.get()) < longestSide(chosen.get())))
                chosen = std::move(thumb);
        }
    }
    const heif_image_handle *pHandle = chosen ? chosen.get() : primary.get();

    heif_image *pImage = nullptr;
    const heif_error error = heif_decode_image(pHandle, &pImage, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    HeifImagePtr decoded(pImage);
    if (error.code != heif_error_Ok || !decoded) {
        if (pstrError)
            *pstrError = QString::fromUtf8(error.message);
        return {};
    }
    int iStride = 0;
    const uint8_t *pPlane = heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &iStride);
    const int iWidth = heif_image_get_width(decoded.get(), heif_channel_interleaved);
    const int iHeight = heif_image_get_height(decoded.get(), heif_channel_interleaved);
    if (!pPlane || iWidth <= 0 || iHeight <= 0) {
        if (pstrError)
            *pstrError = QStringLiteral("no pixels");
        return {};
    }
    QImage image(pPlane, iWidth, iHeight, iStride, QImage::Format_RGBA8888);
    // The wrapper borrows libheif's buffer; convert before it is released.
    return image.convertToFormat(heif_image_handle_has_alpha_channel(pHandle) ? QImage::Format_ARGB32_Premultiplied
                                                                            : QImage::Format_RGB32);
}

bool CHeifDecoder::readSize(const QString &strPath, QSize &size)
{
    HeifContextPtr context;
    const HeifHandlePtr primary = openPrimary(strPath, context, nullptr);
    if (!primary)
        return false;
    size = QSize(heif_image_handle_get_width(primary.get()), heif_image_handle_get_height(primary.get()));
    return size.isValid() && !size.isEmpty();
}

QVariantMap CHeifDecoder::readMeta(const QString &strPath)
{
    HeifContextPtr context;
    const HeifHandlePtr primary = openPrimary(strPath, context, nullptr);
    if (!primary)
        return {};
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(primary.get(), "Exif", &id, 1) < 1)
        return {};
    const std::size_t size = heif_image_handle_get_metadata_size(primary.get(), id);
    std::vector<uint8_t> block(size);
    if (size < 4 || heif_image_handle_get_metadata(primary.get(), id, block.data()).code != heif_error_Ok)
        return {};
    // The block opens with the big-endian distance from its end to the TIFF header.
    const std::size_t skip = 4 + ((std::size_t(block[0]) << 24) | (std::size_t(block[1]) << 16)
                                  | (std::size_t(block[2]) << 8) | std::size_t(block[3]));
    if (skip >= size)
        return {};
    return CExifReader::metaOfExifBlock(block.data() + skip, size - skip);
}
