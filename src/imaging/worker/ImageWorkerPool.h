#pragma once
// Several image workers running jobs side by side: jobs are queued in the order given and each
// goes to the first idle worker. Results are kept by ticket until taken.
#include "imaging/worker/ImageWorker.h"
#include "platform/ui/Outcome.h"

#include <QObject>

#include <deque>
#include <map>
#include <vector>

class ImageWorkerPool : public QObject {
    Q_OBJECT
public:
    // workers: how many processes run at once (0: one per processor core).
    explicit ImageWorkerPool(int workers = 0, const QString& program = ImageWorker::Program(),
                             int timeoutMs = ImageWorker::DefaultTimeoutMs, QObject* parent = nullptr);

    int workerCount() const { return int(workers_.size()); }
    // Queues a job; tickets count up from 0.
    int submit(const PipelineJob& job);
    bool isDone(int ticket) const { return done_.count(ticket) > 0; }
    // Waits, handling the interface's events, until the ticket's job is done. The events get one
    // turn at least, also when the job was done already: a batch sees between two files a key
    // pressed meanwhile. The wait ends with a failure when the job is not done within
    // waitLimitMs(ticket) (its result stays to come), when `guard` is destroyed meanwhile, or
    // for a ticket the pool does not know.
    Outcome waitFor(int ticket, const QObject* guard = nullptr);
    // How long a wait for the ticket may last: every job may take its worker's time-out (the
    // largest image a worker accepts, a 1 GiB bitmap, takes well under it), the jobs queued
    // before it run `workerCount()` at a time, and a worker takes a moment to start.
    int waitLimitMs(int ticket) const;
    static constexpr int WorkerStartMs = 10000;
    // The result of a done job (a failure for an unknown ticket).
    PipelineResult take(int ticket);
    // Drops the queued jobs and abandons the running ones.
    void cancel();

signals:
    void finished(int ticket);

private:
    void dispatch();

    struct Slot {
        ImageWorker* worker;
        int ticket = -1;
        QString path;   // the file of the running job
    };
    // The file of a queued or running ticket; empty for any other.
    QString pathOf(int ticket) const;
    std::vector<Slot> workers_;
    std::deque<std::pair<int, PipelineJob>> queue_;
    std::map<int, PipelineResult> done_;
    int nextTicket_ = 0;
    int timeoutMs_;
};
