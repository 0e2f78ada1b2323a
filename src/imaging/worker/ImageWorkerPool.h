#pragma once
// Several image workers running jobs side by side: jobs are queued in the order given and each
// goes to the first idle worker. Results are kept by ticket until taken.
#include "imaging/worker/ImageWorker.h"

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
    // Processes events until the ticket's job is done.
    void waitFor(int ticket);
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
    };
    std::vector<Slot> workers_;
    std::deque<std::pair<int, PipelineJob>> queue_;
    std::map<int, PipelineResult> done_;
    int nextTicket_ = 0;
};
