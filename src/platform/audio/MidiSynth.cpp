#include "platform/audio/MidiSynth.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <QtEndian>
#include <fluidsynth.h>

#include "platform/system/LazyLibrary.h"

// FluidSynth is loaded the first time a tune is rendered (see LazyLibrary.h).
namespace {
inline LazyLibrary kLibFluidSynth{KIVRA_SONAME_FLUIDSYNTH};
}
namespace fs {
KIVRA_LAZY_SYMBOL(kLibFluidSynth, delete_fluid_player)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, delete_fluid_settings)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, delete_fluid_synth)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_is_midifile)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_player_add)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_player_play)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_player_stop)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_set_log_function)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_settings_setint)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_settings_setnum)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_settings_setstr)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_synth_all_notes_off)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_synth_sfload)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, fluid_synth_write_float)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, new_fluid_player)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, new_fluid_settings)
KIVRA_LAZY_SYMBOL(kLibFluidSynth, new_fluid_synth)
} // namespace fs

namespace {
// The synthesiser's own rate must be at least this (FluidSynth's lower bound).
constexpr std::int32_t kLowestSynthRate = 8000;

// FluidSynth's errors go to Qt's log; its chatter is dropped.
void logError(int, const char* message, void*) { qWarning("FluidSynth: %s", message); }
void quiet(int, const char*, void*) {}

void setUpLogging()
{
    static const bool done = [] {
        fs::fluid_set_log_function(FLUID_PANIC, logError, nullptr);
        fs::fluid_set_log_function(FLUID_ERR, logError, nullptr);
        fs::fluid_set_log_function(FLUID_WARN, quiet, nullptr);
        fs::fluid_set_log_function(FLUID_INFO, quiet, nullptr);
        fs::fluid_set_log_function(FLUID_DBG, quiet, nullptr);
        return true;
    }();
    (void)done;
}

// A standard MIDI file is a header chunk ("MThd", at least 6 bytes, the number of tracks in its
// bytes 10 and 11) and track chunks ("MTrk"), each a four-letter type and a 32-bit big-endian
// length. A file cut short (an interrupted copy or download) has a chunk that runs past its end,
// or fewer tracks than its header counts; FluidSynth would play nothing of it, silently. Bytes
// after the last chunk, fewer than a chunk header, are tolerated.
bool ChunksComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // Far larger than any score; FluidSynth reads the whole file into memory to play it.
    constexpr qint64 kLargest = 64 << 20;
    if (file.size() > kLargest) return false;
    const QByteArray bytes = file.readAll();
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 14 || !bytes.startsWith("MThd") || qFromBigEndian<quint32>(p + 4) < 6)
        return false;
    qint64 at = 0;
    int tracks = 0;
    while (at + 8 <= bytes.size()) {
        const qint64 length = qFromBigEndian<quint32>(p + at + 4);
        if (at + 8 + length > bytes.size()) return false;
        if (std::memcmp(p + at, "MTrk", 4) == 0) ++tracks;
        at += 8 + length;
    }
    return tracks > 0 && tracks >= qFromBigEndian<quint16>(p + 10);
}
}

MidiSynth::MidiSynth() { setUpLogging(); }

MidiSynth::~MidiSynth() { close(); }

QString MidiSynth::SoundFontPath()
{
    // KIVRA_SOUNDFONT names the SoundFont to use instead of the system's (empty: none at all).
    if (qEnvironmentVariableIsSet("KIVRA_SOUNDFONT")) {
        const QFileInfo chosen(qEnvironmentVariable("KIVRA_SOUNDFONT"));
        return chosen.isFile() && chosen.isReadable() ? chosen.canonicalFilePath() : QString();
    }
    // The Debian packages' General MIDI SoundFonts, the one KIVRA's package depends on first.
    for (const char* candidate : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                                  "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
                                  "/usr/share/soundfonts/default.sf2"}) {
        const QFileInfo font(candidate);
        if (font.isFile() && font.isReadable()) return font.canonicalFilePath();
    }
    return {};
}

bool MidiSynth::open(const QString& path, QString* error)
{
    close();
    auto failed = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!QFileInfo(path).isFile()) return failed("the MIDI file does not exist");
    if (!fs::fluid_is_midifile(QFile::encodeName(path).constData()))
        return failed("the file is not a standard MIDI file");
    if (!ChunksComplete(path)) return failed("the MIDI file is damaged or cut short");
    if (SoundFontPath().isEmpty()) return failed("no General MIDI SoundFont is installed");
    path_ = path;
    return true;
}

