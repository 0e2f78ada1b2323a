#include "recorder/RecorderSession.h"

#include "general/General.h"
#include "recorder/RecorderSettings.h"
#include "recorder/RecordingNames.h"
#include "recorder/RecordingStatistics.h"
#include "recorder/Schedule.h"
#include "recorder/modWave.h"
#include "text/LoadText.h"

#include <QDir>
#include <algorithm>

namespace {
constexpr int kQuarterHour = 15 * 60;
}

RecorderSession::RecorderSession(modWave& wave, Clock clock, std::function<QString()> musicFolder)
    : wave_(wave), clock_(std::move(clock)), musicFolder_(std::move(musicFolder))
{
}

void RecorderSession::tell(const Outcome& message)
{
    if (wave_.tell) wave_.tell(message);
}

void RecorderSession::updateChecking()
{
    view_.checking = !closed_ && (wave_.Recording || (!wave_.ManualMode && !wave_.RecordingFinished));
}

bool RecorderSession::scheduleBlocked() const
{
    return !wave_.ManualMode && wave_.RecordingFinished && !wave_.Recording;
}

void RecorderSession::showFormat()
{
    view_.rate = wave_.SampleRate;
    view_.channels = wave_.Channels;
    view_.bits = wave_.BitsPerSample;
    view_.autoSave = wave_.AutoSave;
}

void RecorderSession::showTimes() { view_.times = TimesText(wave_.StartTime, wave_.StopTime); }

void RecorderSession::showStatistics()
{
    wave_.StatisticsText = statisticsBase_;
    if (!wave_.ManualMode)
        wave_.StatisticsText += ProgrammedLines(wave_.AutoSave, TimesText(wave_.StartTime, wave_.StopTime));
    view_.statistics = wave_.StatisticsText;
    view_.scheduleBlocked = scheduleBlocked();
    if (view_.scheduleBlocked) view_.statistics += "\r\n" + LoadText(663);
}

void RecorderSession::Load()
{
    Saved = false;
    SavedFileName.clear();
    closed_ = false;
    unsaved_ = false;
    refreshFailed_ = false;
    wave_.OpenCapture();
    ReadRecorderSettings(wave_, DefaultWaveFileName());
    wave_.ManualMode = true;
    wave_.RecordingFinished = false;
    wave_.Recording = false;
    wave_.SetFormat();
    ChooseManual();
    wave_.SetFormat();
    wave_.StartTime = WholeSeconds(clock_()).addSecs(kQuarterHour);
    wave_.StopTime = wave_.StartTime.addSecs(kQuarterHour);
    wave_.MidiFileName.clear();
    wave_.RenamePending = false;
    showFormat();
    showTimes();
    updateChecking();
}

void RecorderSession::ChooseRate(std::int32_t rate)
{
    wave_.SampleRate = rate;
    WriteRecorderSetting("Rate", QString::number(rate));
    showFormat();
}

void RecorderSession::ChooseChannels(int channels)
{
    wave_.Channels = std::int16_t(channels);
    WriteRecorderSetting("Channels", QString::number(channels));
    showFormat();
}

void RecorderSession::ChooseBits(int bits)
{
    wave_.BitsPerSample = std::int16_t(bits);
    WriteRecorderSetting("Resolution", QString::number(bits));
    showFormat();
}

void RecorderSession::ChooseAutoSave(bool on)
{
    wave_.AutoSave = on;
    WriteRecorderSetting("WaveAutomaticSave", on ? "True" : "False");
    showFormat();
    showStatistics();
}

void RecorderSession::ChooseManual()
{
    wave_.ManualMode = true;
    view_.programmedChosen = false;
    view_.timesShown = false;
    view_.canRecord = true;
    showStatistics();
    updateChecking();
}

void RecorderSession::ChooseProgrammed()
{
    wave_.ManualMode = false;
    view_.programmedChosen = true;
    view_.timesShown = true;
    view_.canRecord = false;
    const QDateTime now = clock_();
    if (wave_.StartTime < now) {
        wave_.StartTime = WholeSeconds(now).addSecs(kQuarterHour);
        wave_.StopTime = wave_.StartTime.addSecs(kQuarterHour);
    }
    showTimes();
    showStatistics();
    updateChecking();
}

void RecorderSession::Record()
{
    refreshFailed_ = false;
    wave_.OpenCapture();
    wave_.SetFormat();
    wave_.Recording = true;
    unsaved_ = true;
    wave_.StartRecording();
    wave_.StartTime = WholeSeconds(clock_());
    view_.canStop = true;
    view_.canPlay = view_.canSave = view_.canRecord = false;
    updateChecking();
}

void RecorderSession::Stop()
{
    refreshFailed_ = false;
    wave_.StopRecording();
    audiostatistics();
    setStopped();
}

