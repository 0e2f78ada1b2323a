#pragma once
// A frame for tests of windows that ask the frame for something without the real one: it keeps
// the options, records which tools were asked for, and offers every tool.
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"

#include <QString>
#include <QStringList>

class FakeFrame : public FrameServices {
public:
    FakeFrame() { FrameServices::SetInstance(this); }
    ~FakeFrame() override
    {
        if (FrameServices::Instance() == this) FrameServices::SetInstance(nullptr);
    }

    QMdiSubWindow* addChild(QWidget*) override { return nullptr; }
    QWidget* frameWindow() override { return nullptr; }
    bool equaliseAmplitude() const override { return equalise; }
    void setEqualiseAmplitude(bool on) override { equalise = on; }
    bool showAmplitude() const override { return showAmp; }
    void setShowAmplitude(bool on) override { showAmp = on; }
    QString jpegQuality() const override { return quality; }
    PlaybackChoice playbackChoice() const override { return playback; }
    void setPlaybackChoice(PlaybackChoice choice) override { playback = choice; }
    CommonDialog& openDialog() override { return dialog; }
    void exitProgram(bool recordLastFile) override { asked << (recordLastFile ? "exit recording" : "exit"); }
    QString lastFile() const override { return last; }
    void noteOpened(const QString& path) override { last = path; }
    bool offers(Tool) const override { return true; }
    void openSoundWindow(const QString& path, int channel) override
    {
        asked << QString("sound %1 %2").arg(path).arg(channel);
    }
    void showSpectrum(int, const QString& fileName, const QString&) override
    {
        asked << "spectrum " + fileName;
    }
    void openVideoWindow(const QString& path) override { asked << "video " + path; }
    void showRecorder() override { asked << "recorder"; }
    void showCapture() override { asked << "capture"; }
    void showImageProcessor() override { asked << "image processor"; }
    void showAbout() override { asked << "about"; }
    void showLiveSound() override { asked << "live sound"; }
    void chooseAudioFormat(QWidget*) override { asked << "audio format"; }

    bool equalise = false;
    bool showAmp = false;
    QString quality = "85";
    PlaybackChoice playback = PlaybackChoice::MediaPlayer;
    QString last;
    CommonDialog dialog;
    QStringList asked;   // what windows asked the frame for, in order
};
