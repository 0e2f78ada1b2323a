// The image processor window: its making, the preview, Restore, Apply and the crop rectangle.
// ImageProcessorSession decides; this turns the events into its calls and shows its view.
#include "imaging/window/frm_image.h"

#include "imaging/window/FolderLists.h"
#include "imaging/window/ImageOptionsPanel.h"
#include "imaging/worker/ImageWorkerPool.h"
#include "imaging/window/PreviewImage.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QCheckBox>
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

frm_image::frm_image(QWidget* parent)
    : QWidget(parent), session_(QSizeF(PreviewWidth, PreviewHeight))
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

void frm_image::showView()
{
    const ImageProcessorSession::View& v = session_.view();
    if (v.shown != shown_) {
        shown_ = v.shown;
        options_->setImageSize(v.imageWidth, v.imageHeight);
        Picture1->setPixmap(QPixmap::fromImage(v.picture));
        Image1->setPicture(v.picture);
    }
    if (Image1->twipSize() != v.previewTwips) {
        Image1->setTwipSize(v.previewTwips);
        layout_->place(Image1, PreviewLeft, PreviewTop, int(std::lround(v.previewTwips.width())),
                       int(std::lround(v.previewTwips.height())));
        update();
    }
}

// Preview and Restore: the chosen file shown, the pixel boxes set to its size, the crop scale
// taken for it; a failure is shown and the rest left as it is.
bool frm_image::loadChosen(Outcome (ImageProcessorSession::*load)())
{
    session_.Choose(folders_->path(), folders_->fileName());
    if (!folders_->fileName().isEmpty()) {
        Outcome loaded;
        {
            BusyPointer busy;
            loaded = (session_.*load)();
        }
        showView();
        if (!loaded.ok) {
            ReportFailure(loaded);
            return false;
        }
    }
    const ImageProcessorState& s = session_.state();
    options_->setPixelSize(s.imagewidth, s.imageheight);
    const Outcome scaled = session_.Rescale(options_->targetWidth(), options_->targetHeight());
    ReportFailure(scaled);
    return scaled.ok;
}

void frm_image::preview()
{
    Image1->setSelectionVisible(false);
    if (check_preview->checkState() == Qt::Checked && !loadChosen(&ImageProcessorSession::LoadPreview)) return;
    folders_->setPattern(QStringLiteral("*.*"));
    Image1->show();
    setWindowTitle(session_.state().currentimagefile);
}

void frm_image::restore()
{
    if (batchRunning_ || check_preview->checkState() == Qt::PartiallyChecked) return;
    Image1->setSelectionVisible(false);
    if (loadChosen(&ImageProcessorSession::LoadWorking)) folders_->setPattern(QStringLiteral("*.*"));
}

void frm_image::applyClicked()
{
    if (batchRunning_) return;
    FrameServices* frame = FrameServices::Instance();
    const QString lastDialogFile = frame ? frame->openDialog().FileName : QString();
    std::vector<Outcome> failures;
    {
        BusyPointer busy;
        failures = session_.Apply(options_->options(), lastDialogFile,
                                  [this] { return QSizeF(options_->targetWidth(), options_->targetHeight()); });
    }
    showView();
    for (const Outcome& failure : failures) ReportFailure(failure);
}

void frm_image::cropPressed(QPointF twips)
{
    if (!Image1->hasPicture()) return;
    const CropValues values = session_.CropPress(twips);
    if (!values.outcome.ok) return ReportFailure(values.outcome);
    Image1->showSelection(values.rectangle);
    options_->setCrop(values, true);
}

void frm_image::cropMoved(Qt::MouseButtons buttons, QPointF twips)
{
    if (buttons == Qt::NoButton || !Image1->hasPicture()) return;
    const CropValues values = session_.CropMove(twips);
    if (!values.outcome.ok) return ReportFailure(values.outcome);
    Image1->showSelection(values.rectangle);
    options_->setCrop(values, false);
}
