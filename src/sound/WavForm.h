#pragma once
// The sound analyser window: one per opened sound. It shows the waveform of one or both channels
// with its time scale, the sound's values, and the controls of selection, playback and export.
// The reading, drawing and measuring are plain classes; this window turns events into calls to
// them and their results into captions.
#include "sound/ColumnTable.h"
#include "sound/PlaybackCursor.h"
#include "sound/SaveWave.h"
#include "sound/Selection.h"
#include "sound/SoundDocument.h"

#include <QMainWindow>
#include <functional>
#include <memory>

struct ExportName;

class MediaPlayer;
class PictureBox;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class QWidget;
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

    SoundDocument& document() { return doc_; }
    Selection& selection() { return selection_; }
    MediaPlayer* mediaPlayer() const { return WindowsMediaPlayer1; }
    const PlaybackCursor& cursor() const { return cursor_; }
    const ColumnTable& columnTable() const { return columnTable_; }
    QString scratchFolder() const { return scratchFolder_; }

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
    void setCaptions();
    void applyDocumentLabels();
    void clearGraphs();
    void hideSelectionStrips();
    void drawWave(std::int64_t start, std::int32_t frames);
    void saveImage();
    // Playback (in WavFormPlayback.cpp).
    void connectPlayback();
    void playButton(bool fromSelectionStart);
    void showCursor();
    void setPlayButtonsEnabled(bool on);
    // Export (in WavFormExport.cpp).
    void saveWhole();
    void saveSelected();
    void pasteNew();
    ChannelChoice channelChoice() const;
    bool exportReady();
    void markSaved(const QString& fileName);
    bool writeExport(const ExportName& name,
                     const std::function<Outcome(const QString&)>& writeWav);
    void openOther();
    void exitProgram();
    void closeWindow();
    void toggleShowAmp();
    void toggleEqualise();
    // The selection and the amplitude read-out: events in, state out to the controls.
    void connectGraphs();
    SelectionView currentView() const;
    void syncSelection();
    double graphWidth() const;

    QLabel* label(const QString& name, int left, int top, int width, int height = 225,
                  QWidget* parent = nullptr);
    QPushButton* button(const QString& name, int left, int top, int width, int height = 345,
                        QWidget* parent = nullptr);
    QAction* menuItem(class QMenu* menu, const char* name, int text, const QKeySequence& key = {});

    SoundDocument doc_;
    ColumnTable columnTable_;
    Selection selection_{columnTable_};
    PlaybackCursor cursor_;
    QString scratchFolder_;
    int channelChoice_ = 0;

    PictureBox* canvasBox_ = nullptr;  // the window's own drawing surface (tick marks)
    TwipLayout* layout_ = nullptr;
    QWidget* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    PictureBox* Picture3 = nullptr;
    PictureBox* Picture4 = nullptr;
    PictureBox* Picture5 = nullptr;
    PictureBox* Picture6 = nullptr;
    PictureBox* Picture7 = nullptr;
    QLabel* amp = nullptr;
    QCheckBox* showampCheck = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* Textcycle = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QSlider* Slider1 = nullptr;
    QTimer* Timer1 = nullptr;
    MediaPlayer* WindowsMediaPlayer1 = nullptr;
};
