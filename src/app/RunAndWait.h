#pragma once
// Running an external program and waiting for it while the interface stays alive.
#include <QString>
#include <QStringList>

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

// Starts the program with its arguments (a list: paths with spaces or quotes stay one argument)
// and waits until it ends or the time-out passes, handling the interface's events meanwhile
// without spinning the processor. Returns 0 when the program ended or could not be started
// (nothing is shown), 1 when the time-out passed first; the program is then stopped.
int RunAndWait(const QString& program, const QStringList& arguments, int timeoutSeconds);

// The time of day in seconds since midnight, with fractions.
double SecondsSinceMidnight();