void MidiSynth::close()
{
    stop();
    freeSynth();
    path_.clear();
}

bool MidiSynth::makeSynth(std::int32_t sampleRate, QString* error)
{
    freeSynth();
    auto failed = [&](const QString& why) {
        freeSynth();
        if (error) *error = why;
        return false;
    };
    rate_ = sampleRate;
    oversample_ = std::max(1, int((kLowestSynthRate + sampleRate - 1) / std::max(1, sampleRate)));
    settings_ = fs::new_fluid_settings();
    if (!settings_) return failed("FluidSynth settings cannot be made");
    fs::fluid_settings_setnum(settings_, "synth.sample-rate", double(sampleRate) * oversample_);
    fs::fluid_settings_setstr(settings_, "player.timing-source", "sample");
    // FluidSynth's own default (0.2) leaves a General MIDI tune some 25 dB below a spoken voice in
    // the recording; a full gain is what a class hears from a keyboard.
    fs::fluid_settings_setnum(settings_, "synth.gain", 1.0);
    fs::fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    synth_ = fs::new_fluid_synth(settings_);
    if (!synth_) return failed("the synthesiser cannot be made");
    if (fs::fluid_synth_sfload(synth_, QFile::encodeName(SoundFontPath()).constData(), 1) == FLUID_FAILED)
        return failed("the SoundFont cannot be loaded");
    player_ = fs::new_fluid_player(synth_);
    if (!player_ || fs::fluid_player_add(player_, QFile::encodeName(path_).constData()) != FLUID_OK)
        return failed("the MIDI file cannot be played");
    return true;
}

void MidiSynth::freeSynth()
{
    if (player_) {
        fs::fluid_player_stop(player_);
        fs::delete_fluid_player(player_);
        player_ = nullptr;
    }
    if (synth_) fs::delete_fluid_synth(std::exchange(synth_, nullptr));
    if (settings_) fs::delete_fluid_settings(std::exchange(settings_, nullptr));
    rate_ = 0;
}

bool MidiSynth::play(std::int32_t sampleRate, QString* error)
{
    if (!isOpen()) {
        if (error) *error = "no MIDI file is open";
        return false;
    }
    if (sampleRate <= 0) sampleRate = 44100;
    if (!synth_ || rate_ != sampleRate) {
        if (!makeSynth(sampleRate, error)) return false;
    }
    if (fs::fluid_player_play(player_) != FLUID_OK) {
        if (error) *error = "the MIDI file cannot be played";
        return false;
    }
    playing_ = true;
    return true;
}

void MidiSynth::stop()
{
    if (!playing_) return;
    playing_ = false;
    if (player_) fs::fluid_player_stop(player_);
    if (synth_) fs::fluid_synth_all_notes_off(synth_, -1);
}

void MidiSynth::mixInto(char* data, std::int64_t frames, const PcmFormat& format)
{
    if (!playing_ || frames <= 0) return;
    if (rate_ != format.sampleRate && !play(format.sampleRate)) return;
    const std::size_t n = std::size_t(frames) * std::size_t(oversample_);
    left_.assign(n, 0.0f);
    right_.assign(n, 0.0f);
    fs::fluid_synth_write_float(synth_, int(n), left_.data(), 0, 1, right_.data(), 0, 1);

    for (std::int64_t i = 0; i < frames; ++i) {
        // Oversampled output is brought down to the caller's rate by averaging.
        float l = 0, r = 0;
        for (int k = 0; k < oversample_; ++k) {
            l += left_[std::size_t(i) * oversample_ + k];
            r += right_[std::size_t(i) * oversample_ + k];
        }
        l /= float(oversample_);
        r /= float(oversample_);
        const float channel[2] = {format.channels == 1 ? (l + r) / 2 : l, r};
        for (int c = 0; c < format.channels; ++c) {
            if (format.bitsPerSample == 16) {
                char* at = data + (i * format.channels + c) * 2;
                const long sample = qFromLittleEndian<qint16>(at);
                const long mixed = std::clamp(sample + std::lround(channel[c] * 32767.0f), -32768L, 32767L);
                qToLittleEndian<qint16>(qint16(mixed), at);
            } else {
                auto* at = reinterpret_cast<unsigned char*>(data + i * format.channels + c);
                *at = (unsigned char)std::clamp(long(*at) + std::lround(channel[c] * 127.0f), 0L, 255L);
            }
        }
    }
}
