#include "app/RunAndWait.h"

#include "general/General.h"

#include <QEventLoop>
#include <QProcess>
#include <QTime>
#include <QTimer>

namespace {
constexpr int kSecondsPerDay = 86400;
constexpr int kPollMs = 50;
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

int RunAndWait(const QString& program, const QStringList& arguments, int timeoutSeconds)
{
    const WaitDeadline deadline = MakeWaitDeadline(SecondsSinceMidnight(), timeoutSeconds);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) return 0;

    // The loop sleeps in the event loop: woken by the program's end, by interface events, and by
    // a slow poll of the clock for the deadline.
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    bool timedOut = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (WaitDeadlinePassed(deadline, SecondsSinceMidnight())) {
            timedOut = true;
            loop.quit();
        }
    });
    poll.start();
    if (process.state() != QProcess::NotRunning) loop.exec();
    poll.stop();

    if (timedOut && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        return 1;
    }
    return 0;
}
