#pragma once
// The controls of the sound analyser window, laid out as designed: built from one table and held
// by typed pointers, as a form class is. The window (WavForm) wires them to the analyser.
#include "sound/SoundAnalyser.h"

#include <QSize>
#include <array>

class MediaPlayer;
class QAction;
class QMenu;
class PictureBox;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTimer;
class TwipLayout;

struct AnalyserUi {
    // The design size of the window's inner area, in twips.
    static constexpr QSize Design{11025, 7575};
    // The height of the saving box (Frame1), which holds the channel choice for stereo sounds.
    static constexpr int SaveBoxMonoHeight = 950;
    static constexpr int SaveBoxStereoHeight = 1800;

    // Makes the controls inside window: its surface as the central widget, every control on it
    // at its design place with its caption and tip, all scaled with the window.
    void Build(QMainWindow* window);
    // Makes the window's menus as designed, each item with its name and caption; the window's
    // own shortcuts work while the focus is anywhere in it.
    void BuildMenus(QMainWindow* window);
    // The graphs' and the window's surfaces with the window's colours, for the analyser to draw.
    AnalyserCanvas Canvas() const;

    PictureBox* surface = nullptr;   // the window's own surface (the time scale)
    TwipLayout* layout = nullptr;

    // The sound's values.
    QLabel* fileName = nullptr;          // Label1
    QLabel* size = nullptr;              // Label2
    QLabel* modified = nullptr;          // Label3
    QLabel* viewStartTicks = nullptr;    // Label4 (hidden)
    QLabel* totalSamples = nullptr;      // Label6(0)
    QLabel* viewSamples = nullptr;       // Label6(1) (hidden)
    QLabel* sampleRate = nullptr;        // Label8
    QLabel* channels = nullptr;          // Label9
    QLabel* bits = nullptr;              // Label10
    QLabel* dataStart = nullptr;         // Label11 (hidden)
    QLabel* blockAlign = nullptr;        // Label12
    QLabel* dataSize = nullptr;          // Label13
    QLabel* duration = nullptr;          // Label14
    QLabel* totalDuration = nullptr;     // Label15(0) (hidden)
    QLabel* viewDuration = nullptr;      // Label15(1) (hidden)
    QLabel* viewStartSample = nullptr;   // Label17 (hidden)
    QLabel* timeScale = nullptr;         // timescalelabel
    // The graphs: the container, the upper and lower graphs, their selection strips and the
    // highlight copies inside the strips, and the play cursor's four lines.
    QFrame* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    PictureBox* Picture3 = nullptr;
    PictureBox* Picture4 = nullptr;
    PictureBox* Picture5 = nullptr;
    PictureBox* Picture6 = nullptr;
    PictureBox* Picture7 = nullptr;
    std::array<QFrame*, 4> cursorLines{};   // Line1..Line4
    QScrollBar* viewScroll = nullptr;       // hsbView: where a zoomed view lies in the sound
    // The selection, measurement and amplitude read-outs.
    std::array<QLabel*, 6> selectionValues{};   // Label16(1)..Label16(6)
    QLabel* draggedCount = nullptr;             // Label19 (hidden)
    QLineEdit* Textcycle = nullptr;
    QLabel* period = nullptr;                   // Labelperiod
    QLabel* frequency = nullptr;                // Labelfrequency
    QCheckBox* showampCheck = nullptr;
    QLabel* amp = nullptr;
    QLabel* levels = nullptr;                   // lblLevels: RMS and peak of the selection (dBFS)
    QLabel* loadProblem = nullptr;              // lblLoadProblem: why the last file was refused
    // Saving and the channel choice.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* saveWholeButton = nullptr;     // savewholeaudio
    QPushButton* saveSelectedButton = nullptr;  // saveselectedaudio
    QRadioButton* bothOption = nullptr;         // Option1
    QRadioButton* rightOption = nullptr;        // Option2
    QRadioButton* leftOption = nullptr;         // Option3
    // Editing, playback, the level and the read-outs of the playing time.
    QPushButton* pasteButton = nullptr;         // Command5
    QPushButton* zoomButton = nullptr;          // Command6
    QPushButton* restoreButton = nullptr;       // Command7
    QPushButton* cancelButton = nullptr;        // Command8
    QPushButton* recordButton = nullptr;        // record
    QPushButton* playButton = nullptr;          // Command1
    QPushButton* haltButton = nullptr;          // Command2
    QPushButton* stopButton = nullptr;          // Command3
    QPushButton* continueButton = nullptr;      // Command4
    QPushButton* loopButton = nullptr;          // Command9
    QPushButton* closeButton = nullptr;         // Closebutton
    QSlider* Slider1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QTimer* Timer1 = nullptr;
    MediaPlayer* WindowsMediaPlayer1 = nullptr;

    // The menus: File, Edit, Run, Setting (with the audio channels), Windows, Help.
    QAction *mnuopen, *mnuaudiosavewhole, *mnuaudiosaveselected, *mnuimagesavewhole, *mnuclose, *mnuexit;
    QAction *mnuzoom, *mnurestore, *mnucopy, *mnupaste;
    QAction *mnuplay, *mnuhalt, *mnustop, *mnuplayselection, *mnuloopselection, *mnurecord, *mnuwindowrecorder,
        *mnulivesound, *mnufft, *mnugrabvideo, *mnuplayvideo, *mnuimageprocessor;
    QAction *mnuvolumecontrol, *mnuequaliseamp, *mnushowamp;
    QMenu* mnuaudiochannels = nullptr;
    QAction *mnunormal, *mnumaximum, *mnuabout;
};
