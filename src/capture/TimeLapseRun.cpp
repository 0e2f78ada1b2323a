#include "capture/TimeLapseRun.h"

#include "capture/CaptureSettings.h"
#include "general/General.h"
#include "text/LoadText.h"

#include <QRegularExpression>
#include <array>
#include <cstdlib>
#include <limits>

namespace capture {

namespace {

// The messages of a box that is not a number: interval boxes, then duration boxes.
constexpr std::array<int, 3> kIntervalMessages{492, 493, 494};
constexpr std::array<int, 3> kDurationMessages{495, 496, 497};

Outcome Message(int entry, const QString& offending)
{
    return Outcome::Failure(LoadText(entry) + offending, App, {}, MsgIcon::None);
}

const QString& Box(const HmsTexts& boxes, int i)
{
    return i == 0 ? boxes.hours : i == 1 ? boxes.minutes : boxes.seconds;
}

// The date-time a box holds, as an instant; nothing when it holds none.
std::optional<QDateTime> Instant(const QString& text)
{
    const std::optional<QDateTime> local = general::ParseDateText(text);
    if (!local) return std::nullopt;
    return local->toUTC();
}

QString LocalText(const QDateTime& instant) { return general::DateText(instant.toLocalTime()); }

} // namespace

bool IsNumeric(QStringView text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?\s*$)"));
    return number.match(text.toString()).hasMatch();
}

HmsReading ReadHms(const HmsTexts& boxes)
{
    constexpr std::array<std::int64_t, 3> kSecondsPer{3600, 60, 1};
    std::array<std::int64_t, 3> parts{};
    for (int i = 0; i < 3; ++i) {
        const QString& text = Box(boxes, i);
        if (!IsNumeric(text)) return {std::nullopt, i};
        try {
            parts[size_t(i)] = std::int64_t(general::CLng(general::Val(text))) * kSecondsPer[size_t(i)];
        } catch (const general::OverflowError&) {
            return {std::nullopt, i};
        }
    }
    const std::int64_t total = parts[0] + parts[1] + parts[2];
    if (total > std::numeric_limits<std::int32_t>::max() || total < std::numeric_limits<std::int32_t>::min()) {
        int largest = 0;
        for (int i = 1; i < 3; ++i)
            if (std::llabs(parts[size_t(i)]) > std::llabs(parts[size_t(largest)])) largest = i;
        return {std::nullopt, largest};
    }
    return {std::int32_t(total), -1};
}

HmsTexts SplitDuration(std::int64_t seconds)
{
    return {QString::number(seconds / 3600), QString::number((seconds / 60) % 60), QString::number(seconds % 60)};
}

std::optional<HmsTexts> DurationFromDates(const QString& starting, const QString& completion)
{
    const std::optional<QDateTime> start = Instant(starting);
    const std::optional<QDateTime> end = Instant(completion);
    if (!start || !end) return std::nullopt;
    return SplitDuration(start->secsTo(*end));
}

TimeLapseRun ReadTimeLapseRun(const TimeLapseBoxes& boxes, const QDateTime& now)
{
    TimeLapseRun run;
    const HmsReading interval = ReadHms(boxes.interval);
    if (!interval.seconds) {
        run.outcome = Message(kIntervalMessages[size_t(interval.badBox)], Box(boxes.interval, interval.badBox));
        return run;
    }
    run.intervalSeconds = *interval.seconds;

    if (boxes.immediate) {
        const QDateTime start = QDateTime::fromSecsSinceEpoch(now.toSecsSinceEpoch(), Qt::UTC);
        // The starting box is written before the duration is read, as the press shows it.
        run.startingText = LocalText(start);
        const HmsReading duration = ReadHms(boxes.duration);
        if (!duration.seconds) {
            run.outcome = Message(kDurationMessages[size_t(duration.badBox)], Box(boxes.duration, duration.badBox));
            return run;
        }
        run.start = start;
        run.completion = start.addSecs(*duration.seconds);
        run.completionText = LocalText(run.completion);
        return run;
    }

    const std::optional<QDateTime> start = Instant(boxes.starting);
    if (!start) {
        run.outcome = Message(498, boxes.starting);
        return run;
    }
    const std::optional<QDateTime> completion = Instant(boxes.completion);
    if (!completion) {
        run.outcome = Message(499, boxes.completion);
        return run;
    }
    run.start = *start;
    run.completion = *completion;
    run.startingText = boxes.starting;
    run.completionText = boxes.completion;
    run.duration = SplitDuration(start->secsTo(*completion));
    return run;
}

} // namespace capture
