#include "CGrayDecoder.h"

#include "CExifReader.h"
#include "CImageFormat.h"
#include "CImageLimits.h"
#include "CRawDecoder.h"
#include "CTurboJpeg.h"

#include <libheif/heif.h>
#include <libraw/libraw.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

EnDecodeStatus sizeStatus(int64_t w, int64_t h, bool bScaledDecode, std::string &strError)
{
    switch (CImageLimits::checkSize(w, h, bScaledDecode)) {
    case CImageLimits::EnSizeCheck::NoSize:
        strError = "no image size in the header";
        return EnDecodeStatus::Corrupt;
    case CImageLimits::EnSizeCheck::TooLarge:
        strError = "image dimensions too large";
        return EnDecodeStatus::TooLarge;
    case CImageLimits::EnSizeCheck::Ok:
        break;
    }
    return EnDecodeStatus::Ok;
}

// A JPEG's header, read and checked against the size limits before any decode.
EnDecodeStatus jpegHeader(const uint8_t *pData, size_t size, CTurboJpeg::CHeader &header, std::string &strError)
{
    if (!CTurboJpeg::readHeader(pData, size, header, strError))
        return EnDecodeStatus::Corrupt;
    return sizeStatus(header.iWidth, header.iHeight, true, strError);
}

// Shrinks an already decoded image so that the feature work stays cheap; a decode for
// detail keeps its size.
void shrinkToWorkSize(CGrayImage &img, int iDetailSide)
{
    constexpr int kWorkSide = 2 * CGrayDecoder::kMinLongSide;
    if (iDetailSide > 0)
        return;
    const int longSide = std::max(img.iWidth, img.iHeight);
    if (longSide <= kWorkSide)
        return;
    const double f = double(kWorkSide) / longSide;
    const int w = std::max(1, int(img.iWidth * f + 0.5));
    const int h = std::max(1, int(img.iHeight * f + 0.5));
    const std::vector<float> small = img.resized(w, h);
    CGrayImage out;
    out.iWidth = w;
    out.iHeight = h;
    out.pixels.resize(small.size());
    std::transform(small.begin(), small.end(), out.pixels.begin(),
                   [](float v) { return uint8_t(std::clamp(v + 0.5f, 0.0f, 255.0f)); });
    img = std::move(out);
}

EnDecodeStatus heifGray(heif_image_handle *pHandle, CGrayImage &img, std::string &strError)
{
    heif_image *pImage = nullptr;
    const heif_error err =
        heif_decode_image(pHandle, &pImage, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr);
    if (err.code != heif_error_Ok || !pImage) {
        strError = err.message;
        return EnDecodeStatus::Corrupt;
    }
    std::unique_ptr<heif_image, void (*)(const heif_image *)> image(pImage, heif_image_release);
    int stride = 0;
    const uint8_t *pPlane = heif_image_get_plane_readonly(pImage, heif_channel_interleaved, &stride);
    const int iw = heif_image_get_width(pImage, heif_channel_interleaved);
    const int ih = heif_image_get_height(pImage, heif_channel_interleaved);
    if (!pPlane || iw <= 0 || ih <= 0) {
        strError = "no pixels in the image";
        return EnDecodeStatus::Corrupt;
    }
    img.iWidth = iw;
    img.iHeight = ih;
    img.pixels.resize(size_t(iw) * size_t(ih));
    for (int y = 0; y < ih; ++y) {
        const uint8_t *row = pPlane + size_t(y) * size_t(stride);
        for (int x = 0; x < iw; ++x)
            img.pixels[size_t(y * iw + x)] = uint8_t((77 * row[3 * x] + 150 * row[3 * x + 1] + 29 * row[3 * x + 2]) >> 8);
    }
    return EnDecodeStatus::Ok;
}

} // namespace

