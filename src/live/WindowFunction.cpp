#include "live/WindowFunction.h"

#include <cmath>
#include <numbers>

namespace live {

std::array<double, 4> CosineTerms(WindowShape shape)
{
    switch (shape) {
    case WindowShape::Hann: return {0.5, 0.5, 0, 0};
    case WindowShape::Hamming: return {0.54, 0.46, 0, 0};
    case WindowShape::BlackmanHarris: return {0.35875, 0.48829, 0.14128, 0.01168};
    case WindowShape::Rectangular: break;
    }
    return {1, 0, 0, 0};
}

std::vector<float> WindowCoefficients(WindowShape shape, int n)
{
    const auto a = CosineTerms(shape);
    std::vector<float> w(std::size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        const double x = 2 * std::numbers::pi * i / n;
        w[std::size_t(i)] = float(a[0] - a[1] * std::cos(x) + a[2] * std::cos(2 * x) - a[3] * std::cos(3 * x));
    }
    return w;
}

double CoherentGain(WindowShape shape) { return CosineTerms(shape)[0]; }

double ShapeResponse(WindowShape shape, double bins)
{
    const auto a = CosineTerms(shape);
    // Each cosine term shifts the tone's kernel by ±m bins; near a tone every shifted kernel has
    // the same phase and is sin(πx)/(π(x∓m)), so the window's transform is sin(πx)/π times the
    // terms' alternating sum of 1/(x∓m).
    double sum = 0;
    bool onPole = false;
    for (int m = 0; m < 4; ++m) {
        const double coefficient = (m % 2 ? -1 : 1) * (m == 0 ? a[0] : a[std::size_t(m)] / 2);
        if (coefficient == 0) continue;
        for (int side : {-1, 1}) {
            if (m == 0 && side == 1) break;
            const double d = bins - side * m;
            if (std::abs(d) < 1e-9) onPole = true;
            else sum += coefficient / d;
        }
    }
    // At a whole bin m the kernel of that term is 1 and every other term is 0.
    if (onPole) {
        const int m = int(std::lround(std::abs(bins)));
        return m == 0 ? 1.0 : (m < 4 ? (m % 2 ? -1 : 1) * a[std::size_t(m)] / 2 / a[0] : 0.0);
    }
    return std::sin(std::numbers::pi * bins) / std::numbers::pi * sum / a[0];
}

} // namespace live
