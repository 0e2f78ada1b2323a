// The image processor window: its making, the preview, Restore, Apply and the crop rectangle.
#include "imaging/window/frm_image.h"

#include "imaging/file/BitmapPicture.h"
#include "imaging/window/FileSelection.h"
#include "imaging/window/FolderLists.h"
#include "imaging/window/ImageOptionsPanel.h"
#include "imaging/worker/ImageWorkerPool.h"
#include "imaging/window/ImagingFailure.h"
#include "imaging/window/PreviewFit.h"
#include "imaging/window/PreviewImage.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QCheckBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

#include <cmath>

namespace {
QPointer<frm_image> g_window;
}

frm_image::frm_image(QWidget* parent) : QWidget(parent)
{
    setObjectName("frm_image");
    if (FrameServices* frame = FrameServices::Instance())
        if (QWidget* w = frame->frameWindow()) setWindowIcon(w->windowIcon());
    canvas_ = new QWidget(this);
    layout_ = new TwipLayout(canvas_, QSize(DesignWidth, DesignHeight));
    resize(layout_->normalPixelSize());
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(canvas_);
    buildControls();
    setCaptions();

    // Load: the working image is released, the preview area measured.
    processor_.state.workingbitmap.reset();
    processor_.state.previewmaxwidth = PreviewWidth;
    processor_.state.previewmaxheight = PreviewHeight;
    // The window sees every key pressed in it before its controls do.
    qApp->installEventFilter(this);
}

frm_image::~frm_image() = default;

bool frm_image::Made() { return g_window != nullptr; }

frm_image* frm_image::Instance()
{
    if (!g_window) {
        g_window = new frm_image;
        if (FrameServices* frame = FrameServices::Instance()) {
            if (QMdiSubWindow* sub = frame->addChild(g_window)) {
                // Closing the window only hides it: its state lives as long as the program.
                sub->setAttribute(Qt::WA_DeleteOnClose, false);
            }
        }
    }
    return g_window;
}

void frm_image::showFile(const QString& path)
{
    const QFileInfo info(path);
    folders_->setPath(info.absolutePath());
    folders_->setFileName(info.fileName());
    preview();
}

bool frm_image::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (widget && (widget == this || isAncestorOf(widget)) && !text.isEmpty())
            tag_ = QString::number(text.at(0).unicode());
    }
    return QWidget::eventFilter(watched, event);
}

Outcome frm_image::showPicture(const QImage& picture, int width, int height)
{
    ImageProcessorState& s = processor_.state;
    s.setImageSize(width, height);
    options_->setImageSize(s.imagewidth, s.imageheight);
    Picture1->setPixmap(QPixmap::fromImage(picture));
    Image1->setPicture(picture);
    return fitPreview();
}

Outcome frm_image::fitPreview()
{
    const ImageProcessorState& s = processor_.state;
    const auto size = FitPreview(s.previewmaxwidth, s.previewmaxheight, s.imagewidthtwips, s.imageheighttwips);
    if (!size) return ImagingFailure(QStringLiteral("Overflow"));
    Image1->setTwipSize(QSizeF(size->width, size->height));
    layout_->place(Image1, PreviewLeft, PreviewTop, int(std::lround(size->width)), int(std::lround(size->height)));
    update();
    return Outcome::Success();
}

Outcome frm_image::updatePreviewScale()
{
    const double width = options_->targetWidth(), height = options_->targetHeight();
    if (width == 0 || height == 0) return ImagingFailure(QStringLiteral("Division by zero"));
    processor_.state.previewscalex = float(Image1->twipSize().width() / width);
    processor_.state.previewscaley = float(Image1->twipSize().height() / height);
    return Outcome::Success();
}

Outcome frm_image::loadChosen(bool wantBitmap, PipelineResult& loaded)
{
    {
        BusyPointer busy;
        loaded = processor_.load(processor_.state.currentimagefile, wantBitmap);
    }
    if (loaded.status == PipelineResult::Status::Unrecognised)
        return Outcome::Failure(LoadText(640), QString(), QStringLiteral("unrecognised"), MsgIcon::None);
    if (loaded.status == PipelineResult::Status::Failed) return ImagingFailure(loaded.error);
    return Outcome::Success();
}

