// The time-lapse schedule driven tick by tick with made-up times: which ticks take a frame, how
// a run starts, catches up and ends, and that a night with a clock change keeps its pace.
#include "capture/TimeLapseRun.h"
#include "capture/TimeLapseSchedule.h"
#include "general/General.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <ctime>
#include <functional>
#include <vector>

using namespace capture;

namespace {

constexpr std::int64_t kTickMs = 500;
const QDateTime kT0 = QDateTime(QDate(2026, 5, 12), QTime(10, 0, 0), Qt::UTC);

QDateTime At(std::int64_t ms) { return kT0.addMSecs(ms); }

// Drives the schedule as the window's timer does, one tick every `tickMs` from `from` up to
// `until` (or until the run completes): each due frame is taken unless `fails` says the camera
// failed at that tick. The frames' due times, the ticks that took them, and when it completed.
struct Drive {
    std::vector<QDateTime> due;
    std::vector<QDateTime> ticks;
    QDateTime completedAt;
};
Drive Ticks(TimeLapseSchedule& s, const QDateTime& from, const QDateTime& until, std::int64_t tickMs = kTickMs,
          const std::function<bool(const QDateTime&)>& fails = {})
{
    Drive d;
    for (QDateTime now = from; now <= until; now = now.addMSecs(tickMs)) {
        const TimeLapseStep step = s.tick(now);
        if (step == TimeLapseStep::Completed) {
            d.completedAt = now;
            break;
        }
        if (step != TimeLapseStep::TakeFrame || (fails && fails(now))) continue;
        d.due.push_back(s.nextFrameTime());
        d.ticks.push_back(now);
        s.frameTaken(d.due.back());
    }
    return d;
}

// Gaps in seconds between consecutive times.
std::vector<std::int64_t> Gaps(const std::vector<QDateTime>& times)
{
    std::vector<std::int64_t> gaps;
    for (size_t i = 1; i < times.size(); ++i) gaps.push_back(times[i - 1].msecsTo(times[i]));
    return gaps;
}

TimeLapseBoxes Immediate(HmsTexts interval, HmsTexts duration) { return {interval, duration, {}, {}, true}; }
TimeLapseBoxes Programmed(HmsTexts interval, const QString& start, const QString& completion)
{
    return {interval, {"0", "3", "0"}, start, completion, false};
}

} // namespace

