#pragma once
// Running an external program and waiting for it while the interface stays alive: the one
// routine that does so (the MP3 decoder and encoder both wait through it).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// The deadline of a wait, in seconds since midnight. A deadline at or past midnight wraps to the
// next day, and the wait then lasts until midnight has passed and the wrapped time is reached.
struct WaitDeadline {
    int start = 0;          // time of day the wait began, whole seconds (rounded half to even)
    int deadline = 0;
    bool wrapped = false;
    bool active = false;    // false: no time-out, wait as long as the program runs
};

WaitDeadline MakeWaitDeadline(double secondsSinceMidnight, int timeoutSeconds);
bool WaitDeadlinePassed(const WaitDeadline& deadline, double secondsSinceMidnight);

struct RunOptions {
    int timeoutSeconds = 0;           // 0 or less: no time-out
    // Every askEveryMs of waiting (counted from the last answer) goOn is asked whether to wait
    // on; false stops the program. A program that ended while the question was asked counts as
    // ended.
    int askEveryMs = 0;
    std::function<bool()> goOn;
    // Bytes of the program's output (standard output and error together) to keep, the last ones;
    // 0 passes the output through to KIVRA's own.
    qsizetype keepOutput = 0;
};

enum class RunOutcome {
    Ended,        // the program ran and ended, by itself or by a crash
    TimedOut,     // the time-out passed first; the program was stopped
    NotStarted,   // the program could not be started
    Stopped,      // goOn said no; the program was stopped
};

struct RunResult {
    RunOutcome outcome = RunOutcome::NotStarted;
    int exitCode = -1;      // Ended: the program's exit code
    bool crashed = false;   // Ended: by a signal rather than an exit
    QByteArray output;      // the kept output
    QString error;          // NotStarted: why, in the system's words
};

// Starts the program with its arguments (a list: paths with spaces or quotes stay one argument)
// and waits until it ends, handling the interface's events meanwhile without spinning the
// processor. The program is never left running when this returns.
RunResult RunAndWait(const QString& program, const QStringList& arguments,
                     const RunOptions& options = {});

// The time of day in seconds since midnight, with fractions.
double SecondsSinceMidnight();
