#pragma once
// The window functions of the live spectrum, all sums of cosines over one period of N samples
// (the "periodic" form a DFT wants): w(n) = a0 - a1·cos(2πn/N) + a2·cos(4πn/N) - a3·cos(6πn/N).
// The rectangular window is the sum with a0 = 1 alone.
#include <array>
#include <vector>

namespace live {

enum class WindowShape { Hann, Rectangular, Hamming, BlackmanHarris };

// The cosine coefficients a0..a3 of a shape.
std::array<double, 4> CosineTerms(WindowShape shape);

// The N coefficients of the window.
std::vector<float> WindowCoefficients(WindowShape shape, int n);

// The mean of the coefficients (a0): the factor by which the window lowers the spectrum line of
// a sine that falls on a bin. Dividing by it gives the sine's own amplitude back.
double CoherentGain(WindowShape shape);

// The window's transform, relative to its value at 0, at an offset of `bins` bins from a tone
// (for N large: the terms' sinc kernels, which all have the same phase). |ShapeResponse(0)| = 1.
double ShapeResponse(WindowShape shape, double bins);

} // namespace live
