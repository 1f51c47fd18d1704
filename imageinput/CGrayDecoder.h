#pragma once

#include "CGrayImage.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>

enum class EnDecodeStatus { Ok, NotImage, Corrupt, TooLarge };

// One photo decoded small enough to hash: grey pixels as stored, plus the size
// of the full image. Decoders that turn the image themselves say so.
struct CDecodedImage
{
    CGrayImage gray;
    int iFullWidth = 0;          // as stored, before orientation
    int iFullHeight = 0;
    int iOrientation = 0;        // 0: the metadata's orientation applies; else the code that turns these pixels upright
    int iJpegQuality = 0;        // of the file's own JPEG data; 0 for other formats
    bool bGrey = false;          // stored without colour
    bool bPalette = false;       // stored as palette indices
    // Only when asked for and the photo is large: the same decode in colour, as
    // stored and before the grey image was shrunk to its work size.
    QImage colour;
};

// Decodes from memory, small and grey, for the scan's hashes, with the fastest tool for
// each format: turbojpeg with DCT scaling, libheif (embedded thumbnail when large
// enough), libraw's embedded preview or half-size decode, and Qt's image plug-ins for
// the rest. Sizes are checked from the header first against CImageLimits, so
// decompression bombs are refused unread.
// Thread-safe: every call works on its own decoder state.
class CGrayDecoder
{
public:
    // The decoded grey image is at least this long on its long side when the photo is.
    static constexpr int kMinLongSide = 256;
    // From this size on a JPEG's decode also keeps its colours when asked: the DCT
    // scale is then small enough that the colour costs little beside the entropy
    // decoding, which a second decode for a thumbnail would pay again in full.
    static constexpr int64_t kMinColourPixels = 2LL * 1000 * 1000;

    [[nodiscard]] static EnDecodeStatus decode(const uint8_t *pData, size_t size, bool bRawSuffix,
                                               CDecodedImage &out, std::string &strError, bool bColour = false);

    // The smallest embedded thumbnail decodeEmbedded takes: the hashes need a 32x32 grid.
    static constexpr int kMinEmbeddedSide = 96;

    // The picture's own embedded thumbnail (a JPEG's EXIF thumbnail, a HEIF thumbnail
    // item) decoded in place of the picture, when it can be trusted to show the picture
    // as it is now: decodable, within the limits, and of the picture's aspect ratio. An
    // editor that cropped or turned the picture and left the old thumbnail changes the
    // ratio, or leaves EXIF pixel dimensions that no longer match the frame. pData may
    // be only the head of a JPEG; a HEIF needs the whole file. NotImage when there is no
    // trusted thumbnail. bColour: also keep the thumbnail's colours, upright as stored.
    [[nodiscard]] static EnDecodeStatus decodeEmbedded(const uint8_t *pData, size_t size, CDecodedImage &out,
                                                       std::string &strError, bool bColour = false);

    // The photo's grey pixels as stored, for a close look at its finest detail: never
    // shrunk after decoding, which would blur what lies near its frequency limit. A
    // JPEG is decoded at the smallest DCT scale whose long side reaches iMinSide,
    // anything else at full size (a camera raw file as for the scan, from its preview
    // when that is large enough).
    [[nodiscard]] static EnDecodeStatus decodeDetail(const uint8_t *pData, size_t size, bool bRawSuffix, int iMinSide,
                                                     CDecodedImage &out, std::string &strError);

private:
    static EnDecodeStatus embeddedJpeg(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                       bool bColour);
    static EnDecodeStatus embeddedHeif(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError);
    static EnDecodeStatus decodeJpeg(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                     bool bColour);
    // iDetailSide: 0 decodes for the scan, shrunk to its work size; else as decodeDetail.
    static EnDecodeStatus decodeHeif(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                     int iDetailSide = 0);
    static EnDecodeStatus decodeRaw(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                    int iDetailSide = 0);
    static EnDecodeStatus decodeWithQt(const uint8_t *pData, size_t size, CDecodedImage &out, std::string &strError,
                                       int iDetailSide = 0);
};
