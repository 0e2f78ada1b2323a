#pragma once
// What the time-interval capture window makes of its boxes: the interval and duration boxes
// (hours, minutes, seconds), the starting and completion date boxes, and the run that Start
// Capture arms from them. The date boxes show and read local time through the general date text;
// the run keeps instants (UTC), so a daylight-saving change inside it changes nothing.
#include "platform/ui/Outcome.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace capture {

// The hint beside the date boxes: how the general date text writes a date-time, which is the
// first form its parser reads.
inline const QString DateHint = QStringLiteral("yyyy-mm-dd hh:mm:ss");

// Three boxes of hours, minutes and seconds, as they read.
struct HmsTexts {
    QString hours;
    QString minutes;
    QString seconds;
    bool operator==(const HmsTexts&) const = default;
};

// A box holds a number when its text, blanks around it aside, is one decimal number: a sign,
// digits with at most one decimal point, an optional exponent ("1.5", "-2", "1e3"). Empty is not.
bool IsNumeric(QStringView text);

// The seconds of three boxes: (hours × 60 + minutes) × 60 + seconds, each box rounded to a whole
// number (halves to even), the total within 32 bits. When a box is not a number, or its value
// or the total does not fit, `badBox` names it (0 hours, 1 minutes, 2 seconds; for a total too
// large, the box that adds the most) and there are no seconds.
struct HmsReading {
    std::optional<std::int32_t> seconds;
    int badBox = -1;
};
HmsReading ReadHms(const HmsTexts& boxes);

// The duration boxes for a number of seconds: seconds mod 60, (seconds div 60) mod 60,
// seconds div 3600, dividing towards zero, so a negative duration shows negative parts
// (-90 s: "0", "-1", "-30").
HmsTexts SplitDuration(std::int64_t seconds);

// The duration boxes from the two date boxes when both hold date-times (choosing the immediate
// option fills them so); nothing otherwise. The seconds between them are real ones: a night
// when the clocks go forward lasts an hour less than its wall-clock times say.
std::optional<HmsTexts> DurationFromDates(const QString& starting, const QString& completion);

// The boxes Start Capture reads.
struct TimeLapseBoxes {
    HmsTexts interval;
    HmsTexts duration;
    QString starting;
    QString completion;
    bool immediate = true;   // the immediate option is chosen, else the programmed one
};

// The run Start Capture arms, or the message it shows instead.
struct TimeLapseRun {
    // On failure: the message (its text followed by the offending box's text), and nothing is
    // armed. Checked in order: interval hours, minutes, seconds; then, immediate: duration hours,
    // minutes, seconds; programmed: the starting and the completion date-time.
    Outcome outcome;
    QDateTime start;          // the first frame's due time (UTC, whole seconds)
    QDateTime completion;     // UTC
    std::int32_t intervalSeconds = 0;
    // What the date boxes show after the press (empty: unchanged). An immediate run writes the
    // starting box (now) before it reads the duration, so that one is written on failure too.
    QString startingText;
    QString completionText;
    // Programmed runs fill the duration boxes from the dates.
    std::optional<HmsTexts> duration;
};
// Reads the boxes at `now` (immediate runs start then, to the whole second).
TimeLapseRun ReadTimeLapseRun(const TimeLapseBoxes& boxes, const QDateTime& now);

} // namespace capture
