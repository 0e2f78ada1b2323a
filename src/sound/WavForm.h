#pragma once
// The sound analyser window: one per opened sound. It shows the waveform of one or both channels
// with its time scale, the sound's values, and the controls of selection, playback and export.
// SoundAnalyser does the reading, drawing and measuring; this window turns events into calls to
// it and its state into captions.
#include "sound/AnalyserUi.h"
#include "sound/SaveWave.h"
#include "sound/SoundAnalyser.h"

#include <QMainWindow>
#include <array>
#include <memory>

class PictureBox;
class QAction;
class QWheelEvent;
class QMenu;

class WavForm : public QMainWindow {
    Q_OBJECT
public:
    // windowCounter: the program's window counter when the window is made (0 when it was made
    // otherwise than by OpenSoundWindow: it then hides itself and asks for a file).
    explicit WavForm(int windowCounter, QWidget* parent = nullptr);
    ~WavForm() override = default;

    // Loads a WAV file into this window and draws it (channelChoice 1 left, 2 right: the channel
    // of another sound the file was cut from; 0 none).
    void LoadFileData(int windowNumber, const QString& fileName, int channelChoice = 0);
    // Returns the window to its empty state.
    void InitStart();

    // Zoom into the selection, and back to the whole sound.
    void Zoom();
    void Restore();

    const SoundAnalyser& analyser() const { return *analyser_; }
    const SoundDocument& document() const { return analyser_->document(); }
    const ColumnTable& columnTable() const { return analyser_->columnTable(); }
    MediaPlayer* mediaPlayer() const { return ui_.WindowsMediaPlayer1; }

    // The window's tag: "saved" once its audio was saved.
    QString Tag;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void connectControls();
    QAction* menuItem(QMenu* menu, const char* name, int text, const QKeySequence& key = {});
    // Copies the analyser's state into the controls.
    void showAll();
    void showDocument();
    void showGraphs();
    void showSelection();
    // The scroll bar follows the view; the wheel zooms (with Ctrl) or scrolls it.
    void showViewScroll();
    bool wheel(PictureBox* graph, QWheelEvent* event);
    void saveImage();
    void openOther();
    void exitProgram();
    void closeWindow();
    // Playback (WavFormPlayback.cpp).
    void connectPlayback();
    void play(bool fromSelectionStart);
    // Space / Shift+Space: the selection once or looped (a second press stops it).
    void playStretch(bool loop);
    void showCursor();
    void setPlayButtonsEnabled(bool on);
    // Export (WavFormExport.cpp).
    void saveWhole();
    void saveSelected();
    void pasteNew();
    ChannelChoice channelChoice() const;
    void markSaved(const Outcome& result);
    // A sound is shown and a stretch selected; without a selection, says noSelection.
    bool selectionReady(const QString& noSelection);

    AnalyserUi ui_;
    std::unique_ptr<SoundAnalyser> analyser_;
    // Menu items whose state follows the analyser.
    QAction* showAmpItem_ = nullptr;       // mnushowamp
    QAction* equaliseItem_ = nullptr;      // mnuequaliseamp
    QMenu* channelsMenu_ = nullptr;        // mnuaudiochannels
};
