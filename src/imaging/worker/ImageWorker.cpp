#include "imaging/worker/ImageWorker.h"

#include "imaging/worker/ImageWorkerProtocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <cstring>

namespace {
PipelineResult FailedResult(const QString& description)
{
    PipelineResult result;
    result.status = PipelineResult::Status::Failed;
    result.error = description;
    return result;
}

bool Executable(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}
}

QString ImageWorker::Program()
{
    if (qEnvironmentVariableIsSet("KIVRA_IMAGE_WORKER")) return qEnvironmentVariable("KIVRA_IMAGE_WORKER");
    const QString beside = QCoreApplication::applicationDirPath() + "/kivra-imageworker";
    if (Executable(beside)) return beside;
#ifdef KIVRA_IMAGE_WORKER_INSTALL_PATH
    if (Executable(QStringLiteral(KIVRA_IMAGE_WORKER_INSTALL_PATH)))
        return QStringLiteral(KIVRA_IMAGE_WORKER_INSTALL_PATH);
#endif
#ifdef KIVRA_IMAGE_WORKER_BUILD_PATH
    if (Executable(QStringLiteral(KIVRA_IMAGE_WORKER_BUILD_PATH)))
        return QStringLiteral(KIVRA_IMAGE_WORKER_BUILD_PATH);
#endif
    return {};
}

ImageWorker::ImageWorker(const QString& program, int timeoutMs, QObject* parent)
    : QObject(parent), program_(program), timeoutMs_(timeoutMs), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        workerEnded(QStringLiteral("The image took longer than %1 seconds to process: ")
                        .arg(timeoutMs_ / 1000) + jobPath_);
    });
}

ImageWorker::~ImageWorker() { stop(); }

bool ImageWorker::ensureProcess()
{
    if (process_ && process_->state() == QProcess::Running) return true;
    stop();
    process_ = new QProcess(this);
    process_->setProgram(program_);
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, &ImageWorker::readOutput);
    connect(process_, &QProcess::finished, this, [this] {
        if (busy_) workerEnded(QStringLiteral("The image library stopped while reading ") + jobPath_);
    });
    process_->start(QIODevice::ReadWrite);
    return process_->waitForStarted(10000);
}

void ImageWorker::stop()
{
    timer_->stop();
    buffer_.clear();
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(5000);
    }
    // Later: this may run inside one of the process's own signals.
    process->deleteLater();
    busy_ = false;
}

void ImageWorker::start(const PipelineJob& job)
{
    busy_ = true;
    resultReady_ = false;
    jobPath_ = job.inputPath;
    if (program_.isEmpty()) {
        // No worker program: the job runs here, and its end is reported from the event loop as
        // a worker's would be.
        result_ = RunPipeline(job);
        QTimer::singleShot(0, this, [this] {
            busy_ = false;
            resultReady_ = true;
            emit finished();
        });
        return;
    }
    if (!ensureProcess()) {
        const QString why = QStringLiteral("Cannot start the image worker ") + program_;
        QTimer::singleShot(0, this, [this, why] { complete(FailedResult(why)); });
        return;
    }
    buffer_.clear();
    process_->write(Frame(EncodeJob(job)));
    timer_->start(timeoutMs_);
}

void ImageWorker::readOutput()
{
    if (!process_) return;
    buffer_ += process_->readAllStandardOutput();
    std::uint32_t length = 0;
    if (buffer_.size() >= qsizetype(sizeof length)) {
        std::memcpy(&length, buffer_.constData(), sizeof length);
        if (length > MaxFrameBytes) {
            workerEnded(QStringLiteral("The image worker gave no valid result for ") + jobPath_);
            return;
        }
    }
    QByteArray payload;
    if (!TakeFrame(buffer_, payload)) return;
    PipelineResult result;
    if (!DecodeResult(payload, result)) {
        workerEnded(QStringLiteral("The image worker gave no valid result for ") + jobPath_);
        return;
    }
    timer_->stop();
    // A failed file may have left the library's memory damaged: the next job gets a new worker.
    if (result.status == PipelineResult::Status::Failed) stop();
    complete(std::move(result));
}

void ImageWorker::workerEnded(const QString& why)
{
    const bool wasBusy = busy_;
    stop();
    if (wasBusy) complete(FailedResult(why));
}

void ImageWorker::complete(PipelineResult result)
{
    result_ = std::move(result);
    busy_ = false;
    resultReady_ = true;
    emit finished();
}

PipelineResult ImageWorker::takeResult()
{
    resultReady_ = false;
    return std::move(result_);
}

PipelineResult ImageWorker::run(const PipelineJob& job)
{
    if (program_.isEmpty()) return RunPipeline(job);
    if (!ensureProcess()) {
        stop();
        return FailedResult(QStringLiteral("Cannot start the image worker ") + program_);
    }
    start(job);
    const QDeadlineTimer deadline(timeoutMs_);
    while (busy_ && process_) {
        if (process_->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            continue;   // readOutput has taken what came
        if (!busy_) break;   // the worker ended while we waited, and said so
        if (process_->state() != QProcess::Running)
            workerEnded(QStringLiteral("The image library stopped while reading ") + jobPath_);
        else if (deadline.hasExpired())
            workerEnded(QStringLiteral("The image took longer than %1 seconds to process: ")
                            .arg(timeoutMs_ / 1000) + jobPath_);
    }
    return takeResult();
}