EnDecodeStatus CGrayDecoder::decode(const uint8_t *pData, size_t size, bool bRawSuffix,
                                     CDecodedImage &out, std::string &strError, bool bColour)
{
    if (size < 12) {
        strError = "too short to be an image";
        return EnDecodeStatus::NotImage;
    }
    const EnImageFormat format = CImageFormat::sniff(pData, size);
    switch (format) {
    case EnImageFormat::Tiff:
        if (bRawSuffix)
            return decodeRaw(pData, size, out, strError);
        break;
    case EnImageFormat::Jpeg:
        return decodeJpeg(pData, size, out, strError, bColour);
    case EnImageFormat::Heif:
        return decodeHeif(pData, size, out, strError);
    case EnImageFormat::Unknown:
        if (bRawSuffix)
            return decodeRaw(pData, size, out, strError);
        strError = "not an image format we read";
        return EnDecodeStatus::NotImage;
    default:
        break;
    }
    // GIF holds palette indices only; a PNG says so in its header's colour type.
    out.bPalette = format == EnImageFormat::Gif || (format == EnImageFormat::Png && size > 25 && pData[25] == 3);
    return decodeWithQt(pData, size, out, strError);
}

EnDecodeStatus CGrayDecoder::decodeEmbedded(const uint8_t *pData, size_t size, CDecodedImage &out,
                                             std::string &strError, bool bColour)
{
    if (size < 12) {
        strError = "too short to be an image";
        return EnDecodeStatus::NotImage;
    }
    switch (CImageFormat::sniff(pData, size)) {
    case EnImageFormat::Jpeg:
        return embeddedJpeg(pData, size, out, strError, bColour);
    case EnImageFormat::Heif:
        return embeddedHeif(pData, size, out, strError);
    default:
        strError = "no embedded thumbnail in this format";
        return EnDecodeStatus::NotImage;
    }
}

EnDecodeStatus CGrayDecoder::decodeDetail(const uint8_t *pData, size_t size, bool bRawSuffix, int iMinSide,
                                           CDecodedImage &out, std::string &strError)
{
    iMinSide = std::max(1, iMinSide);
    if (size < 12) {
        strError = "too short to be an image";
        return EnDecodeStatus::NotImage;
    }
    const EnImageFormat format = CImageFormat::sniff(pData, size);
    if (format == EnImageFormat::Heif)
        return decodeHeif(pData, size, out, strError, iMinSide);
    if (bRawSuffix && (format == EnImageFormat::Tiff || format == EnImageFormat::Unknown))
        return decodeRaw(pData, size, out, strError, iMinSide);
    if (format != EnImageFormat::Jpeg)
        return decodeWithQt(pData, size, out, strError, iMinSide);
    CTurboJpeg::CHeader header;
    if (const EnDecodeStatus read = jpegHeader(pData, size, header, strError); read != EnDecodeStatus::Ok)
        return read;
    if (header.iColorspace == TJCS_CMYK || header.iColorspace == TJCS_YCCK)
        return decodeWithQt(pData, size, out, strError, iMinSide);
    // Grey output spares the colour planes their inverse DCT and upsampling; the
    // accurate DCT, because the fast one adds noise where the detail is looked at.
    const tjscalingfactor factor = CTurboJpeg::scaleFor(header.iWidth, header.iHeight, iMinSide);
    CGrayImage &img = out.gray;
    img.iWidth = TJSCALED(header.iWidth, factor);
    img.iHeight = TJSCALED(header.iHeight, factor);
    img.pixels.assign(size_t(img.iWidth) * size_t(img.iHeight), 0);
    if (tjDecompress2(CTurboJpeg::handle(), const_cast<unsigned char *>(pData), static_cast<unsigned long>(size),
                      img.pixels.data(), img.iWidth, 0, img.iHeight, TJPF_GRAY, TJFLAG_STOPONWARNING)
        != 0) {
        strError = CTurboJpeg::failed();
        out.gray = {};
        return EnDecodeStatus::Corrupt;
    }
    out.iFullWidth = header.iWidth;
    out.iFullHeight = header.iHeight;
    out.bGrey = header.iSubsamp == TJSAMP_GRAY;
    return EnDecodeStatus::Ok;
}