// The window's defaults: one frame a second for three minutes, started at an odd moment.
TEST(TimeLapseSchedule, DefaultsGiveOneFrameASecondForThreeMinutes)
{
    const QDateTime pressed = At(300);
    const TimeLapseRun run = ReadTimeLapseRun(Immediate({"0", "0", "1"}, {"0", "3", "0"}), pressed);
    ASSERT_TRUE(run.outcome.ok);
    EXPECT_EQ(run.start, kT0) << "the start is the press to the whole second";
    EXPECT_EQ(run.start.secsTo(run.completion), 180);

    TimeLapseSchedule s;
    s.arm(run.start, run.completion, run.intervalSeconds);
    const Drive d = Ticks(s, pressed.addMSecs(kTickMs), pressed.addSecs(300));
    EXPECT_EQ(d.due.size(), 180u);
    EXPECT_EQ(d.due.front(), kT0);
    for (std::int64_t gap : Gaps(d.due)) ASSERT_EQ(gap, 1000);
    EXPECT_EQ(d.due.back(), kT0.addSecs(179)) << "the last frame is the last one due before completion";
    EXPECT_EQ(d.completedAt, At(180'300));
    EXPECT_FALSE(s.armed());
    EXPECT_EQ(s.tick(At(181'000)), TimeLapseStep::Idle);
}

// Completion is looked at only when a frame is due, and a completion before the start ends the
// run on its first due frame without a frame.
TEST(TimeLapseSchedule, CompletionIsSeenOnlyWhenAFrameIsDue)
{
    TimeLapseSchedule s;
    s.arm(kT0, kT0.addSecs(90), 60);
    Drive d = Ticks(s, kT0, kT0.addMSecs(119'500));
    ASSERT_EQ(d.due.size(), 2u);
    EXPECT_EQ(d.due[1], kT0.addSecs(60));
    EXPECT_FALSE(d.completedAt.isValid()) << "past the completion, but nothing due yet";
    EXPECT_EQ(s.tick(kT0.addSecs(120)), TimeLapseStep::Completed);

    s.arm(kT0.addSecs(10), kT0, 1);
    d = Ticks(s, kT0, kT0.addSecs(60));
    EXPECT_TRUE(d.due.empty());
    EXPECT_EQ(d.completedAt, kT0.addSecs(10)) << "waits for its start, then ends at once";
}

// Pressing Start again during a run starts over from the new start: nothing of the old run is
// caught up.
TEST(TimeLapseSchedule, ArmingAgainRestartsFromTheNewStart)
{
    TimeLapseSchedule s;
    s.arm(kT0, kT0.addSecs(600), 10);
    Drive d = Ticks(s, kT0, kT0.addSecs(25));
    ASSERT_EQ(d.due.size(), 3u);

    const TimeLapseRun again = ReadTimeLapseRun(Immediate({"0", "0", "10"}, {"0", "1", "0"}), At(47'800));
    s.arm(again.start, again.completion, again.intervalSeconds);
    EXPECT_EQ(s.nextFrameTime(), kT0.addSecs(47));
    d = Ticks(s, At(48'300), At(200'000));
    ASSERT_EQ(d.due.size(), 6u);
    EXPECT_EQ(d.due.front(), kT0.addSecs(47));
    EXPECT_EQ(d.due.back(), kT0.addSecs(97));
    EXPECT_EQ(d.completedAt, At(107'300));
}

// Interval 0 takes a frame on every tick; a frame that fails stays due for the next tick.
TEST(TimeLapseSchedule, ZeroIntervalTakesEveryTickAndAFailedFrameStaysDue)
{
    TimeLapseSchedule s;
    s.arm(kT0, kT0.addSecs(10), 0);
    Drive d = Ticks(s, kT0, kT0.addSecs(20));
    EXPECT_EQ(d.ticks.size(), 20u) << "two frames a second for ten seconds";
    EXPECT_EQ(d.completedAt, kT0.addSecs(10));

    s.arm(kT0, kT0.addSecs(10), 1);
    // The camera fails on the ticks of second 3: the frame due at 3 s is taken at 4 s.
    d = Ticks(s, kT0, kT0.addSecs(20), kTickMs, [](const QDateTime& now) {
        return kT0.secsTo(now) == 3;
    });
    ASSERT_EQ(d.due.size(), 10u);
    EXPECT_EQ(d.due[3], kT0.addSecs(3));
    EXPECT_EQ(d.ticks[3], kT0.addSecs(4));
    for (std::int64_t gap : Gaps(d.due)) EXPECT_EQ(gap, 1000);
}

// Ticks missed while the machine was busy, or a start in the past: one overdue frame a tick,
// in order, until the due time is ahead again; none is skipped.
TEST(TimeLapseSchedule, MissedFramesAreCaughtUpOnePerTick)
{
    TimeLapseSchedule s;
    s.arm(kT0, kT0.addSecs(60), 1);
    Drive d = Ticks(s, kT0, kT0.addMSecs(2'500));
    ASSERT_EQ(d.due.size(), 3u);
    // Seven seconds without a tick: from 9.5 s every tick takes the next overdue frame, in
    // order, until the one due at 16 s; then one a second again.
    d = Ticks(s, kT0.addMSecs(9'500), kT0.addSecs(20));
    ASSERT_EQ(d.due.size(), 18u);
    for (size_t i = 0; i < d.due.size(); ++i) EXPECT_EQ(d.due[i], kT0.addSecs(3 + std::int64_t(i))) << i;
    for (size_t i = 0; i < 14; ++i) EXPECT_EQ(d.ticks[i], kT0.addMSecs(9'500 + 500 * std::int64_t(i))) << i;
    EXPECT_EQ(d.ticks[14], kT0.addSecs(17));
    EXPECT_EQ(s.nextFrameTime(), kT0.addSecs(21));

    // A start an hour ago catches up from there.
    s.arm(kT0.addSecs(-3600), kT0.addSecs(60), 600);
    d = Ticks(s, kT0, kT0.addSecs(1));
    EXPECT_EQ(d.due.size(), 3u);
    EXPECT_EQ(d.due.back(), kT0.addSecs(-2400));
}

// Stop makes the ticks idle; a frame finished after a stop or a new start does not move the
// new run; a completion moved while running counts from then on.
TEST(TimeLapseSchedule, StopRestartWhileTakingAndAMovedCompletion)
{
    TimeLapseSchedule s;
    s.arm(kT0, kT0.addSecs(5), 1);
    EXPECT_EQ(s.tick(kT0), TimeLapseStep::TakeFrame);
    s.stop();
    s.frameTaken(kT0);
    EXPECT_EQ(s.tick(kT0.addSecs(1)), TimeLapseStep::Idle);

    s.arm(kT0, kT0.addSecs(60), 10);
    ASSERT_EQ(s.tick(kT0), TimeLapseStep::TakeFrame);
    const QDateTime due = s.nextFrameTime();
    s.arm(kT0.addSecs(3), kT0.addSecs(60), 10);   // Start pressed while the frame was taken
    s.frameTaken(due);
    EXPECT_EQ(s.nextFrameTime(), kT0.addSecs(3)) << "the new run's first frame is still due";

    s.arm(kT0.addMSecs(700), kT0.addSecs(5), 1);
    EXPECT_EQ(s.nextFrameTime(), kT0) << "whole seconds, as the boxes show";
    s.setCompletion(kT0.addSecs(8));
    const Drive d = Ticks(s, kT0, kT0.addSecs(20));
    EXPECT_EQ(d.due.size(), 8u);
    EXPECT_EQ(d.completedAt, kT0.addSecs(8));
}

namespace {
// Runs the test in a zone whose clocks change: Europe/Berlin goes from 02:00 to 03:00 on
// 29 March 2026 and from 03:00 back to 02:00 on 25 October 2026.
class BerlinTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("TZ");
        hadTz_ = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        ASSERT_EQ(QDateTime(QDate(2026, 3, 29), QTime(1, 30)).offsetFromUtc(), 3600);
        ASSERT_EQ(QDateTime(QDate(2026, 3, 29), QTime(3, 30)).offsetFromUtc(), 7200);
    }
    void TearDown() override
    {
        if (hadTz_) qputenv("TZ", saved_);
        else qunsetenv("TZ");
        tzset();
    }
    static QDateTime Utc(int month, int day, int hour, int minute = 0)
    {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC);
    }

private:
    QByteArray saved_;
    bool hadTz_ = false;
};
}

// Overnight runs over each change: the boxes read local time, the frames keep their pace.
TEST_F(BerlinTime, ANightWithAClockChangeKeepsItsPace)
{
    // Spring: 22:00 to 06:00 local is seven real hours.
    TimeLapseRun run = ReadTimeLapseRun(Programmed({"0", "10", "0"}, "2026-03-28 22:00:00", "2026-03-29 06:00:00"),
                                        Utc(3, 28, 12));
    ASSERT_TRUE(run.outcome.ok);
    EXPECT_EQ(run.duration, (HmsTexts{"7", "0", "0"}));
    EXPECT_EQ(run.start, Utc(3, 28, 21));
    TimeLapseSchedule s;
    s.arm(run.start, run.completion, run.intervalSeconds);
    // The window's clock reads local time.
    Drive d = Ticks(s, Utc(3, 28, 20).toLocalTime(), Utc(3, 29, 6).toLocalTime());
    EXPECT_EQ(d.due.size(), 42u);
    for (std::int64_t gap : Gaps(d.ticks)) ASSERT_EQ(gap, 600'000);
    EXPECT_EQ(d.completedAt, Utc(3, 29, 4));

    // Autumn: an immediate hour started at 02:30 summer time ends at 02:30 winter time; its two
    // date boxes read the same, and the hour is all there.
    run = ReadTimeLapseRun(Immediate({"0", "1", "0"}, {"1", "0", "0"}), Utc(10, 25, 0, 30));
    EXPECT_EQ(run.startingText, "2026-10-25 02:30:00");
    EXPECT_EQ(run.completionText, "2026-10-25 02:30:00");
    s.arm(run.start, run.completion, run.intervalSeconds);
    d = Ticks(s, Utc(10, 25, 0, 30).toLocalTime(), Utc(10, 25, 3).toLocalTime());
    EXPECT_EQ(d.due.size(), 60u);
    for (std::int64_t gap : Gaps(d.ticks)) ASSERT_EQ(gap, 60'000);

    // A time the spring change skips is not a time.
    run = ReadTimeLapseRun(Programmed({"0", "0", "1"}, "2026-03-29 02:30:00", "2026-03-29 06:00:00"), Utc(3, 28, 12));
    EXPECT_EQ(run.outcome.message, "Incorrect format for starting time2026-03-29 02:30:00");
}

// One run from March to October, over both changes: one frame an hour, every gap an hour.
TEST_F(BerlinTime, ARunOverBothChangesTakesItsFramesEvenly)
{
    const TimeLapseRun run =
        ReadTimeLapseRun(Programmed({"1", "0", "0"}, "2026-03-28 22:00:00", "2026-10-25 06:00:00"), Utc(3, 28, 12));
    ASSERT_TRUE(run.outcome.ok);
    const std::int64_t hours = run.start.secsTo(run.completion) / 3600;
    EXPECT_EQ(hours, 24 * 210 + 8) << "the hour lost in spring comes back in autumn";
    TimeLapseSchedule s;
    s.arm(run.start, run.completion, run.intervalSeconds);
    // A tick every 20 s, on the local clock, keeps the test quick; the schedule is the same.
    const Drive d = Ticks(s, run.start.toLocalTime(), run.completion.addSecs(60).toLocalTime(), 20'000);
    EXPECT_EQ(std::int64_t(d.due.size()), hours);
    for (std::int64_t gap : Gaps(d.ticks)) ASSERT_EQ(gap, 3'600'000);
    EXPECT_EQ(d.completedAt, run.completion);
}
