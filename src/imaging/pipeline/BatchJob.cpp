#include "imaging/pipeline/BatchJob.h"

#include "imaging/window/FileSelection.h"
#include "imaging/pipeline/ImageProcessor.h"
#include "imaging/worker/ImageWorkerPool.h"
#include "text/LoadText.h"

#include <QFileInfo>

#include <vector>

QString BatchOutputName(const QString& name, const QString& outputType)
{
    if (outputType.size() >= 4) return name;
    const qsizetype dot = name.indexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    return stem + u'.' + outputType;
}

QString BatchProgressCaption(int index, int files, int converted)
{
    const int percent = files > 0 ? int(qint64(index) * 100 / files) : 0;
    return LoadText(456) + QString("%1% (%2 of %3 files)").arg(percent).arg(converted).arg(files);
}

QString BatchReportText(int converted, int files, const QString& outputFolder)
{
    return QString::number(converted) + " " + LoadText(459) + " " + QString::number(files) +
           LoadText(460) + outputFolder;
}

BatchJob::BatchJob(ImageProcessor& processor, ImageWorkerPool& pool)
    : processor_(processor), pool_(pool)
{
}

namespace {
// One selected file on its way: its paths, and its pool ticket once handed to the pool.
struct BatchFile {
    QString name;
    QString inputPath;
    QString outputPath;
    int ticket = -1;
};
}

BatchSummary BatchJob::run(const BatchRequest& request, const BatchHooks& hooks)
{
    BatchSummary summary;
    const QString caption = hooks.caption();
    ImageProcessorState& state = processor_.state;
    const QStringList selection = state.batchfiles;
    const int n = int(selection.size()) - 1;
    if (n <= 0) {
        hooks.report(Outcome::Failure(LoadText(454), LoadText(455), QStringLiteral("no files selected"),
                                      MsgIcon::None));
        return summary;
    }
    summary.files = n;

    state.saveresults = true;
    ImageOptions options = request.options;
    options.batchRunning = true;
    options.referenceWidth = state.imagewidth;
    options.referenceHeight = state.imageheight;
    const QString inputFolder = AddBackslash(selection[0]);
    const QString outputFolder = AddBackslash(request.outputFolder);
    hooks.clearEscape();

    std::vector<BatchFile> files(std::size_t(n) + 1);
    for (int i = 1; i <= n; ++i) {
        BatchFile& f = files[std::size_t(i)];
        f.name = selection[i];
        f.inputPath = inputFolder + f.name;
        f.outputPath = outputFolder + BatchOutputName(f.name, request.outputType);
    }
    // Hands files to the pool ahead of file i. A file whose input is the output of an earlier
    // file not yet written waits for it, as it would one file at a time.
    int handed = 0;
    const int lookAhead = pool_.workerCount() * LookAheadPerWorker;
    auto handAhead = [&](int i) {
        while (handed < n && handed + 1 < i + lookAhead) {
            BatchFile& next = files[std::size_t(handed) + 1];
            if (handed + 1 > i) {
                bool waits = false;
                for (int k = i; k <= handed && !waits; ++k)
                    waits = QFileInfo(files[std::size_t(k)].outputPath).absoluteFilePath() ==
                            QFileInfo(next.inputPath).absoluteFilePath();
                if (waits) return;
            }
            next.ticket = pool_.submit(
                processor_.jobFor(next.inputPath, BatchOutputName(next.name, request.outputType), options));
            ++handed;
        }
    };

    auto endBatch = [&] {
        pool_.cancel();
        state.saveresults = false;
    };
    auto reportEnd = [&] {
        hooks.report(Outcome::Information(BatchReportText(summary.converted, n, outputFolder),
                                          LoadText(461), MsgIcon::None));
        hooks.setCaption(caption);
    };

    for (int i = 1; i <= n; ++i) {
        handAhead(i);
        BatchFile& file = files[std::size_t(i)];
        // The window's events are handled while the file is waited for (Escape, the caption).
        const Outcome waited = pool_.waitFor(file.ticket, hooks.guard);
        if (!waited.ok) {
            // A worker that never answered is said; a wait ended by the window or the program
            // closing ends the batch quietly.
            summary.interrupted = true;
            endBatch();
            if (waited.detail == QLatin1String("time-out")) hooks.report(waited);
            hooks.setCaption(caption);
            return summary;
        }
        const ProcessOutcome outcome =
            processor_.finish(pool_.take(file.ticket), file.inputPath, file.outputPath, outputFolder);
        for (const Outcome& message : outcome.messages) hooks.report(message);
        if (outcome.written) ++summary.converted;
        hooks.setCaption(BatchProgressCaption(i, n, summary.converted));
        if (i < n && hooks.escapeRequested() &&
            hooks.ask(Outcome::Question(LoadText(457), LoadText(458), MsgButtons::YesNo)) == Answer::Yes) {
            summary.interrupted = true;
            hooks.setCaption(caption);
            endBatch();
            reportEnd();
            return summary;
        }
    }
    endBatch();
    reportEnd();
    return summary;
}
