#pragma once
// The sound analyser window: one per opened sound. It shows the waveform of one or both channels
// with its time scale, the sound's values, and the controls of selection, playback and export.
// SoundAnalyser does the reading, drawing and measuring; this window turns events into calls to
// it and its state into captions.
#include "sound/SaveWave.h"
#include "sound/SoundAnalyser.h"

#include <QMainWindow>
#include <array>
#include <memory>

class MediaPlayer;
class PictureBox;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class TwipLayout;

class WavForm : public QMainWindow {
    Q_OBJECT
public:
    // windowCounter: the program's window counter when the window is made (0 when it was made
    // otherwise than by OpenSoundWindow: it then hides itself and asks for a file).
    explicit WavForm(int windowCounter, QWidget* parent = nullptr);
    ~WavForm() override;

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
    MediaPlayer* mediaPlayer() const { return WindowsMediaPlayer1; }

    // The window's tag: "saved" once its audio was saved.
    QString Tag;

    // The design size of the window's inner area, in twips.
    static constexpr int DesignWidth = 11025;
    static constexpr int DesignHeight = 7575;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectControls();
    QAction* menuItem(QMenu* menu, const char* name, int text, const QKeySequence& key = {});
    // Copies the analyser's state into the controls.
    void showDocument();
    void showGraphs();
    void showSelection();
    void saveImage();
    void openOther();
    void exitProgram();
    void closeWindow();
    // Playback (WavFormPlayback.cpp).
    void connectPlayback();
    void playButton(bool fromSelectionStart);
    void showCursor();
    void setPlayButtonsEnabled(bool on);
    // Export (WavFormExport.cpp).
    void saveWhole();
    void saveSelected();
    void pasteNew();
    ChannelChoice channelChoice() const;
    void markSaved(const Outcome& result);

    PictureBox* canvasBox_ = nullptr;   // the window's own surface (the time scale)
    TwipLayout* layout_ = nullptr;
    std::unique_ptr<SoundAnalyser> analyser_;

    // The sound's values.
    QLabel* fileName_ = nullptr;          // Label1
    QLabel* size_ = nullptr;              // Label2
    QLabel* modified_ = nullptr;          // Label3
    QLabel* viewStartTicks_ = nullptr;    // Label4 (hidden)
    QLabel* totalSamples_ = nullptr;      // Label6(0)
    QLabel* viewSamples_ = nullptr;       // Label6(1) (hidden)
    QLabel* sampleRate_ = nullptr;        // Label8
    QLabel* channels_ = nullptr;          // Label9
    QLabel* bits_ = nullptr;              // Label10
    QLabel* dataStart_ = nullptr;         // Label11 (hidden)
    QLabel* blockAlign_ = nullptr;        // Label12
    QLabel* dataSize_ = nullptr;          // Label13
    QLabel* duration_ = nullptr;          // Label14
    QLabel* totalDuration_ = nullptr;     // Label15(0) (hidden)
    QLabel* viewDuration_ = nullptr;      // Label15(1) (hidden)
    QLabel* viewStartSample_ = nullptr;   // Label17 (hidden)
    QLabel* timeScale_ = nullptr;         // timescalelabel
    // The graphs: the container, the upper and lower graphs, their selection strips and the
    // highlight copies inside the strips, and the play cursor's four lines.
    QFrame* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    PictureBox* Picture3 = nullptr;
    PictureBox* Picture4 = nullptr;
    PictureBox* Picture5 = nullptr;
    PictureBox* Picture6 = nullptr;
    PictureBox* Picture7 = nullptr;
    std::array<QFrame*, 4> cursorLines_{};   // Line1..Line4
    // The selection, measurement and amplitude read-outs.
    std::array<QLabel*, 6> selectionValues_{};   // Label16(1)..Label16(6)
    QLabel* draggedCount_ = nullptr;             // Label19 (hidden)
    QLineEdit* Textcycle = nullptr;
    QLabel* period_ = nullptr;                   // Labelperiod
    QLabel* frequency_ = nullptr;                // Labelfrequency
    QCheckBox* showampCheck = nullptr;
    QLabel* amp = nullptr;
    // Saving and the channel choice.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* saveWholeButton_ = nullptr;     // savewholeaudio
    QPushButton* saveSelectedButton_ = nullptr;  // saveselectedaudio
    QRadioButton* bothOption_ = nullptr;         // Option1
    QRadioButton* rightOption_ = nullptr;        // Option2
    QRadioButton* leftOption_ = nullptr;         // Option3
    // Editing, playback, the level and the read-outs of the playing time.
    QPushButton* pasteButton_ = nullptr;         // Command5
    QPushButton* zoomButton_ = nullptr;          // Command6
    QPushButton* restoreButton_ = nullptr;       // Command7
    QPushButton* cancelButton_ = nullptr;        // Command8
    QPushButton* recordButton_ = nullptr;        // record
    QPushButton* playButton_ = nullptr;          // Command1
    QPushButton* haltButton_ = nullptr;          // Command2
    QPushButton* stopButton_ = nullptr;          // Command3
    QPushButton* continueButton_ = nullptr;      // Command4
    QPushButton* loopButton_ = nullptr;          // Command9
    QPushButton* closeButton_ = nullptr;         // Closebutton
    QSlider* Slider1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QTimer* Timer1 = nullptr;
    MediaPlayer* WindowsMediaPlayer1 = nullptr;
    // Menu items whose state follows the analyser.
    QAction* showAmpItem_ = nullptr;       // mnushowamp
    QAction* equaliseItem_ = nullptr;      // mnuequaliseamp
    QMenu* channelsMenu_ = nullptr;        // mnuaudiochannels
};
