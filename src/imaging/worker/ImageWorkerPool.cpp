#include "imaging/worker/ImageWorkerPool.h"

#include <QEventLoop>
#include <QThread>

ImageWorkerPool::ImageWorkerPool(int workers, const QString& program, int timeoutMs, QObject* parent)
    : QObject(parent)
{
    if (workers <= 0) workers = std::max(1, QThread::idealThreadCount());
    for (int i = 0; i < workers; ++i) {
        auto* worker = new ImageWorker(program, timeoutMs, this);
        workers_.push_back({worker});
        connect(worker, &ImageWorker::finished, this, [this, i] {
            Slot& slot = workers_[std::size_t(i)];
            const int ticket = std::exchange(slot.ticket, -1);
            done_[ticket] = slot.worker->takeResult();
            dispatch();
            emit finished(ticket);
        });
    }
}

int ImageWorkerPool::submit(const PipelineJob& job)
{
    const int ticket = nextTicket_++;
    queue_.emplace_back(ticket, job);
    dispatch();
    return ticket;
}

void ImageWorkerPool::dispatch()
{
    for (Slot& slot : workers_) {
        if (queue_.empty()) return;
        if (slot.ticket >= 0) continue;
        auto [ticket, job] = std::move(queue_.front());
        queue_.pop_front();
        slot.ticket = ticket;
        slot.worker->start(job);
    }
}

void ImageWorkerPool::waitFor(int ticket)
{
    if (isDone(ticket)) return;
    QEventLoop loop;
    connect(this, &ImageWorkerPool::finished, &loop, [&loop, ticket, this] {
        if (isDone(ticket)) loop.quit();
    });
    loop.exec();
}

PipelineResult ImageWorkerPool::take(int ticket)
{
    const auto it = done_.find(ticket);
    if (it == done_.end()) {
        PipelineResult missing;
        missing.error = QStringLiteral("No such image job");
        return missing;
    }
    PipelineResult result = std::move(it->second);
    done_.erase(it);
    return result;
}

void ImageWorkerPool::cancel()
{
    queue_.clear();
    for (Slot& slot : workers_) {
        if (slot.ticket < 0) continue;
        slot.worker->stop();
        slot.ticket = -1;
    }
}
