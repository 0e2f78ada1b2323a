#pragma once
// The live sound window: the views of a LiveSession in tabs, the input and rate choice, Freeze,
// "Open in analyser", "Save picture" and "Copy values". It listens through the program's one
// audio input and only draws: every number comes from the session, every read-out is a label.
#include "live/LivePlots.h"
#include "live/LiveSession.h"
#include "platform/audio/WaveRecordingFile.h"

#include <QMainWindow>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTabWidget;
class WaveRecorder;

class LiveSoundWindow : public QMainWindow {
    Q_OBJECT
public:
    // Redraws per second at most.
    static constexpr int RedrawsPerSecond = 30;
    static const int kRates[];

    explicit LiveSoundWindow(QWidget* parent = nullptr);
    ~LiveSoundWindow() override;

    // Starts listening to the chosen input at the chosen rate (again).
    void listen();
    live::LiveSession& session() { return session_; }
    // The view shown.
    live::LiveView currentView() const;
    // The picture of the view shown, as "Save picture" saves it.
    QImage viewPicture() const;
    // Writes what is held to the run's scratch folder and opens it in a new analyser window;
    // the file written, or an empty text when it failed (after saying why).
    QString openInAnalyser();

private:
    void build();
    QWidget* buildScope();
    QWidget* buildSpectrum();
    QWidget* buildSpectrogram();
    QWidget* buildLevel();
    QWidget* buildStopwatch();
    void fillInputs();
    void settingsChanged();
    void refresh();
    void copyValues();
    void savePicture();

    live::LiveSession session_;
    WaveRecorder* input_ = nullptr;
    QTimer redraw_;
    bool building_ = true;

    QTabWidget* tabViews_ = nullptr;
    QComboBox *cboInput_ = nullptr, *cboRate_ = nullptr;
    QPushButton *cmdFreeze_ = nullptr, *cmdOpenInAnalyser_ = nullptr, *cmdSavePicture_ = nullptr,
                *cmdCopyValues_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    // Scope
    live::LiveScopePlot* scope_ = nullptr;
    QComboBox *cboEdge_ = nullptr, *cboMode_ = nullptr, *cboTimeBase_ = nullptr;
    QDoubleSpinBox* spnLevel_ = nullptr;
    QCheckBox* chkAutoRange_ = nullptr;
    QLabel *lblCursors_ = nullptr, *lblTrigger_ = nullptr;
    // Spectrum
    live::LiveSpectrumPlot* spectrum_ = nullptr;
    QComboBox *cboPoints_ = nullptr, *cboWindow_ = nullptr;
    QCheckBox *chkDecibels_ = nullptr, *chkLogFrequency_ = nullptr, *chkPeakHold_ = nullptr;
    QLabel *lblPeak_ = nullptr, *lblFundamental_ = nullptr;
    // Spectrogram
    live::LiveSpectrogramPlot* spectrogram_ = nullptr;
    QComboBox *cboColours_ = nullptr, *cboUpTo_ = nullptr, *cboFloor_ = nullptr;
    // Level
    live::LiveLevelPlot* level_ = nullptr;
    QLabel *lblRms_ = nullptr, *lblPeakLevel_ = nullptr, *lblClip_ = nullptr;
    // Stopwatch
    QLabel *lblStopwatch_ = nullptr, *lblStopwatchState_ = nullptr;
    QDoubleSpinBox* spnThreshold_ = nullptr;
    QPushButton* cmdResetStopwatch_ = nullptr;
};
