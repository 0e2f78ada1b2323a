// The programmed recording's schedule and the rules for typing its start and stop times, with
// the time passed in.
#include "recorder/Schedule.h"
#include "recorder/modWave.h"

#include <gtest/gtest.h>

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(14, 0, 0));
}

TEST(Schedule, StartsAfterItsStartTimeOnlyWhenProgrammedIdleAndUnfinished)
{
    modWave w;
    w.ManualMode = false;
    w.StartTime = kNow;
    w.StopTime = kNow.addSecs(60);
    EXPECT_FALSE(ScheduleStartDue(w, kNow));              // "later than": not at the very moment
    EXPECT_TRUE(ScheduleStartDue(w, kNow.addMSecs(1)));
    w.ManualMode = true;
    EXPECT_FALSE(ScheduleStartDue(w, kNow.addSecs(1)));
    w.ManualMode = false;
    w.Recording = true;
    EXPECT_FALSE(ScheduleStartDue(w, kNow.addSecs(1)));
    w.Recording = false;
    w.RecordingFinished = true;
    EXPECT_FALSE(ScheduleStartDue(w, kNow.addSecs(1)));
}

TEST(Schedule, StopsAfterItsStopTimeUnlessManualOrFinished)
{
    modWave w;
    w.ManualMode = false;
    w.Recording = true;
    w.StartTime = kNow;
    w.StopTime = kNow.addSecs(60);
    EXPECT_FALSE(ScheduleStopDue(w, kNow.addSecs(60)));
    EXPECT_TRUE(ScheduleStopDue(w, kNow.addSecs(61)));
    w.Recording = false;   // a start and stop both past: the start step has just run
    EXPECT_TRUE(ScheduleStopDue(w, kNow.addSecs(61)));
    w.RecordingFinished = true;
    EXPECT_FALSE(ScheduleStopDue(w, kNow.addSecs(61)));
    w.RecordingFinished = false;
    w.ManualMode = true;
    EXPECT_FALSE(ScheduleStopDue(w, kNow.addSecs(61)));
}

TEST(TimeEntry, StartTimeAnswers)
{
    const QDateTime start = kNow.addSecs(900), stop = kNow.addSecs(1800);
    // Empty (Cancel) and invalid answers change nothing; only the invalid one is answered.
    TimeEntry e = EnterStartTime("", start, stop, kNow);
    EXPECT_EQ(e.start, start);
    EXPECT_EQ(e.message, 0);
    e = EnterStartTime("half past two", start, stop, kNow);
    EXPECT_EQ(e.message, 479);
    EXPECT_EQ(e.start, start);
    EXPECT_EQ(e.stop, stop);

    // A future start is taken; the stop stays when it is still later.
    e = EnterStartTime("2026-12-08 14:10", start, stop, kNow);
    EXPECT_EQ(e.message, 0);
    EXPECT_EQ(e.start, kNow.addSecs(600));
    EXPECT_EQ(e.stop, stop);

    // A start after the stop moves the stop to start + 15 minutes.
    e = EnterStartTime("2026-12-08 15:00:00", start, stop, kNow);
    EXPECT_EQ(e.start, kNow.addSecs(3600));
    EXPECT_EQ(e.stop, kNow.addSecs(3600 + 900));

    // A start in the past: the message, then now + 15 minutes (and the stop follows when earlier).
    e = EnterStartTime("2026-12-08 13:00", start, kNow.addSecs(60), kNow.addMSecs(400));
    EXPECT_EQ(e.message, 596);
    EXPECT_EQ(e.start, kNow.addSecs(900));
    EXPECT_EQ(e.stop, kNow.addSecs(1800));
}

TEST(TimeEntry, StopTimeAnswers)
{
    const QDateTime start = kNow.addSecs(900), stop = kNow.addSecs(1800);
    EXPECT_EQ(StopTimeOffered(start, stop), stop);
    EXPECT_EQ(StopTimeOffered(start, kNow), start.addSecs(900));

    TimeEntry e = EnterStopTime("", start, stop);
    EXPECT_EQ(e.stop, stop);
    EXPECT_EQ(e.message, 0);
    e = EnterStopTime("not a time", start, stop);
    EXPECT_EQ(e.message, 479);
    EXPECT_EQ(e.stop, stop);
    e = EnterStopTime("2026-12-08 14:15:00", start, stop);   // equal to the start: taken
    EXPECT_EQ(e.message, 0);
    EXPECT_EQ(e.stop, start);
    e = EnterStopTime("2026-12-08 14:14:59", start, stop);   // earlier: start + 5 minutes
    EXPECT_EQ(e.message, 480);
    EXPECT_EQ(e.stop, start.addSecs(300));
    EXPECT_EQ(e.start, start);
}
