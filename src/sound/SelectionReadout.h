#pragma once
// The selection read-out as the window displays it (Label16(1) to Label16(6)). The texts are the
// stored values: every later computation reads them back with general::Val, so the rounding the
// user sees is the rounding the computation uses. All six are empty until the first press.

#include <QString>

struct SelectionReadout {
    QString initialTime;      // Label16(1), seconds
    QString finalTime;        // Label16(2), seconds
    QString intervalTime;     // Label16(3), seconds
    QString initialSample;    // Label16(4), sample frame
    QString finalSample;      // Label16(5), sample frame
    QString selectedSamples;  // Label16(6), frames

    bool operator==(const SelectionReadout&) const = default;
};
