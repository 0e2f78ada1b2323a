#include "imaging/pipeline/ImageProcessor.h"

#include "imaging/worker/ImageWorker.h"
#include "imaging/pipeline/PipelineSettings.h"
#include "platform/system/FileTimes.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFileInfo>

Outcome CannotSaveOutcome(const QString& path, const QString& detail)
{
    return Outcome::Failure(LoadText(467) + " " + path, LoadText(463), detail, MsgIcon::None);
}

ImageProcessor::ImageProcessor(std::unique_ptr<ImageWorker> worker)
    : worker_(worker ? std::move(worker) : std::make_unique<ImageWorker>())
{
}

ImageProcessor::~ImageProcessor() = default;

PipelineJob ImageProcessor::jobFor(const QString& inputPath, const QString& filenameoutput,
                                   const ImageOptions& options) const
{
    PipelineJob job;
    job.kind = PipelineJob::Kind::Process;
    job.inputPath = inputPath;
    job.options = options;
    job.save = state.saveresults;
    job.typeWord = OutputTypeWord(filenameoutput);
    return job;
}

ProcessOutcome ImageProcessor::processimage(const QString& filenameinput,
                                            const QString& inputfoldername,
                                            const QString& filenameoutput,
                                            const QString& outputfoldername,
                                            const ImageOptions& options)
{
    const QString inputPath = inputfoldername + filenameinput;
    const PipelineJob job = jobFor(inputPath, filenameoutput, options);
    return finish(worker_->run(job), inputPath, outputfoldername + filenameoutput, outputfoldername);
}

ProcessOutcome ImageProcessor::finish(PipelineResult result, const QString& inputPath,
                                      const QString& outputPath, const QString& outputfoldername)
{
    ProcessOutcome outcome;
    switch (result.status) {
    case PipelineResult::Status::Unrecognised:
        return outcome;
    case PipelineResult::Status::Failed:
        outcome.recognised = true;
        outcome.messages.push_back(Outcome::Failure(result.error, QString(), result.error, MsgIcon::None));
        return outcome;
    case PipelineResult::Status::Done:
        break;
    }
    outcome.ok = outcome.recognised = true;
    // The source's times are taken before anything is written: the output may replace it.
    readSourceTimes(inputPath);
    if (!state.saveresults) {
        state.workingbitmap = std::move(result.bitmap);
        return outcome;
    }
    state.workingbitmap.reset();

    const QString folder = outputfoldername.isEmpty() ? QString() : QDir::cleanPath(outputfoldername);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) QDir().mkdir(folder);

    switch (result.encoded.status) {
    case EncodedImage::Status::NotSupported:
        outcome.messages.push_back(NotSupportedOutcome(OutputTypeWord(outputPath)));
        return outcome;
    case EncodedImage::Status::Failed:
        outcome.messages.push_back(CannotSaveOutcome(outputPath, result.encoded.detail));
        return outcome;
    case EncodedImage::Status::Encoded:
        break;
    }
    QString error;
    if (!WriteFileAtomically(outputPath, result.encoded.bytes, &error)) {
        outcome.messages.push_back(CannotSaveOutcome(outputPath, error));
        return outcome;
    }
    outcome.written = true;
    carrySourceTimes(outputPath);
    return outcome;
}

PipelineResult ImageProcessor::load(const QString& path, bool withPixels)
{
    PipelineJob job;
    job.kind = withPixels ? PipelineJob::Kind::Load : PipelineJob::Kind::Size;
    job.inputPath = path;
    return worker_->run(job);
}

void ImageProcessor::readSourceTimes(const QString& path)
{
    if (const std::optional<platform::FileTimes> times = platform::ReadFileTimes(path)) {
        state.sourcefiletimes[0] = times->creation;
        state.sourcefiletimes[1] = times->lastAccess;
        state.sourcefiletimes[2] = times->lastWrite;
    }
}

void ImageProcessor::carrySourceTimes(const QString& writtenPath)
{
    const std::optional<platform::FileTimes> own = platform::ReadFileTimes(writtenPath);
    if (!own) return;
    state.sourcefiletimes[3] = own->creation;
    state.sourcefiletimes[4] = own->lastAccess;
    state.sourcefiletimes[5] = own->lastWrite;
    if (state.sourcefiletimes[2] != 0)
        platform::SetFileTimes(writtenPath, state.sourcefiletimes[4], state.sourcefiletimes[2]);
}