EnDecodeStatus CGrayDecoder::embeddedJpeg(const uint8_t *pData, size_t size, CDecodedImage &out,
                                           std::string &strError, bool bColour)
{
    CTurboJpeg::CHeader header;
    if (const EnDecodeStatus read = jpegHeader(pData, size, header, strError); read != EnDecodeStatus::Ok)
        return read;
    const QSize frame(header.iWidth, header.iHeight);
    const CExifReader::CJpegExif exif = CExifReader::inspectJpeg(pData, size, frame, kMinEmbeddedSide);
    if (exif.preview.isEmpty() || (!exif.statedSize.isEmpty() && exif.statedSize != frame)) {
        strError = "no trusted embedded thumbnail";
        return EnDecodeStatus::NotImage;
    }
    const auto *pPreview = reinterpret_cast<const uint8_t *>(exif.preview.constData());
    CDecodedImage preview;
    if (decodeJpeg(pPreview, size_t(exif.preview.size()), preview, strError, false) != EnDecodeStatus::Ok
        || !CExifReader::previewMatches(QSize(preview.iFullWidth, preview.iFullHeight), frame)) {
        strError = "embedded thumbnail unreadable or of another shape";
        return EnDecodeStatus::NotImage;
    }
    out.gray = std::move(preview.gray);
    out.iFullWidth = header.iWidth;
    out.iFullHeight = header.iHeight;
    out.iOrientation = exif.iOrientation;
    out.bGrey = header.iSubsamp == TJSAMP_GRAY;
    if (bColour)
        out.colour = QImage::fromData(exif.preview, "JPEG");
    return EnDecodeStatus::Ok;
}

EnDecodeStatus CGrayDecoder::embeddedHeif(const uint8_t *pData, size_t size, CDecodedImage &out,
                                           std::string &strError)
{
    std::unique_ptr<heif_context, void (*)(heif_context *)> ctx(heif_context_alloc(), heif_context_free);
    heif_image_handle *pPrimary = nullptr;
    if (heif_context_read_from_memory_without_copy(ctx.get(), pData, size, nullptr).code != heif_error_Ok
        || heif_context_get_primary_image_handle(ctx.get(), &pPrimary).code != heif_error_Ok) {
        strError = "unreadable HEIF container";
        return EnDecodeStatus::Corrupt;
    }
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)> primary(pPrimary, heif_image_handle_release);
    const int w = heif_image_handle_get_width(pPrimary);
    const int h = heif_image_handle_get_height(pPrimary);
    if (const EnDecodeStatus sized = sizeStatus(w, h, false, strError); sized != EnDecodeStatus::Ok)
        return sized;
    heif_item_id id = 0;
    heif_image_handle *pThumb = nullptr;
    if (heif_image_handle_get_number_of_thumbnails(pPrimary) < 1
        || heif_image_handle_get_list_of_thumbnail_IDs(pPrimary, &id, 1) != 1
        || heif_image_handle_get_thumbnail(pPrimary, id, &pThumb).code != heif_error_Ok) {
        strError = "no embedded thumbnail";
        return EnDecodeStatus::NotImage;
    }
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)> thumb(pThumb, heif_image_handle_release);
    const QSize thumbSize(heif_image_handle_get_width(pThumb), heif_image_handle_get_height(pThumb));
    if (std::max(thumbSize.width(), thumbSize.height()) < kMinEmbeddedSide
        || sizeStatus(thumbSize.width(), thumbSize.height(), false, strError) != EnDecodeStatus::Ok
        || !CExifReader::previewMatches(thumbSize, QSize(w, h))) {
        strError = "no trusted embedded thumbnail";
        return EnDecodeStatus::NotImage;
    }
    if (const EnDecodeStatus decoded = heifGray(pThumb, out.gray, strError); decoded != EnDecodeStatus::Ok)
        return decoded;
    out.iFullWidth = w;
    out.iFullHeight = h;
    out.iOrientation = 1;  // libheif applies the container's rotation and mirror
    return EnDecodeStatus::Ok;
}

