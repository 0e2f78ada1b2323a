#pragma once
// The image processor window's behaviour without the window: the file chosen in the folder
// lists, loading it for the preview or as the working image, the preview's size and the crop
// rectangle's scale, Apply, the crop gestures, the multiple selection and Save. Each event of
// the window is a call here; the window shows what view() holds and the failures returned, in
// order. Reading and processing run in the image worker (ImageProcessor).
#include "imaging/pipeline/ImageOptions.h"
#include "imaging/pipeline/ImageProcessor.h"
#include "imaging/window/CropSelection.h"
#include "platform/ui/Outcome.h"
#include "platform/ui/Prompts.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CommonDialog;
struct SaveTarget;

class ImageProcessorSession {
public:
    // What the window shows of the image; `shown` counts the pictures shown, so the window
    // copies a picture once.
    struct View {
        QImage picture;              // Image1 and Picture1
        QSizeF previewTwips;         // Image1's size: the picture fitted into the preview area
        int imageWidth = 0;          // the picture's pixels: the size boxes' image size
        int imageHeight = 0;
        int shown = 0;
    };

    // previewArea: the preview's largest size, in twips. worker: the processor's (tests hand in
    // their own); null for the program's worker.
    explicit ImageProcessorSession(QSizeF previewArea, std::unique_ptr<ImageWorker> worker = nullptr);

    const View& view() const { return view_; }
    ImageProcessor& processor() { return processor_; }
    ImageProcessorState& state() { return processor_.state; }

    // The file the lists show: the current file is the folder joined with the name.
    void Choose(const QString& folder, const QString& name);
    // Preview: the current file shown, read by Qt where it shows the type as the image library
    // does, else by the library. Failures: the library does not know the file (its message 640),
    // the file cannot be read, or the picture is too large to fit ("Overflow").
    Outcome LoadPreview();
    // Restore: the current file read by the library becomes the working image and is shown.
    Outcome LoadWorking();
    // The crop rectangle's scale, preview twips per target pixel: "Division by zero" for a target
    // without size.
    Outcome Rescale(double targetWidth, double targetHeight);
    // Apply: the options applied to the current file, the result shown and kept as the working
    // image, the scale taken for the target size (the size boxes' pixels). The failures to show,
    // in order; none when it went through.
    std::vector<Outcome> Apply(const ImageOptions& options, const QString& lastDialogFile,
                               const std::function<QSizeF()>& target);

    // The crop gestures on the preview (twips of the preview).
    CropValues CropPress(QPointF point);
    CropValues CropMove(QPointF point);

    // The answer of the multiple-selection dialog (the folder, then the names, NUL-separated)
    // becomes the batch's selection. firstName: what the file list shows at once (the text before
    // the first NUL); fileName: what it shows then (the one file, or the folder and the last
    // name).
    struct Selected {
        QString firstName;
        QString fileName;
    };
    Selected SelectMultiple(const QString& answer);
    // The output folder proposed for a selection in `folder` (the lists' folder once they show
    // the selection).
    static QString OutputFolderOf(const QString& folder);

    // Save, up to the file: the picture shown becomes the working image and the dialog (as the
    // window prepared it) asks for the name, starting from a free name beside the source; a
    // computed path that names a file is asked about through `ask`. Nothing when the user
    // cancels; a failure when there is no picture.
    std::optional<SaveTarget> ChooseSaveTarget(const QImage& picture, const QString& folder,
                                               const QString& fileName, CommonDialog& dialog,
                                               const Ask& ask, Outcome& failure);
    // Writes the working image there (encoded in the target's type at that JPEG quality) and
    // gives it the source's times.
    Outcome Save(const SaveTarget& target, int quality);

private:
    // Shows a picture of that many pixels: the image size taken, the preview fitted.
    Outcome show(const QImage& picture, int width, int height);

    ImageProcessor processor_;
    CropSelection crop_;
    View view_;
};
