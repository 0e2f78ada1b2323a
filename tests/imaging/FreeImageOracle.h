#pragma once
// The image library called directly, step by step, as the reference for what the pipeline's
// arguments should give: a result computed without KIVRA's option mapping, order or workers.
#include <QImage>
#include <QString>

#include <initializer_list>

struct LibraryStep {
    enum Kind { Contrast, Brightness, Gamma, Rescale, Copy, Rotate, FlipHorizontal } kind;
    double value = 0;                          // percent, gamma or angle
    int a = 0, b = 0, c = 0, d = 0;            // Rescale: width, height, filter; Copy: edges
};

// Loads the file with the library and applies the steps in order; null when a step fails.
QImage LibraryResult(const QString& path, std::initializer_list<LibraryStep> steps);

// The library's filter numbers.
int LibraryFilterBSpline();
int LibraryFilterCatmullRom();
int LibraryFilterBox();
