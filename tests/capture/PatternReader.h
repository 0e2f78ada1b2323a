#pragma once
// Reads the frame counter back from a test-pattern picture's strip of squares (white = 1);
// -1 when the strip is not there (a square neither clearly dark nor clearly light).
#include "platform/camera/TestPattern.h"

#include <QImage>

inline long long PatternCounter(const QImage& picture)
{
    long long counter = 0;
    for (int bit = 0; bit < testpattern::CounterBits; ++bit) {
        const QRect square = testpattern::CounterSquare(picture.size(), bit);
        const QColor c = picture.pixelColor(square.center());
        const int level = (c.red() + c.green() + c.blue()) / 3;
        if (level > 60 && level < 195) return -1;
        if (level >= 195) counter |= 1LL << bit;
    }
    return counter;
}
