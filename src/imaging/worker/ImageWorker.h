#pragma once
// One image worker process (kivra-imageworker) and the jobs the program hands it, one at a time.
//
// Image files are read and processed in the worker, never in the program: a damaged or hostile
// file that makes the image library crash, or allocate without end, ends the worker, and the
// job's result is a failure that names the file. The next job starts a fresh worker. After any
// failed job the worker is replaced too, in case the library left its memory damaged.
// Without a worker program (see Program()) jobs run in this process.
#include "imaging/pipeline/ImagePipeline.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QProcess;
class QTimer;

class ImageWorker : public QObject {
    Q_OBJECT
public:
    // program: the worker executable; empty runs jobs in this process. timeoutMs: how long one
    // job may take before the worker is stopped and the job fails.
    explicit ImageWorker(const QString& program = Program(), int timeoutMs = DefaultTimeoutMs,
                         QObject* parent = nullptr);
    ~ImageWorker() override;

    // Runs a job and waits for its result without processing events. Not while busy().
    PipelineResult run(const PipelineJob& job);
    // Starts a job; finished() reports its end and takeResult() gives the result. Not while busy().
    void start(const PipelineJob& job);
    bool busy() const { return busy_; }
    PipelineResult takeResult();
    // Stops the worker process, abandoning a running job (no finished() for it).
    void stop();

    // The worker program: $KIVRA_IMAGE_WORKER when set (an empty value runs jobs in this
    // process), else kivra-imageworker beside the running program, else the installed one
    // (libexec/kivra), else the one of the build folder; empty when none exists.
    static QString Program();
    static constexpr int DefaultTimeoutMs = 120000;

signals:
    void finished();

private:
    bool ensureProcess();
    void readOutput();
    void workerEnded(const QString& why);
    void complete(PipelineResult result);

    QString program_;
    int timeoutMs_;
    QProcess* process_ = nullptr;
    QTimer* timer_;
    QByteArray buffer_;
    bool busy_ = false;
    bool resultReady_ = false;
    QString jobPath_;
    PipelineResult result_;
};
