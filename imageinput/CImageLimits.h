#pragma once

#include <cstdint>

// The one set of limits every decoder of the project checks a header against, so that
// a file the scan refuses as too large is refused by the thumbnails too. A few hundred
// bytes of header must never make a decoder reserve gigabytes.
namespace CImageLimits {

// Files above this are not read into memory: no photo format we read gets there.
constexpr int64_t kMaxFileBytes = int64_t(1) << 30;
// Beyond what JPEG and PNG can even state.
constexpr int64_t kMaxSide = 65535;
// Pixels of a JPEG, which turbojpeg scales in the DCT while decoding (1/8 at least).
constexpr int64_t kMaxScaledPixels = 400LL * 1000 * 1000;
// Pixels of every other picture, which its decoder must hold at full size.
constexpr int64_t kMaxFullPixels = 120LL * 1000 * 1000;

enum class EnSizeCheck { Ok, NoSize, TooLarge };

// A header without a size (a decoder may answer one cut short with a warning only) is
// damaged, not too large.
constexpr EnSizeCheck checkSize(int64_t iWidth, int64_t iHeight, bool bScaledDecode)
{
    if (iWidth <= 0 || iHeight <= 0)
        return EnSizeCheck::NoSize;
    if (iWidth > kMaxSide || iHeight > kMaxSide
        || iWidth * iHeight > (bScaledDecode ? kMaxScaledPixels : kMaxFullPixels))
        return EnSizeCheck::TooLarge;
    return EnSizeCheck::Ok;
}

} // namespace CImageLimits
