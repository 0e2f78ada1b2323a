#include "imaging/worker/ImageWorkerPool.h"

#include "platform/system/WaitUntil.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <limits>

ImageWorkerPool::ImageWorkerPool(int workers, const QString& program, int timeoutMs, QObject* parent)
    : QObject(parent), timeoutMs_(timeoutMs)
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
        slot.path = job.inputPath;
        slot.worker->start(job);
    }
}

QString ImageWorkerPool::pathOf(int ticket) const
{
    for (const Slot& slot : workers_)
        if (slot.ticket == ticket) return slot.path;
    for (const auto& [queued, job] : queue_)
        if (queued == ticket) return job.inputPath;
    return {};
}

int ImageWorkerPool::waitLimitMs(int ticket) const
{
    const auto position = std::find_if(queue_.begin(), queue_.end(),
                                       [ticket](const auto& queued) { return queued.first == ticket; });
    const int ahead = position == queue_.end() ? 0 : int(position - queue_.begin());
    const qint64 limit = qint64(ahead / std::max(1, workerCount()) + 1) * timeoutMs_ + WorkerStartMs;
    return int(std::min<qint64>(limit, std::numeric_limits<int>::max()));
}

Outcome ImageWorkerPool::waitFor(int ticket, const QObject* guard)
{
    const QString path = pathOf(ticket);
    if (!isDone(ticket) && path.isEmpty())
        return Outcome::Failure(QStringLiteral("No such image job"), QString(), QStringLiteral("unknown ticket"),
                                MsgIcon::None);
    WaitOptions options;
    options.timeoutMs = waitLimitMs(ticket);
    options.guard = guard;
    QObject turn;
    bool turned = false;
    QTimer::singleShot(0, &turn, [&turned] { turned = true; });
    QElapsedTimer waited;
    waited.start();
    if (WaitUntil([&] { return turned && isDone(ticket); }, options)) return Outcome::Success();
    if (waited.elapsed() < options.timeoutMs)
        return Outcome::Failure(QStringLiteral("The wait for the image worker was interrupted: ") + path, QString(),
                                QStringLiteral("interrupted"), MsgIcon::None);
    return Outcome::Failure(QStringLiteral("The image worker did not finish within %1 seconds: ")
                                    .arg(options.timeoutMs / 1000) + path,
                            QString(), QStringLiteral("time-out"), MsgIcon::None);
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
        slot.path.clear();
    }
}
