#pragma once

// The x86-64 baseline has no popcount instruction, so __builtin_popcount becomes a
// library call; the hash comparisons get a clone for CPUs that have one, picked at load.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__)
#define DP_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define DP_POPCOUNT_CLONES
#endif