EnDecodeStatus CGrayDecoder::decodeJpeg(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                         bool bColour)
{
    CTurboJpeg::CHeader header;
    if (const EnDecodeStatus read = jpegHeader(pData, size, header, strError); read != EnDecodeStatus::Ok)
        return read;
    const int w = header.iWidth, h = header.iHeight, subsamp = header.iSubsamp, colorspace = header.iColorspace;
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK)
        return decodeWithQt(pData, size, out, strError);
    const tjhandle handle = CTurboJpeg::handle();
    auto *pBuf = const_cast<unsigned char *>(pData);

    // The smallest DCT scale that still leaves kMinLongSide pixels: a 12 MP photo
    // decodes at 1/8, which skips nearly all of the inverse DCT.
    const tjscalingfactor best = CTurboJpeg::scaleFor(w, h, kMinLongSide);
    CGrayImage &img = out.gray;
    img.iWidth = TJSCALED(w, best);
    img.iHeight = TJSCALED(h, best);
    img.pixels.assign(size_t(img.iWidth) * size_t(img.iHeight), 0);
    const bool bLarge = bColour && int64_t(w) * h >= kMinColourPixels;
    // A warning (truncated data, bad Huffman code) fails the photo: a half-grey
    // decode would hash as a different picture.
    constexpr int kFlags = TJFLAG_FASTDCT | TJFLAG_STOPONWARNING;
    if (bLarge && colorspace == TJCS_YCbCr && subsamp != TJSAMP_GRAY) {
        // Decoding to planes gives the luma exactly as the grey decode does (that is
        // all a grey decode keeps of YCbCr), so the hashes match those of earlier scans.
        thread_local std::vector<uint8_t> planes;
        int strides[3] = {0, 0, 0};
        size_t offsets[4] = {0, 0, 0, 0};
        for (int i = 0; i < 3; ++i) {
            strides[i] = tjPlaneWidth(i, img.iWidth, subsamp);
            offsets[i + 1] = offsets[i] + size_t(tjPlaneSizeYUV(i, img.iWidth, strides[i], img.iHeight, subsamp));
        }
        planes.resize(offsets[3]);
        unsigned char *dst[3] = {planes.data(), planes.data() + offsets[1], planes.data() + offsets[2]};
        if (tjDecompressToYUVPlanes(handle, pBuf, static_cast<unsigned long>(size), dst, img.iWidth, strides,
                                    img.iHeight, kFlags) != 0) {
            strError = CTurboJpeg::failed();
            return EnDecodeStatus::Corrupt;
        }
        for (int y = 0; y < img.iHeight; ++y)
            std::memcpy(img.pixels.data() + size_t(y) * size_t(img.iWidth), dst[0] + size_t(y) * size_t(strides[0]),
                        size_t(img.iWidth));
        QImage colour(img.iWidth, img.iHeight, QImage::Format_RGB32);
        const unsigned char *src[3] = {dst[0], dst[1], dst[2]};
        // Format_RGB32 is BGRX in memory on the little-endian machines we build for.
        // A failure here loses only the colour: the grey image stands.
        if (!colour.isNull()) {
            if (tjDecodeYUVPlanes(handle, src, strides, subsamp, colour.bits(), img.iWidth, int(colour.bytesPerLine()),
                                  img.iHeight, Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB, 0) == 0) {
                out.colour = std::move(colour);
            } else {
                CTurboJpeg::failed();
            }
        }
    } else {
        if (tjDecompress2(handle, pBuf, static_cast<unsigned long>(size), img.pixels.data(), img.iWidth, 0,
                          img.iHeight, TJPF_GRAY, kFlags) != 0) {
            strError = CTurboJpeg::failed();
            return EnDecodeStatus::Corrupt;
        }
        if (bLarge && subsamp == TJSAMP_GRAY)
            out.colour = QImage(img.pixels.data(), img.iWidth, img.iHeight, img.iWidth, QImage::Format_Grayscale8).copy();
    }
    out.iFullWidth = w;
    out.iFullHeight = h;
    out.iJpegQuality = CTurboJpeg::quality(pData, size);
    out.bGrey = subsamp == TJSAMP_GRAY;
    shrinkToWorkSize(img, 0);
    return EnDecodeStatus::Ok;
}

