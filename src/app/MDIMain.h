#pragma once
// The main frame: hosts every tool window, owns the menus from which the tools are reached, keeps
// the options other windows read, and opens the start-up file.
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMdiArea;
class QMenu;
class frm_about;

class MDIMain : public QMainWindow, public FrameServices {
    Q_OBJECT
public:
    explicit MDIMain(QWidget* parent = nullptr);
    ~MDIMain() override;

    // The frame's load: captions, placement, and the start-up file (the command line's path, or
    // the last file of the previous run when it is empty).
    void Load(const QString& commandLine);

    // FrameServices
    QMdiSubWindow* addChild(QWidget* window) override;
    QWidget* frameWindow() override { return this; }
    bool equaliseAmplitude() const override;
    void setEqualiseAmplitude(bool on) override;
    bool showAmplitude() const override;
    void setShowAmplitude(bool on) override;
    QString jpegQuality() const override;
    PlaybackChoice playbackChoice() const override;
    void setPlaybackChoice(PlaybackChoice choice) override;
    CommonDialog& openDialog() override { return CommonDialog1; }
    void exitProgram(bool recordLastFile = false) override;
    QString lastFile() const override { return lastFile_; }
    void noteOpened(const QString& path) override { lastFile_ = path; }
    bool offers(Tool tool) const override;
    void openSoundWindow(const QString& path, int channelChoice = 0) override;
    void showSpectrum(int windowNumber, const QString& fileName,
                      const QString& analyserCaption) override;
    void openVideoWindow(const QString& path) override;
    void showRecorder() override;
    void showCapture() override;
    void showImageProcessor() override;
    void showAbout() override;
    void showLiveSound() override;
    void chooseAudioFormat(QWidget* owner) override;

    QMdiArea* mdiArea() const { return area_; }

    // The frame's open dialog; its FileName is also the last file opened through the frame.
    CommonDialog CommonDialog1;

    // The frame's design size in twips, used for the default placement.
    static constexpr int DesignWidth = 9600;
    static constexpr int DesignHeight = 7200;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void setCaptions();
    void placeFrame();
    void openStartupFile(const QString& commandLine);
    void openAudio();
    // The sound open dialog, then a new analyser window for the chosen file.
    void askSound();
    // The open dialog with the video or the audio filter, then a new player window.
    void askVideo();
    void askAudioClip();
    void askClip(const QString& filter);
    void startSysInfo();
    void askJpegQuality();
    void exitNow();
    QAction* item(QMenu* menu, const char* name, const QKeySequence& shortcut = {});
    // An item that opens a tool: disabled when the build does not offer the tool.
    QAction* toolItem(QMenu* menu, const char* name, Tool tool, void (MDIMain::*open)());

    QMdiArea* area_;
    // The items whose state other windows read: the shared options.
    QAction* equaliseItem_ = nullptr;       // mnuequaliseamp
    QAction* showAmplitudeItem_ = nullptr;  // mnushowaudioamp
    QAction* jpegQualityItem_ = nullptr;    // mnujpegquality (its tag holds the quality)
    QAction* automaticItem_ = nullptr;      // mnusettinga
    QAction* mediaPlayerItem_ = nullptr;    // mnusettingwmp
    QAction* activeMovieItem_ = nullptr;    // mnusettingamp
    bool exiting_ = false;
    QString lastFile_;
    QPointer<frm_about> about_;
};
