#pragma once
// How the image processor's control values become the image library's arguments.
#include "imaging/pipeline/ImageOptions.h"

#include <QString>

#include <optional>

// The gamma of the gamma slider's value v: none at 0; 1 + v / 10 above it (1.1 .. 11.0);
// 1.001 + v / 100 below it (0.991 .. 0.001).
std::optional<double> GammaOf(int slider);

// The library's rescale filter of the selected resize option: 0 B-spline ("Smoothest"),
// 1 Catmull-Rom ("Best quality"), 2 box ("Fastest"). Other indexes take Catmull-Rom.
int RescaleFilterOf(int resizeOption);

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The rescale target of an image of width x height pixels:
// - no batch running, or the image has the reference size: the pixel boxes' values;
// - a batch running and the image is the reference size turned by 90 degrees: the pixel boxes'
//   values swapped;
// - otherwise the percentages of the image's own size, in whole-number arithmetic
//   (percent * size / 100, truncated).
// Raises "Type mismatch" for a box that holds no number and "Overflow" for a value or a product
// beyond 32 bits.
PixelSize RescaleTarget(int width, int height, const ImageOptions& options);

// The rotation angle of the selected rotate option (-90, 90, 180, 270, or the angle box's value
// for "Other value: "); nothing when no option is selected. Raises "Type mismatch" for an angle
// box that holds no number.
std::optional<double> RotationAngleOf(const ImageOptions& options);

// The type word of an output file name: its last three characters, upper-cased ("a.jpeg" gives
// "PEG", which no format has).
QString OutputTypeWord(const QString& fileName);
