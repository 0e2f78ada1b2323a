#pragma once
// Computes a waveform envelope on a worker thread and hands it back on the thread that asked.
// Starting again or cancelling drops a computation still running: it stops at its next block
// and its result never arrives. Destroying the task cancels it; the worker holds nothing of the
// task's, so a window may close at any time.
#include "sound/WaveEnvelope.h"

#include <QObject>
#include <memory>

class EnvelopeTask : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~EnvelopeTask() override { Cancel(); }

    void Start(const EnvelopeJob& job);
    void Cancel();
    bool running() const { return bool(cancel_); }

signals:
    void done(const WaveEnvelope& envelope);

private:
    std::shared_ptr<std::atomic_bool> cancel_;
};
