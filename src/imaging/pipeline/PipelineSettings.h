#pragma once
// How the image processor's control values become the image library's arguments.
#include "imaging/pipeline/Checked.h"
#include "imaging/pipeline/ImageOptions.h"

#include <QString>

#include <cstdint>
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

// The controls' values as the steps take them, resolved once when a run starts: the sliders'
// gamma and the library's rescale filter worked out, each box's text read as a number. A box
// read once keeps its value or its error ("Type mismatch", "Overflow"); the error fails only a
// step that takes the number, so a box no asked step uses may hold anything.
struct PipelineOptions {
    bool flipHorizontal = false;
    bool flipVertical = false;
    bool invert = false;
    int contrast = 0;
    int brightness = 0;
    std::optional<double> gamma;                  // GammaOf the slider; none at 0

    bool rescale = false;
    int rescaleFilter = 0;                        // RescaleFilterOf the resize option
    Checked<std::int32_t> widthPercent, heightPercent, widthPixels, heightPixels;
    bool batchRunning = false;
    int referenceWidth = 0;
    int referenceHeight = 0;

    bool crop = false;
    Checked<std::int32_t> cropLeft, cropTop, cropRight, cropBottom;

    bool rotate = false;
    std::optional<Checked<double>> rotation;      // RotationAngleOf; none without an option

    int quality = 85;
};

PipelineOptions ResolveOptions(const ImageOptions& options);

// The rescale target of an image of width x height pixels:
// - no batch running, or the image has the reference size: the pixel boxes' values;
// - a batch running and the image is the reference size turned by 90 degrees: the pixel boxes'
//   values swapped;
// - otherwise the percentages of the image's own size, in whole-number arithmetic
//   (percent * size / 100, truncated).
// Fails with "Type mismatch" for a box it takes that holds no number and "Overflow" for a value
// or a product beyond 32 bits, the first such box in the order width, height.
Checked<PixelSize> RescaleTarget(int width, int height, const PipelineOptions& options);
Checked<PixelSize> RescaleTarget(int width, int height, const ImageOptions& options);

// The rotation angle of the selected rotate option (-90, 90, 180, 270, or the angle box's value
// for "Other value: "); nothing when no option is selected. Fails with "Type mismatch" for an
// angle box that holds no number.
Checked<std::optional<double>> RotationAngleOf(const ImageOptions& options);
Checked<std::optional<double>> RotationAngleOf(const PipelineOptions& options);

// The type word of an output file name: its last three characters, upper-cased ("a.jpeg" gives
// "PEG", which no format has).
QString OutputTypeWord(const QString& fileName);
