#include "CDetailMeasure.h"

#include "CGrayDecoder.h"

#include <algorithm>
#include <cmath>

namespace {

// Photos leave cameras at 90 or more; below that every step of quality costs detail,
// so that a messenger's quality 75 already falls into the first rule's band. A floor
// keeps even a heavily compressed copy inside that band below its original instead of
// dropping it out of the comparison.
double qualityFactor(int iQuality)
{
    if (iQuality <= 0)
        return 1.0;
    return std::clamp(1.0 - 0.015 * (90 - iQuality), 0.3, 1.0);
}

} // namespace

namespace CDetailMeasure {

double score(const CDecodedImage &decoded)
{
    // Thin structures read more or less sharp as they meet the work grid, so that a
    // crop of a smooth photo can read up to a quarter sharper; the damping keeps such
    // a copy within the first rule's band above its original while blur still counts.
    const double sharpness = std::pow(decoded.gray.fineDetailRatio(), 0.75);
    const double linearSize = std::sqrt(double(decoded.iFullWidth) * double(decoded.iFullHeight)) / 1000.0;
    double colourFactor = 1.0;
    if (decoded.bPalette)
        colourFactor = 0.5;
    else if (decoded.bGrey)
        colourFactor = 0.6;
    return sharpness * linearSize * qualityFactor(decoded.iJpegQuality) * colourFactor;
}

} // namespace CDetailMeasure
