#include "CFeatureExtractor.h"

#include "CDetailMeasure.h"
#include "CGrayImage.h"
#include "CImageFormat.h"
#include "CImageLimits.h"
#include "CGrayDecoder.h"
#include "CPhotoFeature.h"
#include "CPhotoMetadata.h"
#include "CScanThumbs.h"
#include "CSimilarity.h"

#include "CScanFiles.h"

#include <QFile>

#include <xxhash.h>

#include <algorithm>

namespace {

bool hasRawSuffix(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(".dng"), Qt::CaseInsensitive);
}

// Only these formats embed thumbnails: other files are not opened twice.
bool mayEmbedThumbnail(const QString &strPath)
{
    for (const char *suffix : {".jpg", ".jpeg", ".jpe", ".heic", ".heif"}) {
        if (strPath.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool endsWithImageEnd(const QString &strPath, const uint8_t *pHead, size_t headSize, uint64_t i64FileSize)
{
    constexpr int kTail = 32;
    QByteArray tail;
    if (headSize >= i64FileSize) {
        tail = QByteArray::fromRawData(reinterpret_cast<const char *>(pHead) + headSize - std::min<size_t>(headSize, kTail),
                                       int(std::min<size_t>(headSize, kTail)));
    } else {
        QFile file(strPath);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(i64FileSize) - kTail))
            return false;
        tail = file.read(kTail);
    }
    return tail.contains("\xFF\xD9");
}

// The features both stages take from a decode, all but the content hash and the definition.
void fill(const CDecodedImage &decoded, const CPhotoMetadata &meta, int orientation, uint64_t i64ModTime,
          CPhotoFeature &f)
{
    // Area-resampling onto a square commutes with turning it, so the upright grid
    // is the stored grid turned: one resample gives both hashes.
    constexpr int kGrid = 32;
    const std::vector<float> stored = decoded.gray.resized(kGrid, kGrid);
    const std::vector<float> upright = orientSquare(stored, kGrid, orientation);
    f.hashStored = CSimilarity::dctHash(stored);
    f.hashUpright = CSimilarity::dctHash(upright, &f.hashSigns);
    for (int y = 0; y < kThumbSide; ++y) {
        for (int x = 0; x < kThumbSide; ++x) {
            const size_t i = size_t(2 * y * kGrid + 2 * x);
            const float v = (upright[i] + upright[i + 1] + upright[i + kGrid] + upright[i + kGrid + 1]) / 4.0f;
            f.thumb[size_t(y * kThumbSide + x)] = uint8_t(std::clamp(v + 0.5f, 0.0f, 255.0f));
        }
    }
    f.orientation = uint8_t(orientation);
    const bool bSwap = orientation >= 5;
    f.width = uint16_t(bSwap ? decoded.iFullHeight : decoded.iFullWidth);
    f.height = uint16_t(bSwap ? decoded.iFullWidth : decoded.iFullHeight);
    f.bHasCaptureDate = meta.i64CaptureTime != 0;
    f.dateTime = meta.i64CaptureTime ? meta.i64CaptureTime : i64ModTime;
    f.bOriginal = meta.isCameraOriginal();
    f.cameraId = meta.cameraId();
}

} // namespace

EnExtractStatus CFeatureExtractor::extract(const QString &strPath, uint64_t i64ModTime, CPhotoFeature &out,
                                           QString &strError, QByteArray *pThumbJpeg)
{
    if (pThumbJpeg)
        pThumbJpeg->clear();
    thread_local std::vector<uint8_t> buffer;
    // A rare huge file must not leave its buffer behind for the rest of the scan.
    constexpr size_t kKeptBuffer = size_t(64) << 20;
    if (buffer.capacity() > kKeptBuffer)
        std::vector<uint8_t>().swap(buffer);
    size_t size = 0;
    if (!dp::platform::readWholeFile(strPath, CImageLimits::kMaxFileBytes, buffer, size, strError))
        return EnExtractStatus::Unreadable;

    CDecodedImage decoded;
    std::string error;
    const EnDecodeStatus status = CGrayDecoder::decode(buffer.data(), size, hasRawSuffix(strPath), decoded, error,
                                                        pThumbJpeg != nullptr);
    if (status != EnDecodeStatus::Ok || decoded.gray.isNull()) {
        strError = QString::fromStdString(error);
        switch (status) {
        case EnDecodeStatus::NotImage: return EnExtractStatus::NotImage;
        case EnDecodeStatus::TooLarge: return EnExtractStatus::TooLarge;
        default: return EnExtractStatus::Corrupt;
        }
    }
    const CPhotoMetadata meta = CPhotoMetadata::read(buffer.data(), size);
    const int orientation = decoded.iOrientation ? decoded.iOrientation : meta.iOrientation;
    CPhotoFeature f;
    fill(decoded, meta, orientation, i64ModTime, f);
    f.contentHash = XXH3_64bits(buffer.data(), size);
    f.definition = float(CDetailMeasure::score(decoded));
    out = f;
    if (pThumbJpeg && !decoded.colour.isNull())
        *pThumbJpeg = CScanThumbs::makeJpeg(decoded.colour, orientation);
    return EnExtractStatus::Ok;
}

bool CFeatureExtractor::extractEmbedded(const QString &strPath, uint64_t i64ModTime, CPhotoFeature &out,
                                        QByteArray *pThumbJpeg)
{
    if (pThumbJpeg)
        pThumbJpeg->clear();
    if (!mayEmbedThumbnail(strPath))
        return false;
    // EXIF ends within the first 64 KB of a JPEG; a few more reach the frame header.
    constexpr size_t kHeadBytes = 128 * 1024;
    thread_local std::vector<uint8_t> buffer;
    // A HEIF is read whole: a huge one must not leave its buffer behind.
    if (buffer.capacity() > kHeadBytes * 64)
        std::vector<uint8_t>().swap(buffer);
    size_t size = 0;
    uint64_t i64FileSize = 0;
    QString strError;
    if (!dp::platform::readFileHead(strPath, kHeadBytes, buffer, size, &i64FileSize, strError) || size < 12)
        return false;
    const EnImageFormat format = CImageFormat::sniff(buffer.data(), size);
    if (format == EnImageFormat::Heif && i64FileSize > size
        && !dp::platform::readWholeFile(strPath, CImageLimits::kMaxFileBytes, buffer, size, strError))
        return false;
    // A JPEG cut short keeps its thumbnail: only its end tells, and the decode must then
    // count it damaged as a scan without thumbnails would.
    if (format == EnImageFormat::Jpeg && !endsWithImageEnd(strPath, buffer.data(), size, i64FileSize))
        return false;
    CDecodedImage decoded;
    std::string error;
    if (CGrayDecoder::decodeEmbedded(buffer.data(), size, decoded, error, pThumbJpeg != nullptr) != EnDecodeStatus::Ok
        || decoded.gray.isNull())
        return false;
    const CPhotoMetadata meta = CPhotoMetadata::read(buffer.data(), size);
    // An edit that kept the picture's shape leaves a stale thumbnail no shape check sees.
    if (meta.isEditorSigned())
        return false;
    CPhotoFeature f;
    fill(decoded, meta, decoded.iOrientation ? decoded.iOrientation : meta.iOrientation, i64ModTime, f);
    f.contentHash = XXH3_64bits_withSeed(buffer.data(), size, i64FileSize);
    f.bEmbedded = 1;
    out = f;
    if (pThumbJpeg && !decoded.colour.isNull())
        *pThumbJpeg = CScanThumbs::makeJpeg(decoded.colour, f.orientation);
    return true;
}
