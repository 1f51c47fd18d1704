#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What a photo's embedded metadata says about it, read with exiv2 from the
// bytes already in memory. Missing or unreadable metadata leaves the defaults.
struct CPhotoMetadata
{
    int iOrientation = 1;        // EXIF orientation, 1..8
    uint64_t i64CaptureTime = 0; // FILETIME of DateTimeOriginal with SubSecTimeOriginal, 0 when absent
    std::string strMake;
    std::string strModel;
    std::string strSoftware;

    // Call CExifReader::initialize() once before the first read.
    static CPhotoMetadata read(const uint8_t *pData, size_t size);

    // A camera original: the camera named itself and stamped a capture date,
    // and no editor signed the file. Screenshots and most downloads carry no
    // camera; edited exports name their editor in Software.
    bool isCameraOriginal() const;
    // An editor named itself in Software: the pixels may have changed since the camera
    // wrote its embedded thumbnail.
    bool isEditorSigned() const;
    // Tells one camera from another across runs (it is cached); 0 when neither
    // make nor model is known.
    uint32_t cameraId() const;
};

// FILETIME (100 ns ticks since 1601-01-01 UTC) of a Unix time in seconds.
uint64_t fileTimeFromUnix(int64_t iSeconds, uint32_t iNanoseconds = 0);