EnDecodeStatus CGrayDecoder::decodeHeif(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                         int iDetailSide)
{
    std::unique_ptr<heif_context, void (*)(heif_context *)> ctx(heif_context_alloc(), heif_context_free);
    heif_error err = heif_context_read_from_memory_without_copy(ctx.get(), pData, size, nullptr);
    if (err.code != heif_error_Ok) {
        strError = err.message;
        return EnDecodeStatus::Corrupt;
    }
    heif_image_handle *pPrimary = nullptr;
    err = heif_context_get_primary_image_handle(ctx.get(), &pPrimary);
    if (err.code != heif_error_Ok) {
        strError = err.message;
        return EnDecodeStatus::Corrupt;
    }
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)> primary(pPrimary, heif_image_handle_release);
    const int w = heif_image_handle_get_width(pPrimary);
    const int h = heif_image_handle_get_height(pPrimary);
    if (const EnDecodeStatus sized = sizeStatus(w, h, false, strError); sized != EnDecodeStatus::Ok)
        return sized;
    // Phones store a small thumbnail beside the tiles: decoding it is many times faster.
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)> source(nullptr, heif_image_handle_release);
    if (heif_image_handle_get_number_of_thumbnails(pPrimary) > 0) {
        heif_item_id id = 0;
        heif_image_handle *pThumb = nullptr;
        if (heif_image_handle_get_list_of_thumbnail_IDs(pPrimary, &id, 1) == 1
            && heif_image_handle_get_thumbnail(pPrimary, id, &pThumb).code == heif_error_Ok) {
            source.reset(pThumb);
            if (std::max(heif_image_handle_get_width(pThumb), heif_image_handle_get_height(pThumb))
                < (iDetailSide > 0 ? iDetailSide : kMinLongSide / 2))
                source.reset();
        }
    }
    if (const EnDecodeStatus decoded = heifGray(source ? source.get() : pPrimary, out.gray, strError);
        decoded != EnDecodeStatus::Ok)
        return decoded;
    out.iFullWidth = w;
    out.iFullHeight = h;
    out.iOrientation = 1;  // libheif applies the container's rotation and mirror
    shrinkToWorkSize(out.gray, iDetailSide);
    return EnDecodeStatus::Ok;
}

