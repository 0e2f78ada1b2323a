#include "recorder/mci/AudioMediaControl.h"

#include "platform/audio/MidiSynth.h"
#include "platform/audio/SaveWaveHeader.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/audio/WavePlayback.h"
#include "platform/audio/WaveRecorder.h"

#include <QAudioSink>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <vector>

using platform::MediaCommand;
using platform::MediaItem;
using platform::MediaTimeFormat;
using platform::MediaVerb;

namespace {
QString newScratchPath()
{
    static int counter = 0;
    QString path;
    do {
        path = QDir(platform::ScratchFolder()).filePath(QString("recording-%1.wav").arg(++counter));
    } while (QFile::exists(path));
    return path;
}

void fillSilence(char* data, std::int64_t bytes, const PcmFormat& format)
{
    std::fill(data, data + bytes, char(format.bitsPerSample == 8 ? 0x80 : 0));
}

// Adds the sound `add` to `into`, both in `format`, clipped to the sample range.
void addSound(char* into, const char* add, std::int64_t bytes, const PcmFormat& format)
{
    if (format.bitsPerSample == 8) {
        for (std::int64_t i = 0; i < bytes; ++i) {
            const int sum = int((unsigned char)into[i]) + int((unsigned char)add[i]) - 128;
            into[i] = char(std::clamp(sum, 0, 255));
        }
        return;
    }
    for (std::int64_t i = 0; i + 1 < bytes; i += 2) {
        const int a = qint16(quint8(into[i]) | (quint8(into[i + 1]) << 8));
        const int b = qint16(quint8(add[i]) | (quint8(add[i + 1]) << 8));
        const int sum = std::clamp(a + b, -32768, 32767);
        into[i] = char(sum & 0xFF);
        into[i + 1] = char((sum >> 8) & 0xFF);
    }
}
}

struct AudioMediaControl::Wave {
    PcmFormat format;   // a new element records 11025 Hz, mono, 8 bits until set otherwise
    MediaTimeFormat timeFormat = MediaTimeFormat::Milliseconds;
    std::unique_ptr<WaveRecorder> recorder;
    WavePlayback playback;

    bool hasRecording() const { return !recorder->file().path().isEmpty(); }
    std::int64_t dataBytes() const { return hasRecording() ? recorder->file().dataBytes() : 0; }
    void discard()
    {
        recorder->stop();
        playback.stop();
        if (hasRecording()) QFile::remove(recorder->file().path());
    }
};

struct AudioMediaControl::Sequencer {
    MidiSynth synth;
    PcmFormat format{44100, 2, 16};   // of the sound sent to the output
    QAudioSink* sink = nullptr;
    QIODevice* output = nullptr;
    QTimer idleTimer;
    QElapsedTimer sinceRender;

    ~Sequencer() { stopOutput(); }
    void startOutput()
    {
        stopOutput();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return;   // the file still plays into recordings
        QAudioFormat f;
        f.setSampleRate(format.sampleRate);
        f.setChannelCount(format.channels);
        f.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        sink = new QAudioSink(device, f);
        output = sink->start();
        if (!output) stopOutput();
    }
    void stopOutput()
    {
        output = nullptr;
        if (QAudioSink* s = std::exchange(sink, nullptr)) {
            s->stop();
            s->deleteLater();
        }
    }
    void send(const char* data, std::int64_t bytes)
    {
        if (output && sink) output->write(data, std::min<std::int64_t>(bytes, sink->bytesFree()));
    }
};

AudioMediaControl::AudioMediaControl(QObject* parent) : MediaControl(parent) {}

AudioMediaControl::~AudioMediaControl()
{
    for (const auto& w : waves_) w->discard();
}

int AudioMediaControl::SendString(const QString& command, QString& reply)
{
    reply.clear();
    const platform::MediaParse parsed = platform::ParseMediaCommand(command);
    if (!parsed.command) return BadCommand;
    const MediaCommand& c = *parsed.command;
    if (c.verb == MediaVerb::Open) return open(c);
    if (c.verb == MediaVerb::Close) return close(c.alias);
    if (c.verb == MediaVerb::Status) return status(c, reply);

    const QString alias = c.alias.toLower();
    if (const auto s = sequencers_.value(alias)) {
        switch (c.verb) {
        case MediaVerb::Play: return playMidi(*s);
        case MediaVerb::Stop:
            s->synth.stop();
            s->idleTimer.stop();
            s->stopOutput();
            return Success;
        default: return NotSupported;
        }
    }
    const auto wave = waves_.value(alias);
    if (!wave) return UnknownAlias;
    switch (c.verb) {
    case MediaVerb::Seek:
        wave->playback.stop();
        wave->recorder->stop();
        return Success;
    case MediaVerb::Set: return set(*wave, c);
    case MediaVerb::Record: return record(*wave);
    case MediaVerb::Stop:
        wave->recorder->stop();
        wave->playback.stop();
        return Success;
    case MediaVerb::Play: return play(*wave, c);
    case MediaVerb::Save: return save(*wave, c.fileName);
    default: return NotSupported;
    }
}