// What Stop does after the device has stopped: the buttons, the flags, back to manual.
void RecorderSession::setStopped()
{
    view_.canSave = view_.canPlay = true;
    view_.canStop = false;
    if (wave_.Recording) wave_.RecordingFinished = true;
    wave_.StopTime = WholeSeconds(clock_());
    wave_.Recording = false;
    ChooseManual();
    view_.timesShown = false;
    updateChecking();
}

void RecorderSession::Play()
{
    view_.canStop = true;
    view_.canPlay = false;
    wave_.PlayRecording();
}

QString RecorderSession::ProposedSaveName() const
{
    return ::ProposedSaveName(wave_.MidiFileName, wave_.StopTime);
}

void RecorderSession::SaveAs(const QString& name)
{
    SavedFileName = name;
    Saved = wave_.SaveRecording(SavedFileName);
    if (Saved) unsaved_ = false;
}

void RecorderSession::Reset()
{
    view_.canRecord = true;
    view_.canStop = view_.canPlay = view_.canSave = false;
    refreshFailed_ = false;
    wave_.OpenCapture();
    audiostatistics();
    ReadRecorderSettings(wave_, DefaultWaveFileName());
    // The mode on screen is the mode: Reset arms a programmed recording that is chosen.
    wave_.ManualMode = !view_.programmedChosen;
    view_.canRecord = wave_.ManualMode;
    wave_.RecordingFinished = false;
    wave_.Recording = false;
    wave_.MidiFileName.clear();
    wave_.SetFormat();
    Saved = false;
    unsaved_ = false;
    wave_.MovePendingSave();
    showFormat();
    showTimes();
    // The statistics of the element as it now is, in the format the next recording uses.
    refreshDisplay();
    updateChecking();
}

void RecorderSession::Settings(const std::function<void()>& chooseFormat)
{
    view_.canRecord = true;
    view_.canStop = view_.canPlay = view_.canSave = false;
    refreshFailed_ = false;
    wave_.OpenCapture();
    ReadRecorderSettings(wave_, DefaultWaveFileName());
    wave_.ManualMode = true;
    wave_.RecordingFinished = false;
    wave_.Recording = false;
    unsaved_ = false;
    if (chooseFormat) chooseFormat();
    wave_.SetFormat();
    showFormat();
    ChooseManual();
}

void RecorderSession::FileNameAnswered(const QString& answer) { wave_.WaveFileName = answer; }

QString RecorderSession::StartTimeOffered() const { return general::DateText(wave_.StartTime); }

void RecorderSession::StartTimeAnswered(const QString& answer)
{
    const TimeEntry entry = EnterStartTime(answer, wave_.StartTime, wave_.StopTime, clock_());
    if (entry.message) tell(modWave::Failed(LoadText(entry.message), "start time: " + answer));
    wave_.StartTime = entry.start;
    wave_.StopTime = entry.stop;
    showTimes();
    showStatistics();
}

QString RecorderSession::StopTimeOffered() const
{
    return general::DateText(::StopTimeOffered(wave_.StartTime, wave_.StopTime));
}

void RecorderSession::StopTimeAnswered(const QString& answer)
{
    const TimeEntry entry = EnterStopTime(answer, wave_.StartTime, wave_.StopTime);
    if (entry.message) tell(modWave::Failed(LoadText(entry.message), "stop time: " + answer));
    wave_.StopTime = entry.stop;
    showTimes();
    showStatistics();
}

bool RecorderSession::SaveNeededBeforeAnalyser() const { return !view_.canRecord && !Saved; }

bool RecorderSession::HandToAnalyser(const std::function<void(const QString&)>& open)
{
    if (!Saved) return false;
    wave_.CloseCapture();
    open(SavedFileName);
    wave_.OpenCapture();
    return true;
}

void RecorderSession::Tick()
{
    if (!closed_ && (wave_.Recording || (!wave_.ManualMode && !wave_.RecordingFinished))) {
        // A refresh that fails is told once; the check then only keeps the schedule's time.
        if (!refreshFailed_) {
            const int failures = wave_.Failures;
            refreshDisplay();
            refreshFailed_ = wave_.Failures != failures;
        }
        scheduleCheck();
    }
    updateChecking();
}

void RecorderSession::audiostatistics()
{
    refreshDisplay();
    scheduleCheck();
    updateChecking();
}

void RecorderSession::refreshDisplay()
{
    const QString times = TimesText(wave_.StartTime, wave_.StopTime);
    // A failed query leaves the statistics of the last refresh, without programmed lines.
    wave_.StatisticsText = statisticsBase_;
    wave_.QueryStatistics();
    statisticsBase_ = wave_.StatisticsText;
    showStatistics();
    wave_.QueryMode();
    if (view_.title != wave_.StatusText) view_.title = wave_.StatusText;
    // The title shows the mode in the interface language; the device's own word decides.
    if (wave_.Mode.contains("stopped")) {
        view_.canStop = false;
        view_.canPlay = true;
    }
    if (view_.times != times) view_.times = times;
}

