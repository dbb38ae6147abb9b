#pragma once
// The program is built for plain x86-64, whose vectors take four 32-bit lanes
// at a time; the hottest pixel loops get a second copy for processors with
// AVX2, picked when the program starts. Mark such a function KOV_WIDE_VECTORS.

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOV_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define KOV_WIDE_VECTORS
#endif