MediaControl::Error AudioMediaControl::open(const MediaCommand& c)
{
    const QString alias = c.alias.toLower();
    if (alias == "all" || waves_.contains(alias) || sequencers_.contains(alias)) return AliasInUse;
    if (c.type == "waveaudio") {
        if (c.element.compare("new", Qt::CaseInsensitive) != 0) return NotSupported;
        auto wave = std::make_shared<Wave>();
        newRecorder(*wave, c.alias);
        waves_.insert(alias, wave);
        return Success;
    }
    if (c.type == "sequencer") {
        auto sequencer = std::make_shared<Sequencer>();
        QString path = c.element;
        if (QFileInfo(path).isRelative()) path = QDir::current().absoluteFilePath(path);
        if (MidiSynth::SoundFontPath().isEmpty()) return NoSoundFont;
        if (!sequencer->synth.open(path)) return CannotReadMidi;
        sequencer->idleTimer.setInterval(20);
        connect(&sequencer->idleTimer, &QTimer::timeout, this, [this] { renderIdleSequencers(); });
        sequencers_.insert(alias, sequencer);
        return Success;
    }
    return UnknownDeviceType;
}

void AudioMediaControl::newRecorder(Wave& wave, const QString& alias)
{
    wave.recorder = std::make_unique<WaveRecorder>();
    connect(wave.recorder.get(), &WaveRecorder::halted, this,
            [this, alias](Halt why, const QString& detail) { emit recordingHalted(alias, why, detail); });
}

MediaControl::Error AudioMediaControl::close(const QString& name)
{
    const QString alias = name.toLower();
    if (alias == "all") {
        for (const auto& w : waves_) w->discard();
        waves_.clear();
        sequencers_.clear();
        return Success;
    }
    if (const auto wave = waves_.take(alias)) {
        wave->discard();
        return Success;
    }
    return sequencers_.remove(alias) ? Success : UnknownAlias;
}

MediaControl::Error AudioMediaControl::set(Wave& wave, const MediaCommand& c)
{
    if (c.timeFormat) {
        wave.timeFormat = *c.timeFormat;
        return Success;
    }
    if (wave.recorder->recording() || wave.playback.playing()) return Busy;
    PcmFormat next = wave.format;
    std::optional<std::int64_t> alignment, bytesPerSecond;
    for (const auto& [key, value] : c.format) {
        if (key == "alignment") alignment = value;
        else if (key == "bytespersec") bytesPerSecond = value;
        else if (key == "bitspersample") next.bitsPerSample = int(std::min<std::int64_t>(value, 1 << 20));
        else if (key == "channels") next.channels = int(std::min<std::int64_t>(value, 1 << 20));
        else if (key == "samplespersec") next.sampleRate = std::int32_t(std::min<std::int64_t>(value, 1 << 30));
    }
    const bool consistent = (next.bitsPerSample == 8 || next.bitsPerSample == 16) &&
                            (next.channels == 1 || next.channels == 2) &&
                            next.sampleRate >= LowestRate && next.sampleRate <= HighestRate &&
                            (!alignment || *alignment == next.blockAlign()) &&
                            (!bytesPerSecond || *bytesPerSecond == next.bytesPerSecond());
    if (!consistent) return BadFormat;
    if (!(next == wave.format)) {
        // Sound already recorded cannot change its format.
        wave.discard();
        newRecorder(wave, c.alias);
        wave.format = next;
    }
    return Success;
}

MediaControl::Error AudioMediaControl::record(Wave& wave)
{
    wave.playback.stop();
    wave.discard();
    const WaveRecorder::Start started = wave.recorder->start(wave.format, newScratchPath(), largest_);
    if (started != WaveRecorder::Start::Started) {
        qWarning("KIVRA: recording did not start: %s", qUtf8Printable(wave.recorder->errorString()));
        return started == WaveRecorder::Start::CannotWrite ? CannotWrite : NoInputDevice;
    }
    const PcmFormat format = wave.format;
    wave.recorder->mixer = [this, format](char* data, std::int64_t bytes) {
        mixSequencers(data, bytes, format);
    };
    for (const auto& s : sequencers_) s->idleTimer.stop();
    return Success;
}

MediaControl::Error AudioMediaControl::play(Wave& wave, const MediaCommand& c)
{
    if (wave.recorder->recording()) return Busy;
    const std::int64_t from = c.from.value_or(0);
    std::int64_t fromBytes = wave.timeFormat == MediaTimeFormat::Bytes
                                 ? from
                                 : from * wave.format.bytesPerSecond() / 1000;
    fromBytes -= fromBytes % wave.format.blockAlign();
    if (fromBytes >= wave.dataBytes()) return Success;   // nothing to play: stays stopped
    QString why;
    if (!wave.playback.start(wave.recorder->file().path(), WaveRecordingFile::HeaderBytes + fromBytes,
                             wave.format, &why)) {
        qWarning("KIVRA: playback did not start: %s", qUtf8Printable(why));
        return NoOutputDevice;
    }
    return Success;
}