void RecorderSession::scheduleCheck()
{
    if (ScheduleStartDue(wave_, clock_())) {
        refreshFailed_ = false;
        wave_.OpenCapture();
        wave_.SetFormat();
        wave_.StartRecording();
        wave_.Recording = true;
        unsaved_ = true;
        view_.canStop = true;
        view_.canPlay = view_.canSave = view_.canRecord = false;
    }
    if (ScheduleStopDue(wave_, clock_())) {
        stopProgrammed();
        // The display of the finished recording, not of its last moment.
        refreshDisplay();
    }
}

// The stop step of a programmed recording.
void RecorderSession::stopProgrammed()
{
    wave_.StopRecording();
    view_.canSave = view_.canPlay = true;
    view_.canStop = false;
    wave_.Recording = false;
    wave_.RecordingFinished = true;
    if (wave_.AutoSave)
        saveAutomatically();
    else
        tell(modWave::Told(LoadText(591) + "\n" + LoadText(592)));
    ChooseManual();
}

// The automatic save never loses the recording: in the current folder when it can be written,
// else in the music folder, and the user is told the full path; when both fail the recording
// stays in the device, to be saved by hand.
void RecorderSession::saveAutomatically()
{
    wave_.WaveFileName = AutomaticSaveName(wave_.StartTime, wave_.StopTime);
    const QString current = QDir::currentPath();
    const QString music = musicFolder_ ? musicFolder_() : QString();
    QString folder = AutomaticSaveFolder(current, music);
    for (int attempt = 0; attempt < 2 && !folder.isEmpty(); ++attempt) {
        // In the current folder the bare name is sent, as the device resolves it there.
        const bool here = QDir(folder) == QDir(current);
        const QString name = here ? wave_.WaveFileName : QDir(folder).filePath(wave_.WaveFileName);
        if (wave_.SaveRecording(name)) {
            unsaved_ = false;
            const QString saved = wave_.RenamePending ? wave_.ShortSaveName : name;
            tell(modWave::Told(LoadText(590) + "\n" + LoadText(476) + QDir(current).absoluteFilePath(saved)));
            return;
        }
        if (!here) break;
        folder = AutomaticSaveFolder(QString(), music);
    }
    tell(modWave::Failed(LoadText(591) + "\n" + LoadText(592), "the automatic save failed"));
}

QString RecorderSession::HaltedText(MediaControl::Halt why, std::optional<std::int64_t> keptMs)
{
    if (why == MediaControl::Halt::DiskFull) return LoadText(594);
    if (why == MediaControl::Halt::SizeLimit) return LoadText(597);
    if (!keptMs) return LoadText(595);
    if (*keptMs <= 0) return LoadText(653);
    // Tenths of a second, at least one: something was kept.
    const double seconds = std::max<std::int64_t>(1, (*keptMs + 50) / 100) / 10.0;
    return LoadText(652).arg(general::NumText(seconds));
}

void RecorderSession::Halted(MediaControl::Halt why)
{
    // What the device kept, so the message says it as it is.
    std::optional<std::int64_t> keptMs;
    if (why == MediaControl::Halt::InputLost) {
        wave_.QueryStatistics();
        keptMs = wave_.Facts.milliseconds;
    }
    const QString message = HaltedText(why, keptMs);
    const bool nothingKept = keptMs && *keptMs <= 0;
    if (!wave_.Recording || wave_.ManualMode) {
        tell(modWave::Failed(nothingKept ? message : message + "\n" + LoadText(592), "the recording halted"));
        if (wave_.Recording) Stop();
        return;
    }
    tell(modWave::Failed(message, "the recording halted"));
    wave_.StopTime = WholeSeconds(clock_());
    stopProgrammed();
    updateChecking();
}

void RecorderSession::Close()
{
    if (closed_) return;
    // The check ends first: nothing may ask the closed device afterwards.
    closed_ = true;
    unsaved_ = false;
    view_.checking = false;
    wave_.CloseCapture();
    WriteRecorderSettings(wave_);
    wave_.MovePendingSave();
    // Closing the device ended a recording that was running.
    if (wave_.Recording) {
        wave_.Recording = false;
        wave_.RecordingFinished = true;
    }
    view_.canStop = false;
    updateChecking();
}

void RecorderSession::Shown()
{
    if (!closed_) return;
    closed_ = false;
    refreshFailed_ = false;
    wave_.OpenCapture();
    wave_.SetFormat();
    // The recording went with the closed device; a programmed one chosen is armed again.
    wave_.ManualMode = !view_.programmedChosen;
    wave_.RecordingFinished = false;
    wave_.Recording = false;
    Saved = false;
    view_.canRecord = wave_.ManualMode;
    view_.canStop = view_.canPlay = view_.canSave = false;
    showFormat();
    showTimes();
    // The statistics and the title tell of the new device, not of the recording that went with
    // the closed one.
    statisticsBase_.clear();
    showStatistics();
    wave_.QueryMode();
    view_.title = wave_.StatusText;
    updateChecking();
}
