// The image processor window's file commands: the multiple selection, the output folder, the
// batch job and the Save button.
#include "imaging/window/frm_image.h"

#include "imaging/pipeline/BatchJob.h"
#include "imaging/window/FileSelection.h"
#include "imaging/window/FolderLists.h"
#include "imaging/window/ImageOptionsPanel.h"
#include "imaging/worker/ImageWorkerPool.h"
#include "imaging/window/PreviewImage.h"
#include "imaging/file/SaveTarget.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"
#include "text/LoadText.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr long kExplorer = 524288;
constexpr long kExplorerMultiSelect = 524800;
const QString kSelectionFilter = QStringLiteral(
    "JPG BMP GIF|*.JPG;*.BMP;*.GIF|JPG|*.JPG|BMP|*.BMP|GIF|*.GIF|PNG|*.PNG|TIF|*.TIF|TGA|*.TGA|"
    "PPM|*.PPM|PGM|*.PGM|PBM|*.PBM|ICO|*.ICO|ALL|*.*");
const QString kFolderFilter =
    QStringLiteral("JPG BMP GIF|*.JPG;*.BMP;*.gif|JPG|*.JPG|BMP|*.BMP|gif|*.gif|All|*.*");

// The frame's dialog keeps its start folder for every later dialog: ours is forgotten after use.
struct StartFolder {
    CommonDialog& dialog;
    StartFolder(CommonDialog& d, const QString& folder) : dialog(d) { dialog.InitDir = folder; }
    ~StartFolder() { dialog.InitDir.clear(); }
};
}

QString frm_image::outputTypeText() const
{
    // Until a type is chosen the list shows its prompt, a text of more than three letters.
    return Combo_ofiletype->currentIndex() < 0 ? Combo_ofiletype->placeholderText()
                                               : Combo_ofiletype->currentText();
}

void frm_image::selectMultipleFiles()
{
    if (batchRunning_) return;
    CommonDialog& d = FrameServices::Dialog();
    const StartFolder start(d, folders_->path());
    d.Flags = kExplorerMultiSelect;
    d.Filter = kSelectionFilter;
    d.FilterIndex = 0;
    d.DialogTitle = LoadText(642);
    d.FileName = folders_->fileName();
    d.CancelError = false;
    if (!d.ShowOpen() || d.FileName.isEmpty()) return;

    const ImageProcessorSession::Selected selected = session_.SelectMultiple(d.FileName);
    folders_->setFileName(selected.firstName);
    session_.state().currentimagefile = folders_->fileName();
    folders_->setFileName(selected.fileName);
    outputfolder->setText(ImageProcessorSession::OutputFolderOf(folders_->path()));
    preview();
}

void frm_image::chooseOutputFolder()
{
    if (batchRunning_) return;
    CommonDialog& d = FrameServices::Dialog();
    const StartFolder start(d, folders_->path());
    d.Flags = kExplorerMultiSelect;
    d.Filter = kFolderFilter;
    d.FilterIndex = 0;
    d.DialogTitle = LoadText(641);
    d.FileName = folders_->fileName();
    d.CancelError = false;
    // The folder the dialog ended in is the output folder; the name typed there is not used.
    if (d.ShowSave() && !d.FileName.isEmpty())
        outputfolder->setText(AddBackslash(QFileInfo(d.FileName).absolutePath()));
}

void frm_image::runBatch()
{
    if (batchRunning_) return;
    if (!pool_) pool_ = std::make_unique<ImageWorkerPool>();
    BatchRequest request;
    request.outputFolder = outputfolder->text();
    request.outputType = outputTypeText();
    request.options = options_->options();
    BatchHooks hooks;
    hooks.caption = [this] { return windowTitle(); };
    hooks.setCaption = [this](const QString& caption) { setWindowTitle(caption); };
    hooks.report = [](const Outcome& o) { Report(o); };
    hooks.clearEscape = [this] { tag_.clear(); };
    hooks.escapeRequested = [this] { return tag_ == QLatin1String("27"); };
    hooks.ask = AskThroughPrompts();
    hooks.guard = this;

    // While the batch runs the window stays live for Escape and for looking around, but the
    // commands that would start other work on the same state wait for its end.
    QPushButton* const commands[] = {apply, Cancel, batch, Save, mfselect, cmd_output};
    batchRunning_ = true;
    batch->setProperty("Tag", QStringLiteral("1"));
    for (QPushButton* b : commands) b->setEnabled(false);
    {
        BusyPointer busy;
        BatchJob(session_.processor(), *pool_).run(request, hooks);
    }
    for (QPushButton* b : commands) b->setEnabled(true);
    batch->setProperty("Tag", QString());
    batchRunning_ = false;
}

void frm_image::saveClicked()
{
    if (batchRunning_) return;
    CommonDialog& d = FrameServices::Dialog();
    // Replacing a file is confirmed by the dialog.
    d.Flags = kExplorer | dialogflags::OverwritePrompt;
    d.DialogTitle = QStringLiteral("Save As..");
    d.CancelError = false;
    Outcome failure;
    const std::optional<SaveTarget> target =
        session_.ChooseSaveTarget(Image1->picture(), folders_->path(), folders_->fileName(), d, AskThroughPrompts(), failure);
    if (!target) return ReportFailure(failure);
    BusyPointer busy;
    ReportFailure(session_.Save(*target, options_->options().quality));
}