PcmFormat AudioMediaControl::sequencerFormat() const
{
    // The sound of a sequencer goes into the recordings: it is made in their format.
    for (const auto& w : waves_) return w->format;
    return PcmFormat{44100, 2, 16};
}

MediaControl::Error AudioMediaControl::playMidi(Sequencer& sequencer)
{
    sequencer.format = sequencerFormat();
    QString why;
    if (!sequencer.synth.play(sequencer.format.sampleRate, &why)) {
        qWarning("KIVRA: MIDI file does not play: %s", qUtf8Printable(why));
        return MidiSynth::SoundFontPath().isEmpty() ? NoSoundFont : NoSynthesiser;
    }
    sequencer.startOutput();
    sequencer.sinceRender.start();
    if (!anyRecording()) sequencer.idleTimer.start();
    return Success;
}

bool AudioMediaControl::anyRecording() const
{
    return std::any_of(waves_.begin(), waves_.end(),
                       [](const auto& w) { return w->recorder->recording(); });
}

void AudioMediaControl::mixSequencers(char* data, std::int64_t bytes, const PcmFormat& format)
{
    std::vector<char> sound;
    for (const auto& s : sequencers_) {
        if (!s->synth.playing()) continue;
        sound.resize(std::size_t(bytes));
        fillSilence(sound.data(), bytes, format);
        s->synth.mixInto(sound.data(), bytes / format.blockAlign(), format);
        if (s->format == format) s->send(sound.data(), bytes);
        addSound(data, sound.data(), bytes, format);
        s->sinceRender.restart();
    }
}

void AudioMediaControl::renderIdleSequencers()
{
    if (anyRecording()) return;
    std::vector<char> sound;
    for (const auto& s : sequencers_) {
        if (!s->synth.playing()) continue;
        const std::int64_t ms = std::min<std::int64_t>(s->sinceRender.restart(), 200);
        const std::int64_t frames = ms * s->format.sampleRate / 1000;
        const std::int64_t bytes = frames * s->format.blockAlign();
        if (bytes <= 0) continue;
        sound.resize(std::size_t(bytes));
        fillSilence(sound.data(), bytes, s->format);
        s->synth.mixInto(sound.data(), frames, s->format);
        s->send(sound.data(), bytes);
    }
}

MediaControl::Error AudioMediaControl::save(Wave& wave, const QString& fileName)
{
    if (wave.recorder->recording()) return Busy;
    const QString target = QDir::current().absoluteFilePath(fileName);
    if (wave.hasRecording()) {
        QString why;
        if (wave.recorder->file().saveCopy(target, &why)) return Success;
        qWarning("KIVRA: %s not saved: %s", qUtf8Printable(target), qUtf8Printable(why));
        return CannotWrite;
    }
    // Nothing recorded: an empty WAV file of the element's format.
    const auto header = WaveHeaderBytes(wave.format.channels, wave.format.sampleRate,
                                        wave.format.bitsPerSample, 0);
    QSaveFile out(target);
    if (header && out.open(QIODevice::WriteOnly) && out.write(*header) == header->size() &&
        out.commit())
        return Success;
    return CannotWrite;
}

MediaControl::Error AudioMediaControl::status(const MediaCommand& c, QString& reply)
{
    const QString alias = c.alias.toLower();
    if (const auto s = sequencers_.value(alias)) {
        if (c.item != MediaItem::Mode) return NotSupported;
        reply = s->synth.playing() ? "playing" : "stopped";
        return Success;
    }
    const auto wave = waves_.value(alias);
    if (!wave) return UnknownAlias;
    switch (c.item) {
    case MediaItem::Mode:
        reply = wave->recorder->recording() ? "recording"
                : wave->playback.playing()  ? "playing"
                                            : "stopped";
        break;
    case MediaItem::Length:
        reply = QString::number(wave->timeFormat == MediaTimeFormat::Bytes
                                    ? wave->dataBytes()
                                    : wave->dataBytes() * 1000 / wave->format.bytesPerSecond());
        break;
    case MediaItem::Channels: reply = QString::number(wave->format.channels); break;
    case MediaItem::BitsPerSample: reply = QString::number(wave->format.bitsPerSample); break;
    case MediaItem::SamplesPerSec: reply = QString::number(wave->format.sampleRate); break;
    }
    return Success;
}

std::uint64_t AudioMediaControl::droppedBytes(const QString& alias) const
{
    const auto wave = waves_.value(alias.toLower());
    return wave ? wave->recorder->droppedBytes() : 0;
}

QString AudioMediaControl::recordingFile(const QString& alias) const
{
    const auto wave = waves_.value(alias.toLower());
    return wave && wave->hasRecording() ? wave->recorder->file().path() : QString();
}
