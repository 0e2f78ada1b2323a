#include "platform/system/RunAndWait.h"
#include "platform/system/WaitUntil.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/TempDir.h"

TEST(WaitDeadline, ADeadlinePastMidnightWrapsAndWaitsForMidnight)
{
    const WaitDeadline d = MakeWaitDeadline(86000, 1000);
    EXPECT_TRUE(d.wrapped);
    EXPECT_EQ(d.deadline, 600);
    EXPECT_FALSE(WaitDeadlinePassed(d, 86000));
    EXPECT_FALSE(WaitDeadlinePassed(d, 86399.9));   // before midnight: still waiting
    EXPECT_FALSE(WaitDeadlinePassed(d, 10));        // after midnight, before the deadline
    EXPECT_FALSE(WaitDeadlinePassed(d, 600));
    EXPECT_TRUE(WaitDeadlinePassed(d, 601));
}

TEST(WaitDeadline, PlainDeadlinesAndNoDeadline)
{
    const WaitDeadline d = MakeWaitDeadline(1000.5, 10);   // 1000.5 rounds half to even: 1000
    EXPECT_EQ(d.start, 1000);
    EXPECT_EQ(d.deadline, 1010);
    EXPECT_FALSE(d.wrapped);
    EXPECT_FALSE(WaitDeadlinePassed(d, 1010));
    EXPECT_TRUE(WaitDeadlinePassed(d, 1010.5));
    EXPECT_FALSE(MakeWaitDeadline(86000, 0).active);
    EXPECT_FALSE(WaitDeadlinePassed(MakeWaitDeadline(86000, -5), 90000));
    EXPECT_TRUE(MakeWaitDeadline(86000, 400).wrapped);   // exactly 86400 wraps to 0
    EXPECT_EQ(MakeWaitDeadline(86000, 400).deadline, 0);
}

TEST(RunAndWait, WaitsForTheProgramWithPathsAsOneArgumentEach)
{
    TempDir dir;
    // A path with spaces and shell characters stays one argument and runs nothing.
    const QString target = dir.file("a b; touch injected.txt");
    const RunResult run = RunAndWait("/bin/sh", {"-c", "sleep 0.3; echo done > \"$0\"; exit 3", target},
                                     {.timeoutSeconds = 10});
    EXPECT_EQ(run.outcome, RunOutcome::Ended);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(dir.file("injected.txt")));
}

TEST(RunAndWait, EndedTimedOutNotStartedAndStoppedAreToldApart)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunAndWait("/bin/sleep", {"30"}, {.timeoutSeconds = 1}).outcome, RunOutcome::TimedOut);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_GT(ticks, 5);   // the interface's timers ran during the wait

    const RunResult missing = RunAndWait("/no/such/program", {}, {.timeoutSeconds = 5});
    EXPECT_EQ(missing.outcome, RunOutcome::NotStarted);
    EXPECT_FALSE(missing.error.isEmpty());

    // Asked twice: go on, then stop; the output's tail is kept.
    int asked = 0;
    RunOptions options;
    options.askEveryMs = 100;
    options.goOn = [&] { return ++asked < 2; };
    options.keepOutput = 4;
    const RunResult stopped = RunAndWait("/bin/sh", {"-c", "echo 123456; exec sleep 30"}, options);
    EXPECT_EQ(stopped.outcome, RunOutcome::Stopped);
    EXPECT_EQ(asked, 2);
    const RunResult printed = RunAndWait("/bin/sh", {"-c", "echo 123456"}, options);
    EXPECT_EQ(printed.outcome, RunOutcome::Ended);
    EXPECT_EQ(printed.output, "456\n");
}

TEST(WaitUntil, EndsWhenDoneAtTheTimeOutOrWhenItsGuardGoes)
{
    EXPECT_TRUE(WaitUntil([] { return true; }, {.timeoutMs = 0}));

    // Met later, by the interface's own timers running during the wait.
    bool flag = false;
    QTimer::singleShot(50, [&] { flag = true; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(WaitUntil([&] { return flag; }, {.timeoutMs = 10000}));
    EXPECT_LT(clock.elapsed(), 5000);

    // Never met: false after the time-out, not before.
    clock.restart();
    EXPECT_FALSE(WaitUntil([] { return false; }, {.timeoutMs = 200}));
    EXPECT_GE(clock.elapsed(), 190);

    // The object the wait belongs to is destroyed: the wait ends at once, unmet.
    auto* owner = new QObject;
    QTimer::singleShot(50, [owner] { delete owner; });
    clock.restart();
    EXPECT_FALSE(WaitUntil([] { return false; }, {.timeoutMs = 10000, .guard = owner}));
    EXPECT_LT(clock.elapsed(), 5000);
}
