#include "platform/system/RunAndWait.h"

#include "general/General.h"

#include <QEventLoop>
#include <QProcess>
#include <QTime>
#include <QTimer>

namespace {
constexpr int kSecondsPerDay = 86400;
constexpr int kPollMs = 50;
constexpr int kStartMs = 10000;
}

double SecondsSinceMidnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

WaitDeadline MakeWaitDeadline(double secondsSinceMidnight, int timeoutSeconds)
{
    WaitDeadline d;
    d.start = int(general::Round(secondsSinceMidnight));
    if (timeoutSeconds > 0) {
        d.active = true;
        d.deadline = d.start + timeoutSeconds;
        if (d.deadline >= kSecondsPerDay) {
            d.deadline -= kSecondsPerDay;
            d.wrapped = true;
        }
    }
    return d;
}

bool WaitDeadlinePassed(const WaitDeadline& d, double now)
{
    if (!d.active || now <= d.deadline) return false;
    // A wrapped deadline lies after midnight: before midnight the time of day is still at or
    // after the start, and the wait goes on.
    return !(d.wrapped && now >= d.start);
}

RunResult RunAndWait(const QString& program, const QStringList& arguments, const RunOptions& options)
{
    const WaitDeadline deadline = MakeWaitDeadline(SecondsSinceMidnight(), options.timeoutSeconds);
    RunResult result;
    QProcess process;
    const bool keep = options.keepOutput > 0;
    process.setProcessChannelMode(keep ? QProcess::MergedChannels : QProcess::ForwardedChannels);
    auto collect = [&] {
        result.output += process.readAll();
        if (result.output.size() > options.keepOutput)
            result.output = result.output.right(options.keepOutput);
    };
    if (keep) QObject::connect(&process, &QProcess::readyRead, collect);
    process.start(program, arguments);
    if (!process.waitForStarted(kStartMs)) {
        result.error = process.errorString();
        process.kill();
        process.waitForFinished(5000);
        return result;
    }

    // The loop sleeps in the event loop: woken by the program's end, by interface events, by a
    // slow poll of the clock for the deadline, and by the question's timer.
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QTimer ask;
    ask.setSingleShot(true);
    ask.setInterval(options.askEveryMs);
    RunOutcome outcome = RunOutcome::Ended;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (WaitDeadlinePassed(deadline, SecondsSinceMidnight())) {
            outcome = RunOutcome::TimedOut;
            loop.quit();
        }
    });
    QObject::connect(&ask, &QTimer::timeout, &loop, [&] {
        const bool goOn = options.goOn();
        if (process.state() == QProcess::NotRunning) {
            loop.quit();
        } else if (!goOn) {
            outcome = RunOutcome::Stopped;
            loop.quit();
        } else {
            ask.start();
        }
    });
    if (process.state() != QProcess::NotRunning) {
        if (deadline.active) poll.start();
        if (options.askEveryMs > 0 && options.goOn) ask.start();
        loop.exec();
    }
    poll.stop();
    ask.stop();

    if (outcome != RunOutcome::Ended && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(-1);
        result.outcome = outcome;
        return result;
    }
    // The finished signal may still be queued behind the loop's end: reap the process here.
    process.waitForFinished(-1);
    if (keep) collect();
    result.outcome = RunOutcome::Ended;
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    return result;
}
