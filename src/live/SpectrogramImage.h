#pragma once
// The rolling spectrogram: one column per spectrum, newest on the right, frequency upwards, the
// level in dB as a colour between a floor and 0 dBFS. The picture is kept as a ring of columns,
// so adding one costs one column, whatever the width.
#include "live/LiveSpectrum.h"

#include <QImage>

namespace live {

enum class ColourScale { Heat, Grey };

// The colour of a level: fraction 0 (the floor or below) to 1 (0 dBFS).
QRgb ScaleColour(ColourScale scale, double fraction);

class SpectrogramImage {
public:
    struct Settings {
        int columns = 600;
        int rows = 256;
        double fromHz = 0;
        double toHz = 5000;
        double floorDb = -100;
        ColourScale scale = ColourScale::Heat;
        bool operator==(const Settings&) const = default;
    };

    // A new scale or range starts an empty (floor-coloured) picture; a new size keeps the
    // picture, stretched.
    void configure(const Settings& settings);
    const Settings& settings() const { return settings_; }

    void addColumn(const LiveSpectrum& spectrum);
    // The picture, oldest column on the left.
    QImage picture() const;
    int columnsAdded() const { return added_; }

private:
    Settings settings_;
    QImage ring_;
    int next_ = 0;
    int added_ = 0;
};

} // namespace live