void frm_image::preview()
{
    Image1->setSelectionVisible(false);
    ImageProcessorState& s = processor_.state;
    if (check_preview->checkState() == Qt::Checked) {
        s.currentimagefile = AddBackslash(folders_->path()) + folders_->fileName();
        if (!folders_->fileName().isEmpty()) {
            PipelineResult loaded;
            Outcome shown = loadChosen(!PreviewLoadsWithQt(ImageFormatOfName(s.currentimagefile)), loaded);
            if (shown.ok) {
                const QImage picture = loaded.bitmap.isNull() ? QImageReader(s.currentimagefile).read()
                                                              : BitmapToPicture(loaded.bitmap);
                shown = picture.isNull()
                            ? ImagingFailure(QStringLiteral("Cannot read the image file ") + s.currentimagefile)
                            : showPicture(picture, loaded.loadedWidth, loaded.loadedHeight);
            }
            if (!shown.ok) return ReportFailure(shown);
        }
        options_->setPixelSize(s.imagewidth, s.imageheight);
        if (const Outcome scaled = updatePreviewScale(); !scaled.ok) return ReportFailure(scaled);
    }
    folders_->setPattern(QStringLiteral("*.*"));
    Image1->show();
    setWindowTitle(s.currentimagefile);
}

void frm_image::restore()
{
    if (batchRunning_ || check_preview->checkState() == Qt::PartiallyChecked) return;
    Image1->setSelectionVisible(false);
    ImageProcessorState& s = processor_.state;
    s.currentimagefile = AddBackslash(folders_->path()) + folders_->fileName();
    if (!folders_->fileName().isEmpty()) {
        PipelineResult loaded;
        Outcome shown = loadChosen(true, loaded);
        if (shown.ok) {
            s.workingbitmap = std::move(loaded.bitmap);
            shown = showPicture(BitmapToPicture(s.workingbitmap), loaded.loadedWidth, loaded.loadedHeight);
        }
        if (!shown.ok) return ReportFailure(shown);
    }
    options_->setPixelSize(s.imagewidth, s.imageheight);
    if (const Outcome scaled = updatePreviewScale(); !scaled.ok) return ReportFailure(scaled);
    folders_->setPattern(QStringLiteral("*.*"));
}

void frm_image::applyClicked()
{
    if (batchRunning_) return;
    ImageProcessorState& s = processor_.state;
    FrameServices* frame = FrameServices::Instance();
    const QString lastDialogFile = frame ? frame->openDialog().FileName : QString();
    ProcessOutcome outcome;
    {
        BusyPointer busy;
        outcome = processor_.processimage(s.currentimagefile, QString(), lastDialogFile, QString(),
                                          options_->options());
    }
    if (!outcome.recognised) {
        Prompts::Current().MsgBox(LoadText(640));
        return;
    }
    for (const Outcome& m : outcome.messages) ReportFailure(m);
    if (!outcome.ok) return;
    processor_.readSourceTimes(s.currentimagefile);
    Outcome shown = showPicture(BitmapToPicture(s.workingbitmap), s.workingbitmap.width(), s.workingbitmap.height());
    if (shown.ok) shown = updatePreviewScale();
    ReportFailure(shown);
}

void frm_image::cropPressed(QPointF twips)
{
    if (!Image1->hasPicture()) return;
    const CropValues values = crop_.press(twips, processor_.state.previewscalex, processor_.state.previewscaley);
    if (!values.outcome.ok) return ReportFailure(values.outcome);
    Image1->showSelection(values.rectangle);
    options_->setCrop(values, true);
}

void frm_image::cropMoved(Qt::MouseButtons buttons, QPointF twips)
{
    if (buttons == Qt::NoButton || !Image1->hasPicture()) return;
    const CropValues values = crop_.move(twips, Image1->twipSize(), processor_.state.previewscalex,
                                         processor_.state.previewscaley);
    if (!values.outcome.ok) return ReportFailure(values.outcome);
    Image1->showSelection(values.rectangle);
    options_->setCrop(values, false);
}