EnDecodeStatus CGrayDecoder::decodeRaw(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                        int iDetailSide)
{
    std::unique_ptr<libraw_data_t, void (*)(libraw_data_t *)> raw(libraw_init(0), libraw_close);
    if (!raw) {
        strError = "libraw unavailable";
        return EnDecodeStatus::Corrupt;
    }
    int rc = libraw_open_buffer(raw.get(), const_cast<uint8_t *>(pData), size);
    if (rc != LIBRAW_SUCCESS) {
        strError = libraw_strerror(rc);
        return rc == LIBRAW_FILE_UNSUPPORTED ? EnDecodeStatus::NotImage : EnDecodeStatus::Corrupt;
    }
    const int w = raw->sizes.width, h = raw->sizes.height;
    if (const EnDecodeStatus sized = sizeStatus(w, h, false, strError); sized != EnDecodeStatus::Ok)
        return sized;
    // The embedded preview is a JPEG in the sensor's frame: decode it fast and let
    // the caller turn it by libraw's flip (3 = 180 degrees, 5 = 90 counter-clockwise,
    // 6 = 90 clockwise), given here as the matching EXIF code.
    const int flip = raw->sizes.flip;
    if (libraw_unpack_thumb(raw.get()) == LIBRAW_SUCCESS && raw->thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG
        && raw->thumbnail.thumb && raw->thumbnail.tlength > 0) {
        CDecodedImage preview;
        std::string err;
        if (decodeJpeg(reinterpret_cast<const uint8_t *>(raw->thumbnail.thumb), raw->thumbnail.tlength, preview, err,
                       false)
                == EnDecodeStatus::Ok
            && std::max(preview.gray.iWidth, preview.gray.iHeight) >= (iDetailSide > 0 ? iDetailSide : kMinLongSide / 2)) {
            out.gray = std::move(preview.gray);
            out.iFullWidth = w;
            out.iFullHeight = h;
            out.iOrientation = CRawDecoder::orientationOfFlip(flip);
            return EnDecodeStatus::Ok;
        }
    }
    const bool bSwap = flip == 5 || flip == 6;
    out.iFullWidth = bSwap ? h : w;
    out.iFullHeight = bSwap ? w : h;
    out.iOrientation = 1;
    raw->params.half_size = 1;
    raw->params.use_camera_wb = 1;
    if ((rc = libraw_unpack(raw.get())) != LIBRAW_SUCCESS || (rc = libraw_dcraw_process(raw.get())) != LIBRAW_SUCCESS) {
        strError = libraw_strerror(rc);
        return EnDecodeStatus::Corrupt;
    }
    libraw_processed_image_t *pImage = libraw_dcraw_make_mem_image(raw.get(), &rc);
    if (!pImage || pImage->type != LIBRAW_IMAGE_BITMAP || pImage->bits != 8 || pImage->colors < 1) {
        if (pImage)
            libraw_dcraw_clear_mem(pImage);
        strError = "libraw gave no bitmap";
        return EnDecodeStatus::Corrupt;
    }
    CGrayImage &img = out.gray;
    img.iWidth = pImage->width;
    img.iHeight = pImage->height;
    img.pixels.resize(size_t(img.iWidth) * size_t(img.iHeight));
    const int colors = pImage->colors;
    for (size_t i = 0; i < img.pixels.size(); ++i) {
        const uint8_t *p = pImage->data + i * size_t(colors);
        img.pixels[i] = colors >= 3 ? uint8_t((77 * p[0] + 150 * p[1] + 29 * p[2]) >> 8) : p[0];
    }
    libraw_dcraw_clear_mem(pImage);
    shrinkToWorkSize(img, iDetailSide);
    return EnDecodeStatus::Ok;  // dcraw_process has already applied the flip
}

EnDecodeStatus CGrayDecoder::decodeWithQt(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                           int iDetailSide)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(pData), int(std::min<size_t>(size, INT32_MAX)));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    if (!full.isValid()) {
        strError = reader.errorString().toStdString();
        return reader.error() == QImageReader::UnsupportedFormatError ? EnDecodeStatus::NotImage : EnDecodeStatus::Corrupt;
    }
    if (const EnDecodeStatus sized = sizeStatus(full.width(), full.height(), false, strError);
        sized != EnDecodeStatus::Ok)
        return sized;
    const int longSide = std::max(full.width(), full.height());
    if (iDetailSide == 0 && longSide > 2 * kMinLongSide && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(full.scaled(2 * kMinLongSide, 2 * kMinLongSide, Qt::KeepAspectRatio));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        strError = reader.errorString().toStdString();
        return EnDecodeStatus::Corrupt;
    }
    CGrayImage &img = out.gray;
    img.iWidth = image.width();
    img.iHeight = image.height();
    img.pixels.resize(size_t(img.iWidth) * size_t(img.iHeight));
    out.bPalette = out.bPalette || image.format() == QImage::Format_Indexed8;
    out.bGrey = image.isGrayscale();
    if (image.hasAlphaChannel()) {
        // Transparent parts are compared as a viewer shows them: on white, not as
        // whatever colour the file keeps under zero alpha.
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.iHeight; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            uint8_t *dst = img.pixels.data() + size_t(y) * size_t(img.iWidth);
            for (int x = 0; x < img.iWidth; ++x) {
                const int a = qAlpha(line[x]);
                dst[x] = uint8_t((qGray(line[x]) * a + 255 * (255 - a) + 127) / 255);
            }
        }
    } else {
        image = image.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < img.iHeight; ++y)
            std::memcpy(img.pixels.data() + size_t(y) * size_t(img.iWidth), image.constScanLine(y), size_t(img.iWidth));
    }
    out.iFullWidth = full.width();
    out.iFullHeight = full.height();
    shrinkToWorkSize(img, iDetailSide);
    return EnDecodeStatus::Ok;
}
