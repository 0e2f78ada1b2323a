#pragma once
// The audio recorder window: the recording format, manual or programmed recording, playback,
// saving, the MIDI file to play while recording, the volume control and the hand-over to the
// sound analyser. One window in the program; closing it hides it. Its behaviour lives in
// RecorderSession; the window turns clicks into calls and shows the session's view.
#include "platform/ui/CommonDialog.h"
#include "recorder/RecorderSession.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TwipLayout;

class frmSettings : public QWidget {
    Q_OBJECT
public:
    explicit frmSettings(QWidget* parent = nullptr);
    ~frmSettings() override;

    // The program's recorder window, made (as a child of the frame) on first use.
    static frmSettings* Instance();
    // The program's recorder window when it has been made, else null.
    static frmSettings* Existing();

    // Before the window closes or KIVRA ends: when the recorder holds a recording not yet saved,
    // asks whether to go on and lose it. True when nothing would be lost or the user agreed.
    bool agreesToClose();

    // Refreshes the statistics, the title and the times, then checks the schedule.
    void audiostatistics();

    RecorderSession& session() { return session_; }

    // The window's common dialog, for the Save and the MIDI dialogs.
    CommonDialog CommonDialog1;

    static constexpr int DesignWidth = 9000;
    static constexpr int DesignHeight = 7080;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* button(const char* name, int text, int tip, int left, int top, int width);
    QRadioButton* option(QGroupBox* frame, const char* name, const QString& caption, int top);
    QGroupBox* frame(const char* name, int text, int left, int top, int width, int height);
    void build();
    void connectControls();
    // Runs an event of the session, then shows its view and the messages it told.
    template <class Event> void run(Event&& event);
    void apply();
    void showMessages();

    void save();
    void chooseSettings();
    void chooseMidi();
    void askFileName();
    void askStartTime();
    void askStopTime();
    void openInAnalyser();

    RecorderSession session_;
    TwipLayout* layout_ = nullptr;
    QTimer Timer2;
    QList<Outcome> messages_;
    bool applying_ = false;
    bool showing_ = false;   // a message box is open

    QPushButton *cmdRecord_ = nullptr, *cmdstop_, *cmdPlay_, *cmdSave_, *cmdreset_, *cmdSettings_, *cmdMidi_,
        *cmdOke_, *Volumecontrol_, *waveform_, *cmdLiveSound_, *cmdStartTime_, *cmdStopTime_, *cmdFileName_;
    QGroupBox *Frame1_, *Frame2_, *Frame3_, *Frame6_, *frmTimes_, *frmManualAuto_;
    QRadioButton *optRate6000_, *optRate8000_, *optRate11025_, *optRate22050_, *optRate44100_,
        *optMono_, *optStereo_, *opt8bits_, *opt16bits_, *optRecordImmediate_, *optRecordProgrammed_,
        *Option10_, *Option11_;
    QLabel *lblTimes_, *StatisticsLabel_;
};
