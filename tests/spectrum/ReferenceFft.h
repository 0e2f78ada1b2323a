#pragma once
// The transform written as the plain three loops (bit-reversal sorting, stages, butterflies), one
// statement per step: the oracle that the fast transform must match bit for bit.
#include <cstdint>

void ReferenceFft(float* REX, float* IMX, std::int32_t n, std::int32_t& Nfft);
