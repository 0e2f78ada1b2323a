#include "imaging/window/ImageProcessorSession.h"

#include "imaging/file/BitmapPicture.h"
#include "imaging/file/PictureToNewBitmap.h"
#include "imaging/file/SaveFormat.h"
#include "imaging/file/SaveTarget.h"
#include "imaging/file/WriteImage.h"
#include "imaging/window/FileSelection.h"
#include "imaging/window/ImagingFailure.h"
#include "imaging/window/PreviewFit.h"
#include "platform/ui/CommonDialog.h"
#include "text/LoadText.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {
Outcome Unrecognised()
{
    return Outcome::Failure(LoadText(640), QString(), QStringLiteral("unrecognised"), MsgIcon::None);
}

Outcome LoadFailure(const PipelineResult& loaded)
{
    if (loaded.status == PipelineResult::Status::Unrecognised) return Unrecognised();
    if (loaded.status == PipelineResult::Status::Failed) return ImagingFailure(loaded.error);
    return Outcome::Success();
}
}

ImageProcessorSession::ImageProcessorSession(QSizeF previewArea, std::unique_ptr<ImageWorker> worker)
    : processor_(std::move(worker))
{
    // The working image is released, the preview area measured.
    processor_.state.workingbitmap.reset();
    processor_.state.previewmaxwidth = int(previewArea.width());
    processor_.state.previewmaxheight = int(previewArea.height());
    view_.previewTwips = previewArea;
}

void ImageProcessorSession::Choose(const QString& folder, const QString& name)
{
    processor_.state.currentimagefile = AddBackslash(folder) + name;
}

Outcome ImageProcessorSession::show(const QImage& picture, int width, int height)
{
    ImageProcessorState& s = processor_.state;
    s.setImageSize(width, height);
    view_.picture = picture;
    view_.imageWidth = s.imagewidth;
    view_.imageHeight = s.imageheight;
    ++view_.shown;
    const auto size = FitPreview(s.previewmaxwidth, s.previewmaxheight, s.imagewidthtwips, s.imageheighttwips);
    if (!size) return ImagingFailure(QStringLiteral("Overflow"));
    view_.previewTwips = QSizeF(size->width, size->height);
    return Outcome::Success();
}

Outcome ImageProcessorSession::LoadPreview()
{
    const QString& file = processor_.state.currentimagefile;
    const PipelineResult loaded = processor_.load(file, !PreviewLoadsWithQt(ImageFormatOfName(file)));
    if (const Outcome failed = LoadFailure(loaded); !failed.ok) return failed;
    const QImage picture = loaded.bitmap.isNull() ? QImageReader(file).read() : BitmapToPicture(loaded.bitmap);
    if (picture.isNull()) return ImagingFailure(QStringLiteral("Cannot read the image file ") + file);
    return show(picture, loaded.loadedWidth, loaded.loadedHeight);
}

Outcome ImageProcessorSession::LoadWorking()
{
    ImageProcessorState& s = processor_.state;
    PipelineResult loaded = processor_.load(s.currentimagefile, true);
    if (const Outcome failed = LoadFailure(loaded); !failed.ok) return failed;
    s.workingbitmap = std::move(loaded.bitmap);
    return show(BitmapToPicture(s.workingbitmap), loaded.loadedWidth, loaded.loadedHeight);
}

Outcome ImageProcessorSession::Rescale(double targetWidth, double targetHeight)
{
    if (targetWidth == 0 || targetHeight == 0) return ImagingFailure(QStringLiteral("Division by zero"));
    processor_.state.previewscalex = float(view_.previewTwips.width() / targetWidth);
    processor_.state.previewscaley = float(view_.previewTwips.height() / targetHeight);
    return Outcome::Success();
}

