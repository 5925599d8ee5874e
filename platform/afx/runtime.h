// Small runtime services: the processor clock and a 15-bit pseudo-random
// source with explicit seeding.
#pragma once

#include "platform/afx/types.h"

// Processor time used by the process, in seconds (clock() divided by
// CLOCKS_PER_SEC; the tick rate is never assumed).
double AfxProcessorSeconds();

// The largest value of AfxRand.
constexpr int AFX_RAND_MAX = 0x7FFF;

// Seeds the random source; the sequence after a seed is the same on every
// platform. The source starts as if seeded with 1.
void AfxSrand(UINT nSeed);
// The next pseudo-random number, 0 to 32767.
int AfxRand();
