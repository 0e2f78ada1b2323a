#pragma once
// The pictures of the built-in test-pattern camera: colour bars that move one step a frame, the
// frame counter drawn large in the middle, the clock below it, and the counter once more as a
// strip of 24 black or white squares along the bottom edge (most significant bit on the left),
// which a program can read back from a saved picture.
#include <QDateTime>
#include <QImage>
#include <QRect>
#include <cstdint>

namespace testpattern {

inline constexpr int CounterBits = 24;

// The picture of frame `counter` at `size`, showing the time `clock`. RGB32.
QImage Frame(QSize size, std::int64_t counter, const QDateTime& clock,
             double brightness = 0.0 /* -1 .. 1 */);
// The same picture drawn over the whole of `image` (a 32-bit image, possibly over memory that
// is not its own), at the image's size.
void Draw(QImage& image, std::int64_t counter, const QDateTime& clock, double brightness = 0.0);

// The square of bit `bit` (0 = least significant) of the counter strip, in a picture of `size`.
QRect CounterSquare(QSize size, int bit);

} // namespace testpattern
