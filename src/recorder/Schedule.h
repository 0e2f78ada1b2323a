#pragma once
// The programmed recording's schedule and the rules for typing its times. Every function takes
// the current time as an argument, so a test decides what time it is.
#include <QDateTime>
#include <QString>

class modWave;

// A programmed recording starts on the first check after its start time: now later than
// StartTime, and not manual, not recording, not finished.
bool ScheduleStartDue(const modWave& wave, const QDateTime& now);
// It stops on the first check after its stop time: now later than StopTime, not manual, not
// finished (tested after the start step, with the time read again).
bool ScheduleStopDue(const modWave& wave, const QDateTime& now);

// The time shown and compared: to the whole second, as the date text shows it.
QDateTime WholeSeconds(const QDateTime& time);

// The times after an answer to one of the time input boxes, and the text entry of the message
// to show first (0: none).
struct TimeEntry {
    QDateTime start;
    QDateTime stop;
    int message = 0;
};

// The start time typed: empty changes nothing; not a date/time: message 479, nothing changes;
// earlier than now: message 596 and the start becomes now + 15 minutes; otherwise the answer.
// After a change, a stop time earlier than the start becomes start + 15 minutes.
TimeEntry EnterStartTime(const QString& answer, const QDateTime& start, const QDateTime& stop,
                         const QDateTime& now);
// What the stop time box offers: the stop time, or start + 15 minutes when it is earlier.
QDateTime StopTimeOffered(const QDateTime& start, const QDateTime& stop);
// The stop time typed: empty changes nothing; not a date/time: message 479; not earlier than the
// start: the answer; earlier: message 480 and the stop becomes start + 5 minutes.
TimeEntry EnterStopTime(const QString& answer, const QDateTime& start, const QDateTime& stop);
