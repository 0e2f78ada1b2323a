// The analyser window's export commands: save the whole sound, save the selected clip, and
// paste the clip into a new window. SoundAnalyser writes; this file asks for the name, shows the
// busy pointer and the failures, and updates the window's captions.
#include "sound/WavForm.h"

#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Prompts.h"
#include "platform/system/TemporaryFiles.h"
#include "sound/ExportName.h"
#include "sound/OpenSoundWindow.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <cmath>

namespace {
// The shared dialog as an audio save shows it: the audio types, and no default extension left
// from an image save ("clip" must not become "clip.PNG.wav").
void PrepareAudioSave(CommonDialog& dialog)
{
    dialog.Filter = ExportFilter();
    dialog.FilterIndex = 1;
    dialog.DefaultExt.clear();
    dialog.CancelError = true;
}
}

ChannelChoice WavForm::channelChoice() const
{
    if (!document().stereo()) return ChannelChoice::Both;
    if (ui_.leftOption->isChecked()) return ChannelChoice::Left;
    if (ui_.rightOption->isChecked()) return ChannelChoice::Right;
    return ChannelChoice::Both;
}

void WavForm::markSaved(const Outcome& result)
{
    if (!result.ok) {
        ReportFailure(result);
        return;
    }
    setWindowTitle(analyser_->savedCaption());
    ui_.fileName->setText(document().fileNameText);
    Tag = "saved";
}

void WavForm::saveWhole()
{
    CommonDialog& dialog = FrameServices::Dialog();
    PrepareAudioSave(dialog);
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return;
    const ExportName name = ChooseExportName(dialog.FileName, dialog.FilterIndex, document().samplesFile);
    BusyPointer busy;
    markSaved(analyser_->SaveWhole(name, AskThroughPrompts()));
}

bool WavForm::selectionReady(const QString& noSelection)
{
    if (!analyser_->ready()) {
        ui_.Picture2->setFocus();
        return false;
    }
    if (!analyser_->hasSelection())
        Prompts::Current().MsgBox(noSelection, MsgButtons::OK, QApplication::applicationName());
    return analyser_->hasSelection();
}

void WavForm::saveSelected()
{
    if (!selectionReady("No Selection Made!")) return;
    CommonDialog& dialog = FrameServices::Dialog();
    dialog.DialogTitle = analyser_->clipSaveTitle(channelChoice());
    PrepareAudioSave(dialog);
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return;
    const ExportName name = ChooseExportName(dialog.FileName, dialog.FilterIndex, document().samplesFile);
    BusyPointer busy;
    markSaved(analyser_->SaveSelected(name, channelChoice(), AskThroughPrompts()));
}

void WavForm::pasteNew()
{
    if (!selectionReady(LoadText(607))) return;
    BusyPointer busy;
    const QString clip =
        QDir(platform::ScratchFolder()).filePath(QString("Untitled%1.wav").arg(SoundWindowCounter() + 1));
    const ChannelChoice channel = channelChoice();
    const float gain = float(std::pow(10.0, ui_.Slider1->value() / 20.0));
    const Outcome result = analyser_->PasteClip(clip, gain, channel);
    if (!result.ok) {
        ReportFailure(result);
        return;
    }
    platform::MarkTemporary(clip);
    OpenSoundWindow(clip, channel == ChannelChoice::Right ? 2 : channel == ChannelChoice::Left ? 1 : 0);
}
