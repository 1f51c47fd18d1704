#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

constexpr int kThumbSide = 16;
constexpr int kThumbPixels = kThumbSide * kThumbSide;

// What the engine keeps of one photo after reading it once: enough to compare
// and to report it without opening the file again. Plain data, so that it is
// cached as a blob and held by the hundred thousand (about 300 bytes each).
struct CPhotoFeature
{
    uint64_t contentHash = 0;    // of the whole file: equal hashes and sizes are exact copies
    uint64_t hashUpright = 0;    // perceptual hash of the photo as shown
    uint64_t hashStored = 0;     // the same of the pixels as stored (before the orientation tag)
    // Signs of the upright 8x8 lowest DCT coefficients, bit 8u+v for frequency u
    // across and v down. Turning or mirroring the photo only flips and moves these
    // bits, so the hash of a turned copy is computed from this one exactly.
    uint64_t hashSigns = 0;
    uint64_t dateTime = 0;       // FILETIME: capture date with its sub-seconds, else the modification time
    uint32_t cameraId = 0;       // of the camera's make and model; 0 when the photo names none
    float definition = 0.0f;     // true detail (CDetailMeasure)
    uint16_t width = 0;          // of the full image, oriented
    uint16_t height = 0;
    uint8_t orientation = 1;     // EXIF orientation 1..8 that turns stored pixels upright
    uint8_t bOriginal = 0;       // a camera original
    uint8_t bHasCaptureDate = 0;
    // Read from the file's embedded thumbnail (stage one of a scan), not decoded: good
    // enough to find candidates, never to report a group, and never cached.
    uint8_t bEmbedded = 0;
    std::array<uint8_t, kThumbPixels> thumb{};  // grey 16x16 of the photo as shown

    // Blob for the cache; fromBlob refuses a blob of another layout version and one
    // of embedded-thumbnail features.
    QByteArray toBlob() const;
    [[nodiscard]] bool fromBlob(const QByteArray &blob);
};
