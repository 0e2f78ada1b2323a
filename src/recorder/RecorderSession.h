#pragma once
// The recorder window's behaviour without the window: each event of the window is one call here
// and the window then shows what view() holds. The engine (modWave) keeps the recorder's state;
// this adds the window's own fields, the programmed recording's schedule check and the automatic
// save. Time comes from the clock handed in; messages go through the engine's tell, in order.
//
// The schedule is checked every CheckIntervalMs while a recording runs and while a programmed
// recording waits for its start, so it starts and stops on time with nobody at the computer.
// A refresh that fails during that check tells its messages once and is not repeated until the
// next button; closing the window ends the check.
//
// The options on screen are always the format the next recording uses: a choice is written to
// the settings when it is made, so Reset and Setting read back the user's own choice.
#include "platform/ui/Outcome.h"
#include "recorder/mci/MediaControl.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class modWave;

class RecorderSession {
public:
    using Clock = std::function<QDateTime()>;
    static constexpr int CheckIntervalMs = 500;

    // What the window shows; the control each feeds in the comment.
    struct View {
        bool canRecord = true;          // cmdRecord enabled
        bool canStop = false;           // cmdstop enabled
        bool canPlay = false;           // cmdPlay enabled
        bool canSave = false;           // cmdSave enabled
        bool programmedChosen = false;  // optRecordProgrammed selected; frmManualAuto, frmTimes shown
        bool timesShown = false;        // lblTimes visible
        bool checking = false;          // Timer2 running
        QString title;                  // the window title (empty: leave as it is)
        QString statistics;             // StatisticsLabel
        QString times;                  // lblTimes
        // The options selected: rate (none of the five options when another), channels, bits,
        // automatic saving (Option11, else Option10).
        std::int32_t rate = 11025;
        int channels = 1;
        int bits = 16;
        bool autoSave = true;
        // A programmed recording is chosen but will not start (the last recording is kept):
        // the statistics say so and how to arm it.
        bool scheduleBlocked = false;
    };

    // musicFolder: where automatic saves go when the current folder cannot be written.
    RecorderSession(modWave& wave, Clock clock, std::function<QString()> musicFolder);

    const View& view() const { return view_; }
    modWave& wave() { return wave_; }

    // The window's own fields: the recording was written through the Save dialog, and the name
    // proposed to and then chosen in the last Save dialog.
    bool Saved = false;
    QString SavedFileName;

    // Load: opens the device, reads the settings, sets the format, manual mode, times a quarter
    // of an hour ahead.
    void Load();
    // The format and saving options (nothing goes to the device before the next SetFormat).
    void ChooseRate(std::int32_t rate);
    void ChooseChannels(int channels);
    void ChooseBits(int bits);
    void ChooseAutoSave(bool on);
    void ChooseManual();      // optRecordImmediate
    void ChooseProgrammed();  // optRecordProgrammed

    void Record();
    void Stop();
    void Play();
    QString ProposedSaveName() const;
    // The Save dialog's answer.
    void SaveAs(const QString& name);
    void Reset();
    // Setting, after the user agreed to lose the recording; chooseFormat shows the audio format
    // chooser at its place in the sequence.
    void Settings(const std::function<void()>& chooseFormat);
    void FileNameAnswered(const QString& answer);
    QString StartTimeOffered() const;
    void StartTimeAnswered(const QString& answer);
    QString StopTimeOffered() const;
    void StopTimeAnswered(const QString& answer);
    // The sound-analyser button: true when the recording must go through the Save dialog first.
    bool SaveNeededBeforeAnalyser() const;
    // Hands the saved recording to the analyser (open), closing the device meanwhile. False when
    // nothing was saved.
    bool HandToAnalyser(const std::function<void(const QString&)>& open);
    // Timer2.
    void Tick();
    // The refresh of the statistics, title and times, then the schedule check.
    void audiostatistics();
    // The device stopped recording by itself: tell why and stop as Stop (or, for a programmed
    // recording, as its stop time would), keeping what was recorded.
    void Halted(MediaControl::Halt why);
    // The message for a recording that stopped by itself; keptMs: what the device holds (for a
    // lost input: the seconds kept, or that nothing was recorded).
    static QString HaltedText(MediaControl::Halt why, std::optional<std::int64_t> keptMs);
    // A recording is running, or one was made and neither saved through the dialog nor saved
    // automatically: closing the device would lose it.
    bool HoldsUnsavedRecording() const { return unsaved_; }
    // Closing the window: ends the check, closes the device (and the recording it holds), writes
    // the settings, moves a pending save. A second close does nothing.
    void Close();
    // The window shown again after Close: a new device, armed as the options on screen say.
    void Shown();

private:
    void setStopped();
    // The format, the times and the statistics as the state now is, without asking the device.
    void showFormat();
    void showTimes();
    void showStatistics();
    bool scheduleBlocked() const;
    // The display steps of audiostatistics: statistics, title, times.
    void refreshDisplay();
    void scheduleCheck();
    void stopProgrammed();
    void saveAutomatically();
    void updateChecking();
    void tell(const Outcome& message);

    modWave& wave_;
    Clock clock_;
    std::function<QString()> musicFolder_;
    View view_;
    QString statisticsBase_;   // the statistics before the programmed lines
    bool refreshFailed_ = false;   // a refresh of the check failed: the check only keeps time
    bool closed_ = false;          // the window was closed: no device, no check
    bool unsaved_ = false;         // HoldsUnsavedRecording
};
