#pragma once

#include <cstdint>
#include <vector>

struct CPhotoFeature;

// The engine's measure of how alike two photos look, in percent.
//
// Exact copies (equal content hashes) score 100. Everything else scores at most
// 99, as the lower of two views of the photo's grey layout:
// - a 64-bit DCT hash (the signs of the low frequencies against their median),
//   which shrugs off resizing, recompression, format changes and brightness or
//   contrast, and costs a popcount to compare, so that an index can find candidates;
// - the correlation of 16x16 grey thumbnails, which no linear brightness or
//   contrast change moves, and which falls fast when the layout differs, so that
//   photos of the same colours, or other parts of one scene, stay apart.
// A photo with an orientation tag is also compared as stored, so that a copy that
// differs only by that tag still matches. With turns on, the seven other turns and
// mirrors of a photo are compared as well, through its sign hash (whose bits a turn
// flips and moves exactly) and its thumbnail turned by a lookup table: about seven
// times the work of one comparison, spent only where the sign hashes come close.
//
// Two photos are linked at threshold t when their score is at least t (and at
// least 1). Groups are the connected sets of links, so a higher threshold can
// only split groups, never join them.
class CSimilarity
{
public:
    static constexpr int kFreeBits = 4;        // hash distances up to this score 100
    static constexpr int kPercentPerBit = 3;   // each further differing bit costs this much
    static constexpr int kMaxDistance = 20;    // beyond this the hash view scores 0
    static constexpr double kCorrFloor = 0.3;  // thumbnail correlation that scores 0

    // Largest hash distance that can still reach the threshold: the index's search radius.
    static int radiusForThreshold(int iThreshold);
    static int hashScore(int iDistance);
    static int score(const CPhotoFeature &a, const CPhotoFeature &b);
    // The best of the plain score and, when bTurns, every turnedScore.
    static int score(const CPhotoFeature &a, const CPhotoFeature &b, bool bTurns);

    // Turns of the square, 0 the identity: bit 0 mirrors left to right, bit 1 top
    // to bottom, bit 2 then swaps the axes (so 5 and 6 are the quarter turns).
    static constexpr int kTurns = 8;
    // Turned views further apart than this score 0 (at most 85 otherwise): keeps
    // the seven extra index searches cheap.
    static constexpr int kTurnedMaxDistance = 9;
    static uint64_t turnSigns(uint64_t iSigns, int iTurn);
    // The score of a turned by iTurn against b as it is; at most 99.
    static int turnedScore(const CPhotoFeature &a, const CPhotoFeature &b, int iTurn);

    // Feature helpers used when a photo is read.
    static uint64_t dctHash(const std::vector<float> &grid32, uint64_t *pSigns = nullptr);
    // 0 when either thumbnail is flat: a blank frame is like no other photo but its exact copies.
    static double thumbCorrelation(const uint8_t *pA, const uint8_t *pB);
    static bool isFlat(const CPhotoFeature &f);
};
