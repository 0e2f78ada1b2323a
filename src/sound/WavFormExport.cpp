// The analyser window's export commands: save the whole sound, save the selected clip, and
// paste the clip into a new window. The copying and naming are plain classes; this file asks
// for the name, shows the busy pointer and the failures, and updates the window's captions.
#include "sound/WavForm.h"

#include "platform/BusyPointer.h"
#include "platform/CommonDialog.h"
#include "platform/FrameServices.h"
#include "platform/PictureBox.h"
#include "platform/Prompts.h"
#include "platform/TemporaryFiles.h"
#include "sound/ExportName.h"
#include "sound/Mp3Encode.h"
#include "sound/OpenSoundWindow.h"
#include "sound/SaveWave.h"
#include "sound/SelectedStretch.h"
#include "sound/SaveWaveWhole.h"
#include "sound/WaveFile.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <cmath>

namespace {

CommonDialog& saveDialog()
{
    static CommonDialog local;
    FrameServices* frame = FrameServices::Instance();
    return frame ? frame->openDialog() : local;
}
}

ChannelChoice WavForm::channelChoice() const
{
    if (!doc_.stereo()) return ChannelChoice::Both;
    if (findChild<QRadioButton*>("Option3")->isChecked()) return ChannelChoice::Left;
    if (findChild<QRadioButton*>("Option2")->isChecked()) return ChannelChoice::Right;
    return ChannelChoice::Both;
}

bool WavForm::exportReady()
{
    if (doc_.sampleRateText.isEmpty() || !selection_.windowReady()) {
        Picture2->setFocus();
        return false;
    }
    return true;
}

void WavForm::markSaved(const QString& fileName)
{
    doc_.fileName = fileName;
    setWindowTitle(LoadText(169) + " - (" + fileName + ")");
    doc_.fileNameText = LoadText(476) + fileName;
    findChild<QLabel*>("Label1")->setText(doc_.fileNameText);
    Tag = "saved";
}

// Writes the WAV (a copy of the whole file, or a clip) and, for an MP3 target, encodes it.
bool WavForm::writeExport(const ExportName& name, const std::function<Outcome(const QString&)>& writeWav)
{
    if (!name.staleWav.isEmpty()) QFile::remove(name.staleWav);
    Outcome result = writeWav(name.wav);
    if (result.ok && name.mp3) result = EncodeMp3(name.wav, name.target, AskThroughPrompts());
    if (!result.ok) {
        ReportFailure(result);
        return false;
    }
    markSaved(name.target);
    return true;
}

void WavForm::saveWhole()
{
    CommonDialog& dialog = saveDialog();
    dialog.Filter = ExportFilter();
    dialog.CancelError = true;
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return;
    const ExportName name = ChooseExportName(dialog.FileName, dialog.FilterIndex, doc_.samplesFile);
    BusyPointer busy;
    const QString source = doc_.samplesFile;
    writeExport(name, [&source](const QString& wav) { return SaveWaveWhole(source, wav); });
}

void WavForm::saveSelected()
{
    if (!exportReady()) return;
    if (selection_.readout().initialSample.isEmpty()) {
        Prompts::Current().MsgBox("No Selection Made!", MsgButtons::OK, QApplication::applicationName());
        return;
    }
    CommonDialog& dialog = saveDialog();
    QString title = doc_.channelMode() + " ";
    if (channelChoice() == ChannelChoice::Right) title += "- Save Right Channel only";
    if (channelChoice() == ChannelChoice::Left) title += "- Save Left Channel only";
    dialog.DialogTitle = title;
    dialog.CancelError = true;
    const bool chosen = dialog.ShowSave();
    // This command sets its type list after the dialog closed: the dialog showed the list left
    // from its previous use.
    dialog.Filter = ExportFilter();
    if (!chosen || dialog.FileName.isEmpty()) return;
    const ExportName name = ChooseExportName(dialog.FileName, dialog.FilterIndex, doc_.samplesFile);

    BusyPointer busy;
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    const QString source = doc_.samplesFile;
    const ChannelChoice channel = channelChoice();
    writeExport(name, [&](const QString& wav) {
        WaveFile file;
        if (file.Open(source) != 0) return SaveFailure(wav, "the sound file cannot be read");
        return SaveWave(file, wav, stretch.start, stretch.frames, doc_.sampleRate(), doc_.bitsPerSample(),
                        doc_.channelMode(), 1.0f, channel);
    });
}

void WavForm::pasteNew()
{
    if (!exportReady()) return;
    if (selection_.readout().initialSample.isEmpty()) {
        Prompts::Current().MsgBox(LoadText(607), MsgButtons::OK, QApplication::applicationName());
        return;
    }
    BusyPointer busy;
    const QString temporary =
        QDir(scratchFolder_).filePath(QString("Untitled%1.wav").arg(SoundWindowCounter() + 1));
    QFile::remove(temporary);
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    if (stretch.frames == 0) {
        Prompts::Current().MsgBox("No data selected", MsgButtons::OK, "Paste error", MsgIcon::Critical);
        return;
    }
    const float gain = float(std::pow(10.0, Slider1->value() / 20.0));
    const ChannelChoice channel = channelChoice();
    WaveFile file;
    Outcome result = file.Open(doc_.samplesFile) == 0
        ? SaveWave(file, temporary, stretch.start, stretch.frames, doc_.sampleRate(), doc_.bitsPerSample(),
                   doc_.channelMode(), gain, channel)
        : SaveFailure(temporary, "the sound file cannot be read");
    file.Close();
    if (!result.ok) {
        ReportFailure(result);
        return;
    }
    platform::MarkTemporary(temporary);
    OpenSoundWindow(temporary, channel == ChannelChoice::Right ? 2 : channel == ChannelChoice::Left ? 1 : 0);
}
