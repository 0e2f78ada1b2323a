#include "platform/video/Rgb32ToYuv420.h"

#include <algorithm>

namespace {

// The weights times 2^16; each row of three adds up to 2^16 (luma) or 0 (chroma), so that grey
// stays grey with no chroma.
constexpr int kYr = 19595, kYg = 38470, kYb = 7471;
constexpr int kCbR = -11059, kCbG = -21709, kCbB = 32768;
constexpr int kCrR = 32768, kCrG = -27439, kCrB = -5329;

[[gnu::always_inline]] inline std::uint32_t Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
[[gnu::always_inline]] inline std::uint32_t Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
[[gnu::always_inline]] inline std::uint32_t Blue(std::uint32_t p) { return p & 0xFF; }

[[gnu::always_inline]] inline std::uint8_t Luma(std::uint32_t p)
{
    return std::uint8_t((kYr * Red(p) + kYg * Green(p) + kYb * Blue(p) + 32768) >> 16);
}

// From sums of four pixels: the weights times 2^18, 128 and the half for rounding added.
[[gnu::always_inline]] inline std::uint8_t Chroma(int wr, int wg, int wb, int r4, int g4, int b4)
{
    const int v = (wr * r4 + wg * g4 + wb * b4 + (128 << 18) + (1 << 17)) >> 18;
    return std::uint8_t(std::clamp(v, 0, 255));
}

// One row of luma; the compiler turns this loop into vector code. The row functions are built
// into each copy of Rgb32ToYuv420, with its instructions.
[[gnu::always_inline]] inline void LumaRow(const std::uint32_t* row, std::uint8_t* y, int width)
{
    for (int x = 0; x < width; ++x) y[x] = Luma(row[x]);
}

// One row of chroma from two picture rows, for the pixel pairs 0 .. pairs - 1.
[[gnu::always_inline]] inline void ChromaRow(const std::uint32_t* a, const std::uint32_t* b, std::uint8_t* cb, std::uint8_t* cr, int pairs)
{
    for (int x = 0; x < pairs; ++x) {
        const std::uint32_t p0 = a[2 * x], p1 = a[2 * x + 1], q0 = b[2 * x], q1 = b[2 * x + 1];
        const int r = int(Red(p0) + Red(p1) + Red(q0) + Red(q1));
        const int g = int(Green(p0) + Green(p1) + Green(q0) + Green(q1));
        const int bl = int(Blue(p0) + Blue(p1) + Blue(q0) + Blue(q1));
        cb[x] = Chroma(kCbR, kCbG, kCbB, r, g, bl);
        cr[x] = Chroma(kCrR, kCrG, kCrB, r, g, bl);
    }
}

} // namespace

__attribute__((target_clones("avx2", "default")))
void Rgb32ToYuv420(const std::uint8_t* rgb, int rgbStride, int width, int height, const Yuv420Planes& out)
{
    if (width <= 0 || height <= 0) return;
    const int pairs = width / 2;
    for (int y = 0; y < height; y += 2) {
        const auto* a = reinterpret_cast<const std::uint32_t*>(rgb + std::ptrdiff_t(y) * rgbStride);
        // An odd last row stands for the row below it too.
        const auto* b = y + 1 < height ? reinterpret_cast<const std::uint32_t*>(rgb + std::ptrdiff_t(y + 1) * rgbStride) : a;
        LumaRow(a, out.y + std::ptrdiff_t(y) * out.yStride, width);
        if (y + 1 < height) LumaRow(b, out.y + std::ptrdiff_t(y + 1) * out.yStride, width);
        std::uint8_t* cb = out.cb + std::ptrdiff_t(y / 2) * out.cbStride;
        std::uint8_t* cr = out.cr + std::ptrdiff_t(y / 2) * out.crStride;
        ChromaRow(a, b, cb, cr, pairs);
        if (width % 2) {
            // An odd last column stands for the column to its right too.
            const std::uint32_t p = a[width - 1], q = b[width - 1];
            const int r = int(2 * (Red(p) + Red(q))), g = int(2 * (Green(p) + Green(q)));
            const int bl = int(2 * (Blue(p) + Blue(q)));
            cb[pairs] = Chroma(kCbR, kCbG, kCbB, r, g, bl);
            cr[pairs] = Chroma(kCrR, kCrG, kCrB, r, g, bl);
        }
    }
}
