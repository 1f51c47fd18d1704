#pragma once

#include <turbojpeg.h>

#include <cstddef>
#include <cstdint>
#include <string>

// What the JPEG decoders of this library share: one turbojpeg decompressor per thread,
// the header read and the choice of DCT scale.
class CTurboJpeg
{
public:
    // The calling thread's decompressor; null when turbojpeg cannot make one.
    static tjhandle handle();
    // A failed call can leave the decompressor in a state that poisons the next file,
    // so it is replaced; returns the reason the failed call gave.
    static std::string failed();

    struct CHeader
    {
        int iWidth = 0;
        int iHeight = 0;
        int iSubsamp = 0;
        int iColorspace = 0;
    };
    // False with the reason in strError when the data has no readable frame header. A
    // header cut short is only a warning to turbojpeg: it answers success and leaves
    // the size unset, which CImageLimits::checkSize tells apart.
    static bool readHeader(const uint8_t *pData, size_t size, CHeader &header, std::string &strError);
    // The smallest DCT scale whose long side still reaches iMinSide, so that a 24 MP
    // photo is never decoded at full size; 1/1 when none does.
    static tjscalingfactor scaleFor(int iWidth, int iHeight, int iMinSide);
    // The IJG-style quality (1..100) that the file's luminance table corresponds to; 0 when
    // the data holds no quantisation table before its first scan.
    static int quality(const uint8_t *pData, size_t size);
};
