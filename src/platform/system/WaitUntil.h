#pragma once
// The one wait for something other than a program (programs: RunAndWait.h). The interface's
// events go on being handled while KIVRA waits, without spinning the processor, and every wait
// ends: a camera that sends no picture, a worker that never answers or a sound input that stalls
// costs at most the time-out, never a locked window.
#include <QEventLoop>
#include <functional>

class QObject;

struct WaitOptions {
    int timeoutMs = 3000;
    // done() is asked at once and then every pollMs.
    int pollMs = 5;
    // The wait ends early, as a time-out, when this object is destroyed meanwhile (the window
    // whose request is waiting was closed). Null: nothing to watch.
    const QObject* guard = nullptr;
    // AllEvents lets the user go on working; ExcludeUserInputEvents holds clicks and keys back
    // until the wait is over (they are not lost).
    QEventLoop::ProcessEventsFlags events = QEventLoop::AllEvents;
};

// Waits until done() holds; false when the time-out passed (or the guard went) first. done() is
// only ever called on the calling thread.
bool WaitUntil(const std::function<bool()>& done, const WaitOptions& options = {});
