#include "sound/EnvelopeTask.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

void EnvelopeTask::Start(const EnvelopeJob& job)
{
    Cancel();
    auto cancel = std::make_shared<std::atomic_bool>(false);
    cancel_ = cancel;
    QPointer<EnvelopeTask> self(this);
    QThreadPool::globalInstance()->start([job, cancel, self] {
        std::optional<WaveEnvelope> envelope = ComputeEnvelope(job, *cancel);
        if (!envelope || *cancel) return;
        // Back on the interface thread, where the task may be checked for and used.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, cancel, envelope = std::move(*envelope)] {
                if (!self || *cancel || self->cancel_ != cancel) return;
                self->cancel_.reset();
                emit self->done(envelope);
            },
            Qt::QueuedConnection);
    });
}

void EnvelopeTask::Cancel()
{
    if (cancel_) *cancel_ = true;
    cancel_.reset();
}
