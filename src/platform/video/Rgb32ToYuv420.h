#pragma once
// A 32-bit RGB picture (QImage's RGB32 or ARGB32 layout: one 0xAARRGGBB word a pixel, alpha
// ignored) as the full-range BT.601 YCbCr 4:2:0 planes that a JPEG picture is coded from:
//   Y  =  0.299 R + 0.587 G + 0.114 B
//   Cb = -0.168736 R - 0.331264 G + 0.5 B + 128
//   Cr =  0.5 R - 0.418688 G - 0.081312 B + 128
// rounded to the nearest and held to 0..255. Each chroma sample is worked out from the average
// colour of the 2 x 2 pixels it covers, as JPEG coders subsample; at an odd right or bottom edge
// it covers the one column or row left. The planes hold (width + 1) / 2 x (height + 1) / 2 chroma
// samples.
//
// The capture file's MJPEG pictures go through this at every frame, so it is written for the
// compiler to vectorise: on processors with AVX2 a copy built for them is used.
#include <cstdint>

struct Yuv420Planes {
    std::uint8_t* y = nullptr;
    std::uint8_t* cb = nullptr;
    std::uint8_t* cr = nullptr;
    int yStride = 0;    // bytes from one row to the next
    int cbStride = 0;
    int crStride = 0;
};

// rgb: the first row of the picture; rgbStride: bytes from one row to the next (a multiple of 4).
void Rgb32ToYuv420(const std::uint8_t* rgb, int rgbStride, int width, int height, const Yuv420Planes& out);
