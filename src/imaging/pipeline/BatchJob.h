#pragma once
// The batch job: every file of a multiple selection through the pipeline into an output folder,
// with the progress in the window's caption, Escape between files, and a report at the end.
//
// The files are read and processed by a pool of image workers side by side, a few files ahead
// of the one being finished; each result is written, reported and counted in the selection's
// order, so the outputs, the messages and the caption are those of a run one file at a time,
// and a batch stopped after file 2 has written files 1 and 2 only.
#include "imaging/pipeline/ImageOptions.h"
#include "platform/ui/Outcome.h"
#include "platform/ui/Prompts.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class ImageProcessor;
class ImageWorkerPool;

struct BatchRequest {
    QString outputFolder;     // the text of the output folder box
    QString outputType;       // the text of the output type list
    ImageOptions options;     // the controls as they stand when the batch starts
};

// What the batch asks of its window.
struct BatchHooks {
    std::function<QString()> caption;
    std::function<void(const QString&)> setCaption;
    std::function<void(const Outcome&)> report;   // one message box
    std::function<void()> clearEscape;            // forget a key pressed before the batch
    std::function<bool()> escapeRequested;        // the last key pressed was Escape
    Ask ask;
    const QObject* guard = nullptr;               // the window: the batch ends when it goes
};

struct BatchSummary {
    int files = 0;          // n, the files selected
    int converted = 0;      // the files written
    bool interrupted = false;
};

// The output name of a selected file: with a type word chosen (a text of fewer than four
// characters), the part of the name before its first "." followed by "." and the word; a name
// without "." or beginning with "." keeps all of it. Otherwise (the list's prompt, or
// "Use original type") the name itself.
QString BatchOutputName(const QString& name, const QString& outputType);
// "Image procssing.. Completing" + "50% (3 of 6 files)": i * 100 / n truncated, the files
// converted so far and n.
QString BatchProgressCaption(int index, int files, int converted);
// The report: "3 o ut of  6images successfully converted into the folder: <folder>".
QString BatchReportText(int converted, int files, const QString& outputFolder);

class BatchJob {
public:
    BatchJob(ImageProcessor& processor, ImageWorkerPool& pool);

    // Runs the batch over processor.state.batchfiles ([0] the folder, then the names). The
    // reference size for rescaling is processor.state.imagewidth x imageheight as it stands now.
    // Files are counted when their output was written; a file that cannot be read or written is
    // reported through hooks.report and the batch goes on.
    BatchSummary run(const BatchRequest& request, const BatchHooks& hooks);

    // How many files the pool may work on ahead of the file being finished, per worker.
    static constexpr int LookAheadPerWorker = 2;

private:
    ImageProcessor& processor_;
    ImageWorkerPool& pool_;
};
