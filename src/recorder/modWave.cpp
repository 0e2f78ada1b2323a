#include "recorder/modWave.h"

#include "general/General.h"
#include "recorder/mci/MediaControl.h"
#include "platform/system/TemporaryFiles.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

modWave& modWave::Module()
{
    static modWave engine;
    return engine;
}

bool modWave::send(const QString& command, const QString& failure)
{
    QString reply;
    return send(command, failure, reply);
}

Outcome modWave::Failed(const QString& message, const QString& detail)
{
    return Outcome::Failure(message, QCoreApplication::applicationName(), detail, MsgIcon::None);
}

Outcome modWave::Told(const QString& message)
{
    return Outcome::Information(message, QCoreApplication::applicationName(), MsgIcon::None);
}

bool modWave::send(const QString& command, const QString& failure, QString& reply)
{
    const int error = MediaControl::Current().SendString(command, reply);
    if (error == MediaControl::Success) return true;
    reply.clear();
    ++Failures;
    told(Failed(failure, command + ": " + MediaControl::ErrorText(error)));
    return false;
}

void modWave::told(const Outcome& message)
{
    if (tell)
        tell(message);
    else
        qWarning("KIVRA recorder: %s", qUtf8Printable(message.message));
}

void modWave::OpenCapture()
{
    send("close all", LoadText(613));
    CaptureOpen = send("open new type waveaudio alias capture", LoadText(615));
}

void modWave::SetFormat()
{
    const auto alignment = std::int32_t(general::Round(double(BitsPerSample) * Channels / 8));
    const std::int32_t bytesPerSecond = alignment * SampleRate;
    send("seek capture to start", LoadText(617) + " - " + LoadText(402));
    send(QString("set capture alignment %1 bitspersample %2 samplespersec %3 channels %4 bytespersec %5")
             .arg(alignment)
             .arg(BitsPerSample)
             .arg(SampleRate)
             .arg(Channels)
             .arg(bytesPerSecond),
         LoadText(618));
}

void modWave::StartRecording()
{
    if (!MidiFileName.isEmpty()) {
        if (ManualMode) {
            const Outcome announcement = Told(LoadText(619) + NamedBy(MidiFileName) + " " + LoadText(620));
            if (announce) announce(announcement);
            else if (tell) tell(announcement);
        }
        // A MIDI file that cannot sound says why: no SoundFont, no synthesiser, not a MIDI file.
        QString reply;
        const int opened = MediaControl::Current().SendString(
            "open " + MidiFileName + " type sequencer alias midi", reply);
        if (opened != MediaControl::Success) {
            ++Failures;
            told(Failed(opened == MediaControl::NoSoundFont ? LoadText(664)
                        : opened == MediaControl::CannotReadMidi
                            ? LoadText(621) + "\n" + LoadText(666) + MidiFileName
                            : LoadText(621),
                        MediaControl::ErrorText(opened)));
        }
        const int played = MediaControl::Current().SendString("play midi", reply);
        if (played != MediaControl::Success) {
            ++Failures;
            told(Failed(played == MediaControl::NoSoundFont     ? LoadText(664)
                        : played == MediaControl::NoSynthesiser ? LoadText(665)
                                                                : QString("Playing midi file failed!"),
                        MediaControl::ErrorText(played)));
        }
    }
    send("record capture", LoadText(622));
}

void modWave::StopRecording()
{
    send("stop capture", LoadText(625));
    if (!MidiFileName.isEmpty()) send("stop midi", LoadText(624));
}

void modWave::PlayRecording() { send("play capture from 0", LoadText(626)); }

bool modWave::SaveRecording(const QString& name)
{
    if (FileExists(name)) QFile::remove(name);
    if (!HasSpace(name)) return send("save capture " + name, LoadText(623) + name);

    const QString alias = GetShortName(name);
    if (!send("save capture " + alias, LoadText(623) + name)) return false;
    LongSaveName = name;
    ShortSaveName = alias;
    RenamePending = true;
    MovePendingSave(true);
    return true;
}

bool modWave::MovePendingSave(bool tellFailure)
{
    if (!RenamePending) return true;
    if (QFileInfo(ShortSaveName).absoluteFilePath() != QFileInfo(LongSaveName).absoluteFilePath() &&
        QFileInfo::exists(ShortSaveName)) {
        QFile::remove(LongSaveName);
        if (!QFile::rename(ShortSaveName, LongSaveName)) {
            if (tellFailure && tell)
                tell(Failed(LoadText(598) + QFileInfo(ShortSaveName).absoluteFilePath(), "the move failed"));
            return false;
        }
    }
    RenamePending = false;
    ShortSaveName.clear();
    return true;
}

void modWave::QueryMode()
{
    QString reply;
    send("status capture mode", LoadText(627), reply);
    Mode = reply;
    // The window shows the mode in the interface language; Mode keeps the device's own word.
    const QString word = reply == "stopped"     ? LoadText(654)
                         : reply == "recording" ? LoadText(655)
                         : reply == "playing"   ? LoadText(656)
                                                : reply;
    StatusText = (LoadText(651) + ": " + word).left(255);
}

void modWave::QueryStatistics()
{
    if (!send("set capture time format ms", LoadText(633))) return;
    RecordingFacts facts;
    QString reply;
    if (send("status capture length", LoadText(628), reply)) facts.milliseconds = ReplyNumber(reply);
    if (send("set capture time format bytes", "Setting time format in bytes failed!")) {
        if (send("status capture length", LoadText(630), reply)) facts.bytes = ReplyNumber(reply);
    }
    if (send("status capture channels", "Finding number of channels failed!", reply))
        facts.channels = ReplyNumber(reply);
    if (send("status capture bitspersample", LoadText(631), reply))
        facts.bitsPerSample = ReplyNumber(reply);
    if (send("status capture samplespersec", LoadText(632), reply))
        facts.samplesPerSec = ReplyNumber(reply);
    Facts = facts;
    StatisticsText = ::StatisticsText(facts);
}

void modWave::CloseCapture()
{
    if (!CaptureOpen) return;
    CaptureOpen = false;
    send("close capture", "Closing MCI failed!");
}

bool modWave::FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).exists();
}

QString modWave::NamedBy(const QString& alias)
{
    const QFileInfo file(alias);
    if (file.isSymLink() && file.absolutePath() == QDir(platform::ScratchFolder()).absolutePath())
        return file.symLinkTarget();
    return alias;
}

bool modWave::HasSpace(const QString& text) { return text.contains(u' '); }

QString modWave::GetShortName(const QString& path)
{
    if (!HasSpace(path) && !path.startsWith(u'"')) return path;
    const QFileInfo info(path);
    QString suffix = info.suffix();
    suffix.replace(u' ', u'_').remove(u'"');
    const QDir scratch(platform::ScratchFolder());
    static int counter = 0;
    QString alias;
    do {
        alias = scratch.filePath(QString("short-%1%2").arg(++counter).arg(suffix.isEmpty() ? "" : "." + suffix));
    } while (QFileInfo(alias).exists() || QFileInfo(alias).isSymLink());
    if (info.exists() && !QFile::link(info.absoluteFilePath(), alias)) return path;
    return alias;
}
