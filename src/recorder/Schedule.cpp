#include "recorder/Schedule.h"

#include "general/General.h"
#include "recorder/modWave.h"

namespace {
constexpr int kQuarterHour = 15 * 60;
constexpr int kFiveMinutes = 5 * 60;
}

bool ScheduleStartDue(const modWave& wave, const QDateTime& now)
{
    return now > wave.StartTime && !wave.RecordingFinished && !wave.ManualMode && !wave.Recording;
}

bool ScheduleStopDue(const modWave& wave, const QDateTime& now)
{
    return now > wave.StopTime && !wave.RecordingFinished && !wave.ManualMode;
}

QDateTime WholeSeconds(const QDateTime& time)
{
    QDateTime whole = time;
    whole.setTime(QTime(time.time().hour(), time.time().minute(), time.time().second()));
    return whole;
}

TimeEntry EnterStartTime(const QString& answer, const QDateTime& start, const QDateTime& stop,
                         const QDateTime& now)
{
    TimeEntry entry{start, stop, 0};
    if (answer.isEmpty()) return entry;
    const std::optional<QDateTime> typed = general::ParseDateText(answer);
    if (!typed) {
        entry.message = 479;
        return entry;
    }
    if (*typed < now) {
        entry.message = 596;
        entry.start = WholeSeconds(now).addSecs(kQuarterHour);
    } else {
        entry.start = *typed;
    }
    if (entry.stop < entry.start) entry.stop = entry.start.addSecs(kQuarterHour);
    return entry;
}

QDateTime StopTimeOffered(const QDateTime& start, const QDateTime& stop)
{
    return stop < start ? start.addSecs(kQuarterHour) : stop;
}

TimeEntry EnterStopTime(const QString& answer, const QDateTime& start, const QDateTime& stop)
{
    TimeEntry entry{start, stop, 0};
    if (answer.isEmpty()) return entry;
    const std::optional<QDateTime> typed = general::ParseDateText(answer);
    if (!typed) {
        entry.message = 479;
        return entry;
    }
    if (*typed < start) {
        entry.message = 480;
        entry.stop = start.addSecs(kFiveMinutes);
    } else {
        entry.stop = *typed;
    }
    return entry;
}
