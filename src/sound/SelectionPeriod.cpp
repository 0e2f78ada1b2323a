#include "sound/SelectionPeriod.h"

#include "general/General.h"
#include "text/LoadText.h"

#include <cmath>

SelectionPeriod::SelectionPeriod()
    : periodCaption_(LoadText(519)), frequencyCaption_(LoadText(193) + QStringLiteral("= "))
{
}

void SelectionPeriod::SelectionChanged(const QString& cycleText, const QString& intervalTime)
{
    *this = SelectionPeriod();
    CycleCountChanged(cycleText, intervalTime);
}

void SelectionPeriod::CycleCountChanged(const QString& cycleText, const QString& intervalTime)
{
    using general::Int;
    using general::NumText;
    using general::Val;

    const double cycles = Val(cycleText);
    if (!(cycles > 0))
        return;
    const double period = Val(intervalTime) / cycles;
    if (!std::isfinite(period))
        return;
    periodSeconds_ = NumText(period);

    const double shown = Val(periodSeconds_);
    // Truncated, not rounded: to 1 microsecond in milliseconds, to 0.1 ms in seconds.
    const double truncated = shown < 0.1 ? Int(period * 1000000) / 1000 : Int(period * 10000) / 10000;
    if (!std::isfinite(truncated))
        return;
    periodCaption_ = LoadText(519) + NumText(truncated)
                   + (shown < 0.1 ? QStringLiteral(" (ms)") : QStringLiteral(" (s)"));

    if (shown > 0) {
        const double frequency = Int(1000 / period) / 1000;
        if (!std::isfinite(frequency))
            return;
        frequencyHertz_ = NumText(frequency);
        frequencyCaption_ = LoadText(193) + QStringLiteral(" = ") + frequencyHertz_
                          + QStringLiteral(" (Hz)");
    }
}
