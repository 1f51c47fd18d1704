#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct CPhotoFeature;

enum class EnExtractStatus { Ok, Unreadable, NotImage, Corrupt, TooLarge };

// Reads one file once and turns it into its CPhotoFeature: content hash of the
// bytes, metadata, a small grey decode, the hashes, the thumbnail and the
// sharpness. Thread-safe; each thread keeps its own read buffer.
class CFeatureExtractor
{
public:
    // pThumbJpeg, when given, receives the photo's upright thumbnail (CScanThumbs)
    // when the decode was large enough to give one, and is cleared otherwise.
    [[nodiscard]] static EnExtractStatus extract(const QString &strPath, uint64_t i64ModTime,
                                                 CPhotoFeature &out, QString &strError,
                                                 QByteArray *pThumbJpeg = nullptr);
    // Stage one of a scan: the features of the file's trusted embedded thumbnail
    // (CGrayDecoder::decodeEmbedded), marked bEmbedded, from the head of the file only
    // (the whole of a HEIF). Their content hash covers that head and the file's size, so
    // exact copies still share it. False when the file has no trusted thumbnail; the
    // caller then decodes it with extract. pThumbJpeg as for extract, from the thumbnail.
    [[nodiscard]] static bool extractEmbedded(const QString &strPath, uint64_t i64ModTime, CPhotoFeature &out,
                                              QByteArray *pThumbJpeg = nullptr);
};
