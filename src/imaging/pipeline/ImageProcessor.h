#pragma once
// processimage: one image file through the pipeline, its result kept as the working image or
// written to the output file with its source's times. The reading and processing run in an
// image worker process (ImageWorker.h); the writing, the file times and the state are here.
#include "imaging/pipeline/ImageOptions.h"
#include "imaging/pipeline/ImagePipeline.h"
#include "imaging/pipeline/ImageProcessorState.h"
#include "imaging/worker/ImageWorker.h"
#include "platform/ui/Outcome.h"

#include <QString>

#include <memory>
#include <vector>


// What one run gives the window.
struct ProcessOutcome {
    bool recognised = false;         // the input's type is one the library reads
    // processimage's answer: true when the input's type was recognised and the pipeline ran to
    // its end (also when the save step reported a problem).
    bool ok = false;
    bool written = false;            // the output file was written
    std::vector<Outcome> messages;   // message boxes to show, in order
};

class ImageProcessor {
public:
    explicit ImageProcessor(std::unique_ptr<ImageWorker> worker = {});
    ~ImageProcessor();

    ImageProcessorState state;

    // Loads inputfoldername + filenameinput, applies the options, and keeps the result as
    // workingbitmap, or, when state.saveresults is set, writes it to outputfoldername +
    // filenameoutput in the format of the name's type word (last three letters). The folders are
    // joined to the names as they are: pass them with a trailing separator, or empty with full
    // paths in the names.
    // - A file of no type the library reads (ImageFormatOf): not ok, not recognised, no message,
    //   nothing changed.
    // - A file that cannot be read, a text box that holds no number, an overflow: not ok, one
    //   message with the error's description.
    // - Saving: the output folder is made when missing (one level); a type word no format has
    //   gives "File type with extension PEG is NOT supported!" and writes nothing; a write that
    //   fails gives "Can't Save the image to <path>". The file is written through a temporary
    //   file, so an existing file (even the input itself) is replaced only by a complete one.
    //   The written file gets its source's last-write time and keeps its own last-access time
    //   (Linux cannot set creation times).
    // sourcefiletimes[0..2] take the input's times whenever it was processed.
    ProcessOutcome processimage(const QString& filenameinput, const QString& inputfoldername,
                                const QString& filenameoutput, const QString& outputfoldername,
                                const ImageOptions& options);

    // The two halves of processimage, for runs whose pipeline goes to a pool of workers: the
    // job, and what becomes of its result.
    PipelineJob jobFor(const QString& inputPath, const QString& filenameoutput,
                       const ImageOptions& options) const;
    ProcessOutcome finish(PipelineResult result, const QString& inputPath,
                          const QString& outputPath, const QString& outputfoldername);

    // Reads a file for the preview: its format and size, and its pixels when withPixels.
    PipelineResult load(const QString& path, bool withPixels);

    // Reads the times of a source file into sourcefiletimes[0..2]; nothing when it cannot be
    // examined.
    void readSourceTimes(const QString& path);
    // After a file was written: its own times into sourcefiletimes[3..5], then its last-write
    // time set to the source's (sourcefiletimes[2]) and its last-access time kept.
    void carrySourceTimes(const QString& writtenPath);

    ImageWorker& worker() { return *worker_; }

private:
    std::unique_ptr<ImageWorker> worker_;
};

// "Can't Save the image to" + " " + path, titled "Save Error".
Outcome CannotSaveOutcome(const QString& path, const QString& detail);
