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
};
