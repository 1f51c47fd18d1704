#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

enum class EnImageFormat { Unknown, Jpeg, Heif, Tiff, Png, Gif, Bmp, Webp };

// The format a file's first bytes name, whatever its suffix says; camera raw files
// share TIFF's signature or have none, so only their suffix tells them.
namespace CImageFormat {

// Enough of the head of a file for sniff().
constexpr size_t kHeadSize = 64;

EnImageFormat sniff(const uint8_t *pData, size_t size);
bool isRawSuffix(const QString &strSuffix);

} // namespace CImageFormat
