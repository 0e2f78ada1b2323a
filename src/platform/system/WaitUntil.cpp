#include "platform/system/WaitUntil.h"

#include <algorithm>

#include <QPointer>
#include <QTimer>

bool WaitUntil(const std::function<bool()>& done, const WaitOptions& options)
{
    if (done()) return true;
    const bool guarded = options.guard != nullptr;
    QPointer<const QObject> guard(options.guard);
    QEventLoop loop;
    bool met = false;
    QTimer poll;
    poll.setInterval(std::max(1, options.pollMs));
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (guarded && !guard) {
            loop.quit();
        } else if (done()) {
            met = true;
            loop.quit();
        }
    });
    QTimer::singleShot(std::max(0, options.timeoutMs), &loop, &QEventLoop::quit);
    if (guarded) QObject::connect(options.guard, &QObject::destroyed, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec(options.events);
    if (met) return true;
    // The time-out and the last poll may have come together: the condition decides.
    return (!guarded || guard) && done();
}