std::vector<Outcome> ImageProcessorSession::Apply(const ImageOptions& options, const QString& lastDialogFile,
                                                  const std::function<QSizeF()>& target)
{
    ImageProcessorState& s = processor_.state;
    const ProcessOutcome outcome = processor_.processimage(s.currentimagefile, QString(), lastDialogFile, QString(), options);
    if (!outcome.recognised) return {Unrecognised()};
    std::vector<Outcome> failures = outcome.messages;
    if (!outcome.ok) return failures;
    processor_.readSourceTimes(s.currentimagefile);
    Outcome shown = show(BitmapToPicture(s.workingbitmap), s.workingbitmap.width(), s.workingbitmap.height());
    if (shown.ok) {
        const QSizeF size = target();
        shown = Rescale(size.width(), size.height());
    }
    if (!shown.ok) failures.push_back(shown);
    return failures;
}

CropValues ImageProcessorSession::CropPress(QPointF point)
{
    return crop_.press(point, processor_.state.previewscalex, processor_.state.previewscaley);
}

CropValues ImageProcessorSession::CropMove(QPointF point)
{
    return crop_.move(point, view_.previewTwips, processor_.state.previewscalex, processor_.state.previewscaley);
}

ImageProcessorSession::Selected ImageProcessorSession::SelectMultiple(const QString& answer)
{
    Selected selected;
    const qsizetype nul = answer.indexOf(QChar(0));
    selected.firstName = nul >= 0 ? answer.left(nul) : answer;
    QStringList& files = processor_.state.batchfiles;
    files = SplitFileList(answer);
    selected.fileName = files.size() == 1 ? files[0] : AddBackslash(files[0]) + files.last();
    return selected;
}

QString ImageProcessorSession::OutputFolderOf(const QString& folder) { return AddBackslash(folder) + "output/"; }

std::optional<SaveTarget> ImageProcessorSession::ChooseSaveTarget(const QImage& picture, const QString& folder,
                                                                  const QString& fileName, CommonDialog& dialog,
                                                                  const Ask& ask, Outcome& failure)
{
    ImageProcessorState& s = processor_.state;
    Choose(folder, fileName);
    if (picture.isNull()) {
        failure = Outcome::Failure(LoadText(462), LoadText(463), QStringLiteral("no picture"), MsgIcon::None);
        return std::nullopt;
    }
    s.workingbitmap = PictureToNewBitmap(picture);
    if (s.workingbitmap.isNull()) {
        failure = Outcome::Failure(LoadText(464), LoadText(463), QStringLiteral("no bitmap"), MsgIcon::None);
        return std::nullopt;
    }
    // The dialog never starts on the previewed file itself: Enter would replace the original.
    const QStringList besideSource = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    dialog.FileName = fileName.isEmpty() ? QString() : ProposedSaveName(s.currentimagefile, besideSource);
    dialog.DefaultExt = QStringLiteral(".JPG");
    dialog.Filter = QString::fromLatin1(savetypefilter);
    dialog.FilterIndex = 0;
    if (!dialog.ShowSave() || dialog.FileTitle.isEmpty()) return std::nullopt;

    const SaveTarget target = SaveTargetOf(dialog.FilterIndex, dialog.FileName);
    // The dialog asked about the name it returned; a path it never saw (the type word appended to
    // a bare name) that names a file is asked about here.
    if (target.path != dialog.FileName && QFileInfo::exists(target.path) &&
        ask(Outcome::Question(LoadText(706).arg(target.path), dialog.DialogTitle, MsgButtons::YesNo)) != Answer::Yes)
        return std::nullopt;
    return target;
}

Outcome ImageProcessorSession::Save(const SaveTarget& target, int quality)
{
    const EncodedImage encoded = EncodeImage(processor_.state.workingbitmap, target.typeWord, quality);
    QString error = encoded.detail;
    if (encoded.status == EncodedImage::Status::NotSupported) return NotSupportedOutcome(target.typeWord);
    if (encoded.status != EncodedImage::Status::Encoded || !WriteFileAtomically(target.path, encoded.bytes, &error))
        return CannotSaveOutcome(target.path, error);
    processor_.carrySourceTimes(target.path);
    return Outcome::Success();
}
