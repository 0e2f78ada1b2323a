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
    // Copies what the analyser holds into the controls: the selection and the values; on a
    // reset also the scroll bar, and with All the graphs' sizes and the time scale too.
    enum class Show { Selection, Reset, All };
    void present(Show what);
    // The wheel zooms (with Ctrl) or scrolls the view.
    bool wheel(PictureBox* graph, QWheelEvent* event);
    void saveImage();
    void openOther();
    void exitProgram();
    void closeWindow();
    // Playback.
    void connectPlayback();
    // Space / Shift+Space: the selection once or looped (a second press stops it).
    void playStretch(bool loop);
    void obey(const PlayerOrder& order);
    void showCursor();
    // Export: the whole sound or the selected clip, and Paste in a new window.
    void saveExport(bool selected);
    void pasteNew();
    ChannelChoice channelChoice() const;
    // A sound is shown and a stretch selected; without a selection, says noSelection.
    bool selectionReady(const QString& noSelection);

    AnalyserUi ui_;
    std::unique_ptr<SoundAnalyser> analyser_;
};
