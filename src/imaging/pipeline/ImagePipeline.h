#pragma once
// The image processor's pipeline: one image file loaded by the image library, the operations the
// controls select applied in their fixed order, and the result kept as a bitmap or encoded as the
// output file's bytes. Nothing here writes a file or shows a message: the caller writes the
// bytes and reports the outcome, so the pipeline can run in a separate worker process.
#include "imaging/file/ImageBitmap.h"
#include "imaging/pipeline/ImageOptions.h"
#include "imaging/file/WriteImage.h"

#include <QString>

struct PipelineJob {
    enum class Kind {
        Process,   // every operation the options select; then encode (save) or keep the bitmap
        Load,      // the image as loaded, as a bitmap (preview, Restore)
        Size,      // only the image's format and size (preview of files Qt shows itself)
    };
    Kind kind = Kind::Process;
    QString inputPath;
    ImageOptions options;
    bool save = false;     // encode the result in the format of typeWord instead of keeping it
    QString typeWord;      // the output's type word (OutputTypeWord of the output's name)
};

struct PipelineResult {
    enum class Status {
        Unrecognised,   // the file's type is none the library reads (see ImageFormatOf)
        Failed,         // a run-time error: error describes it
        Done,
    };
    Status status = Status::Failed;
    QString error;
    int format = -1;          // the library's format of the input (FIF_JPEG ...), -1 unknown
    int loadedWidth = 0;      // the size of the image as loaded, in pixels
    int loadedHeight = 0;
    ImageBitmap bitmap;       // Done without saving (Process, Load): the result
    EncodedImage encoded;     // Done with saving: the output file's bytes, or why there are none
};

// Runs a job: the steps, in this order, each only when its control asks for it:
// flip horizontally, flip vertically, invert, contrast, brightness, gamma (GammaOf), rescale
// (RescaleTarget, RescaleFilterOf), crop (pixel edges of the rescaled image; right and bottom
// exclusive), rotate (RotationAngleOf), then encoding with the JPEG quality of the options.
// A file the library cannot read, a box that holds no number, an overflow, or a rescale, crop or
// rotation the library refuses ends the run as Failed with the error's description.
PipelineResult RunPipeline(const PipelineJob& job);

// The library's format of a file, from its name's extension; -1 when none. Reads no file.
int ImageFormatOfName(const QString& path);
// The format a job reads a file as: its name's, or for a file name without any extension
// ("noext"), the one its first bytes show; -1 when neither tells.
int ImageFormatOf(const QString& path);
// The formats the preview shows through Qt's own image loader: BMP, JPEG and GIF.
bool PreviewLoadsWithQt(int format);
