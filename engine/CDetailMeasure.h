#pragma once

#include <cstddef>
#include <cstdint>

struct CDecodedImage;

// How much true detail a photo carries: the `definition` that the marking's first rule
// compares within a group, so that it keeps the faithful copy. Copies lose detail in
// ways that a sharpness reading of the decoded pixels alone cannot see or even reads
// as more: a downscaled copy decodes to the same small work image as its original,
// block artefacts and dithering add edges, and more contrast steepens every edge. So
// the score multiplies
// - fine over coarser detail at a fixed work scale, which tonal edits move little
//   and blur lowers;
// - the native linear size, since copies rarely gain pixels and downscaled ones lose
//   detail that no work scale shows;
// - the JPEG quality read from the quantisation tables, so that a recompressed copy
//   scores below its original however many edges its blocks add;
// - a penalty for palette and grey images, which threw colour away.
// Copies with the same pixels (other lossless formats, other metadata) score alike.
namespace CDetailMeasure {

double score(const CDecodedImage &decoded);

} // namespace CDetailMeasure
