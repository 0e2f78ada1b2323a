#include "recorder/RecordingChecks.h"

#include "platform/audio/GetWaveHeader.h"
#include "spectrum/SpectrumComputation.h"
#include "support/Tools.h"
#include "support/TimeScale.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>
#include <QTest>
#include <algorithm>
#include <cmath>

SoxFormat ReadWithSox(const QString& path)
{
    SoxFormat f;
    const ToolResult rate = RunTool("soxi", {"-r", path});
    if (rate.exitCode != 0) return f;
    f.read = true;
    f.rate = rate.output.trimmed().toInt();
    f.channels = RunTool("soxi", {"-c", path}).output.trimmed().toInt();
    f.bits = RunTool("soxi", {"-b", path}).output.trimmed().toInt();
    f.seconds = RunTool("soxi", {"-D", path}).output.trimmed().toDouble();
    f.frames = RunTool("soxi", {"-s", path}).output.trimmed().toLongLong();
    return f;
}

std::vector<Peak> StrongestPeaks(const QString& path, int count, double apart)
{
    WaveSamples samples = GetWaveHeader(path, [](const QString&, const QString&) { return Answer::Retry; });
    if (!samples.ok || samples.frameCount < 4) return {};
    const spectrum::SpectrumResult r = spectrum::SpectrumComputation::Compute(
        std::move(samples.first), std::move(samples.second), samples.frameCount, samples.sampleRate);
    std::vector<int> bins;
    for (int i = 1; i < r.Nfft / 2; ++i) bins.push_back(i);
    std::sort(bins.begin(), bins.end(), [&](int a, int b) { return r.ydata[a] > r.ydata[b]; });
    std::vector<Peak> peaks;
    for (int bin : bins) {
        if (int(peaks.size()) == count) break;
        const double f = r.xdata[bin];
        if (std::none_of(peaks.begin(), peaks.end(), [&](const Peak& p) { return std::abs(p.frequency - f) < apart; }))
            peaks.push_back({f, r.ydata[bin]});
    }
    return peaks;
}

namespace {
void put32(QByteArray& b, quint32 v)
{
    for (int s = 24; s >= 0; s -= 8) b.append(char((v >> s) & 0xFF));
}
void putDelta(QByteArray& b, quint32 ticks)
{
    QByteArray bytes(1, char(ticks & 0x7F));
    while (ticks >>= 7) bytes.prepend(char(0x80 | (ticks & 0x7F)));
    b += bytes;
}
}

bool WriteMidiNotes(const QString& path, int key, int notes, int noteMs, int program)
{
    // 480 ticks a quarter note at 120 beats a minute: a tick is 500000 / 480 microseconds.
    const quint32 ticks = quint32(std::lround(noteMs * 1000.0 * 480 / 500000));
    QByteArray track;
    putDelta(track, 0);
    track += QByteArray("\xC0", 1) + char(program);
    for (int n = 0; n < notes; ++n) {
        putDelta(track, 0);
        track += QByteArray("\x90", 1) + char(key) + char(100);
        putDelta(track, ticks);
        track += QByteArray("\x80", 1) + char(key) + char(0);
    }
    putDelta(track, 0);
    track += QByteArray("\xFF\x2F\x00", 3);
    QByteArray file("MThd");
    put32(file, 6);
    file += QByteArray("\x00\x00\x00\x01\x01\xE0", 6);   // format 0, one track, 480 ticks
    file += "MTrk";
    put32(file, quint32(track.size()));
    file += track;
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

QStringList RecordCommands(int rate, int channels, int bits)
{
    const int align = bits / 8 * channels;
    return {"close all", "open new type waveaudio alias capture", "seek capture to start",
            QString("set capture alignment %1 bitspersample %2 samplespersec %3 channels %4 bytespersec %5")
                .arg(align).arg(bits).arg(rate).arg(channels).arg(align * rate),
            "record capture"};
}

void WarmUpAudioInput()
{
    static bool done = false;
    if (done || QMediaDevices::defaultAudioInput().isNull()) return;
    done = true;
    QAudioFormat format;
    format.setSampleRate(8000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    QAudioSource source(QMediaDevices::defaultAudioInput(), format);
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    source.start(&sink);
    if (!QTest::qWaitFor([&] { return sink.size() > 0; }, Slack(8000)))
        qWarning("the audio input gave no sound in 8 s");
    source.stop();
}
