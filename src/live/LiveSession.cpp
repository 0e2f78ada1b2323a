#include "live/LiveSession.h"

#include "live/Fundamental.h"
#include "text/LoadText.h"

#include <algorithm>
#include <cmath>
#include <QRegularExpression>

namespace live {

namespace {
// The scope's amplitude ranges (full scale at the top), largest first.
constexpr double kRanges[] = {1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001};
// Updates in a row that must want a smaller range before the scope shrinks to it.
constexpr int kShrinkAfter = 15;
// Spectrogram columns: one per half its transform.
constexpr int kSpectrogramHop = LiveSession::SpectrogramFftSize / 2;
constexpr int kMaxColumnsPerUpdate = 16;

int PowerOfTwoWithin(int n, int lo, int hi)
{
    int p = lo;
    while (p < hi && p < n) p <<= 1;
    return p;
}
}

QString Fixed(double value, int decimals)
{
    QString s = QString::number(value, 'f', decimals);
    if (s.startsWith('-') && s.count(QRegularExpression("[1-9]")) == 0) s.remove(0, 1);   // no "-0.0"
    return s;
}

LiveSession::LiveSession() : history_(44100)
{
    setSettings(settings_);
}

void LiveSession::setSettings(const LiveSettings& s)
{
    LiveSettings n = s;
    n.sampleRate = std::clamp<std::int32_t>(n.sampleRate, 4000, 192000);
    n.msPerDivision = std::clamp(n.msPerDivision, MinMsPerDivision, MaxMsPerDivision);
    n.fftSize = PowerOfTwoWithin(n.fftSize, MinFftSize, MaxFftSize);
    n.trigger.level = std::clamp(n.trigger.level, -1.0, 1.0);
    n.spectrogramFloorDb = std::clamp(n.spectrogramFloorDb, -160.0, -10.0);
    n.spectrogramToHz = std::clamp(n.spectrogramToHz, 100.0, n.sampleRate / 2.0);
    n.thresholdDb = std::clamp(n.thresholdDb, -90.0, 0.0);
    const bool newRate = n.sampleRate != history_.sampleRate();
    const bool newSpectrum = n.fftSize != settings_.fftSize || n.shape != settings_.shape || newRate;
    if (n.triggerMode != settings_.triggerMode) singleDone_ = false;
    settings_ = n;
    if (newRate) {
        history_.reset(n.sampleRate);
        stopwatch_ = OnsetStopwatch();
        sweepStart_ = 0;
        levelFrom_ = spectrogramAt_ = 0;
        lastClip_ = -1;
        view_ = View();
    }
    if (newSpectrum || !n.peakHold) view_.held.clear();
    stopwatch_.configure(std::pow(10.0, n.thresholdDb / 20), std::int64_t(n.deadMs * n.sampleRate / 1000));
    SpectrogramImage::Settings g = spectrogram_.settings();
    g.toHz = n.spectrogramToHz;
    g.floorDb = n.spectrogramFloorDb;
    g.scale = n.colours;
    if (newRate) spectrogram_ = SpectrogramImage();   // the old rate's columns would mislead
    spectrogram_.configure(g);
    updateStatus();
}

void LiveSession::setSpectrogramSize(int columns, int rows)
{
    SpectrogramImage::Settings g = spectrogram_.settings();
    g.columns = std::clamp(columns, 16, 4096);
    g.rows = std::clamp(rows, 16, 2048);
    spectrogram_.configure(g);
}

void LiveSession::armSingle() { singleDone_ = false; }

void LiveSession::resetStopwatch()
{
    stopwatch_.reset();
    updateStopwatchText();
}

void LiveSession::feed(const char* data, std::int64_t bytes)
{
    if (bytes <= 0) return;
    thread_local std::vector<std::int16_t> samples;
    samples.clear();
    samples.reserve(std::size_t(bytes / 2 + 1));
    std::int64_t i = 0;
    if (oddByte_) {
        const unsigned char lo = static_cast<unsigned char>(pending_), hi = static_cast<unsigned char>(data[0]);
        samples.push_back(std::int16_t(std::uint16_t(lo | (hi << 8))));
        i = 1;
        oddByte_ = false;
    }
    for (; i + 1 < bytes; i += 2) {
        const unsigned char lo = static_cast<unsigned char>(data[i]), hi = static_cast<unsigned char>(data[i + 1]);
        samples.push_back(std::int16_t(std::uint16_t(lo | (hi << 8))));
    }
    if (i < bytes) {
        pending_ = data[i];
        oddByte_ = true;
    }
    feedSamples(samples.data(), std::int64_t(samples.size()));
}

void LiveSession::feedSamples(const std::int16_t* samples, std::int64_t n)
{
    if (frozen_ || n <= 0) return;
    history_.append(samples, n);
    stopwatch_.feed(samples, n);
}

void LiveSession::setFrozen(bool frozen)
{
    frozen_ = frozen;
    oddByte_ = false;
    updateStatus();
}

Outcome LiveSession::inputLost(const QString& detail)
{
    lost_ = true;
    updateStatus();
    return Outcome::Failure(LoadText(770).arg(detail), LoadText(721), detail, MsgIcon::Exclamation);
}

Outcome LiveSession::inputFailed(const QString& detail)
{
    lost_ = true;
    updateStatus();
    return Outcome::Failure(LoadText(771).arg(detail), LoadText(721), detail, MsgIcon::Exclamation);
}

void LiveSession::inputStarted()
{
    lost_ = false;
    oddByte_ = false;
    updateStatus();
}

void LiveSession::update(LiveView visible)
{
    if (!frozen_) {
        updateLevel();
        // The spectrogram's columns at their fixed spacing, each from the sound up to it.
        const std::int64_t total = history_.total();
        if (spectrogramAt_ < total - std::int64_t(kMaxColumnsPerUpdate) * kSpectrogramHop)
            spectrogramAt_ = total - std::int64_t(kMaxColumnsPerUpdate) * kSpectrogramHop;
        std::vector<float> block(SpectrogramFftSize);
        while (spectrogramAt_ + kSpectrogramHop <= total) {
            spectrogramAt_ += kSpectrogramHop;
            const std::vector<std::int16_t> s = history_.samples(spectrogramAt_ - SpectrogramFftSize, SpectrogramFftSize);
            std::fill(block.begin(), block.end(), 0.0f);
            const std::size_t pad = block.size() - s.size();
            for (std::size_t i = 0; i < s.size(); ++i) block[pad + i] = s[i] / 32768.0f;
            spectrogram_.addColumn(ComputeSpectrum(block.data(), SpectrogramFftSize, settings_.sampleRate, settings_.shape));
        }
        if (visible == LiveView::Scope) updateScope();
        if (visible == LiveView::Spectrum) updateSpectrum();
    }
    updateStopwatchText();
    updateStatus();
}

void LiveSession::updateScope()
{
    const double rate = settings_.sampleRate;
    const double span = Divisions * settings_.msPerDivision * rate / 1000;
    const std::int64_t spanN = std::int64_t(std::ceil(span)) + 1;
    const std::int64_t total = history_.total();
    view_.sweepMs = Divisions * settings_.msPerDivision;
    if (settings_.triggerMode == TriggerMode::Single && singleDone_) {
        view_.triggerText = LoadText(768);
        return;
    }
    const std::int64_t searchEnd = total - spanN;
    const std::int64_t search = std::max<std::int64_t>(spanN, std::int64_t(rate / 20));
    const std::int64_t searchFrom = std::max(history_.oldest() + 1, searchEnd - search);
    const std::int64_t first = std::max(history_.oldest(), searchFrom - (searchEnd - searchFrom) - 1);
    const std::vector<float> buf = history_.latest(total - first);
    const std::int64_t offset = total - std::int64_t(buf.size());
    std::optional<double> at;
    if (searchEnd > searchFrom)
        at = FindTrigger(buf.data(), std::int64_t(buf.size()), searchFrom - offset, searchEnd - offset, settings_.trigger);
    if (at) {
        sweepStart_ = double(offset) + *at;
        view_.triggered = true;
        view_.triggerText = LoadText(779);
        if (settings_.triggerMode == TriggerMode::Single) singleDone_ = true;
    } else if (settings_.triggerMode == TriggerMode::Auto) {
        sweepStart_ = std::max(double(offset), double(total) - span);
        view_.triggered = false;
        view_.triggerText = LoadText(737);
    } else {
        view_.triggerText.clear();   // waiting: the last sweep stays
        return;
    }

    view_.trace.clear();
    const std::int64_t begin = std::int64_t(std::ceil(sweepStart_));
    const std::int64_t end = std::min<std::int64_t>(total, std::int64_t(std::floor(sweepStart_ + span)) + 1);
    const std::int64_t count = end - begin;
    double peak = 0;
    auto sample = [&](std::int64_t i) { return double(buf[std::size_t(i - offset)]); };
    if (count <= ScopeMaxPoints) {
        view_.trace.reserve(std::size_t(std::max<std::int64_t>(count, 0)));
        for (std::int64_t i = begin; i < end; ++i) {
            const double y = sample(i);
            view_.trace.emplace_back((double(i) - sweepStart_) * 1000 / rate, y);
            peak = std::max(peak, std::abs(y));
        }
    } else {
        const int columns = ScopeMaxPoints / 2;
        view_.trace.reserve(std::size_t(ScopeMaxPoints));
        for (int c = 0; c < columns; ++c) {
            const std::int64_t a = begin + count * c / columns, b = begin + count * (c + 1) / columns;
            double lo = 1e9, hi = -1e9;
            for (std::int64_t i = a; i < b; ++i) {
                lo = std::min(lo, sample(i));
                hi = std::max(hi, sample(i));
            }
            if (b <= a) continue;
            const double x = (double(a) - sweepStart_) * 1000 / rate;
            view_.trace.emplace_back(x, lo);
            view_.trace.emplace_back(x, hi);
            peak = std::max({peak, std::abs(lo), std::abs(hi)});
        }
    }

    if (!settings_.autoRange) {
        view_.range = 1;
    } else {
        double want = kRanges[0];
        for (double r : kRanges)
            if (r >= peak * 1.05) want = r;
        if (want >= view_.range) {
            view_.range = want;
            shrinkVotes_ = 0;
        } else if (++shrinkVotes_ >= kShrinkAfter) {
            view_.range = want;
            shrinkVotes_ = 0;
        }
    }

    updateCursorText();
}

void LiveSession::updateCursorText()
{
    const double rate = settings_.sampleRate;
    const double t1 = settings_.cursorMs[0], t2 = settings_.cursorMs[1];
    const double dt = std::abs(t2 - t1);
    const double a1 = amplitudeAt(sweepStart_ + t1 * rate / 1000), a2 = amplitudeAt(sweepStart_ + t2 * rate / 1000);
    view_.cursorText = LoadText(742).arg(Fixed(dt, 3), dt > 0 ? Fixed(1000 / dt, 2) : QString("-"), Fixed(a2 - a1, 4));
}

double LiveSession::amplitudeAt(double sample) const
{
    const std::int64_t i = std::int64_t(std::floor(sample));
    const std::vector<std::int16_t> s = history_.samples(i, 2);
    if (s.size() < 2) return s.empty() ? 0 : s[0] / 32768.0;
    const double f = sample - double(i);
    return (s[0] * (1 - f) + s[1] * f) / 32768.0;
}

void LiveSession::setCursor(int which, double ms)
{
    settings_.cursorMs[which ? 1 : 0] = std::clamp(ms, 0.0, Divisions * settings_.msPerDivision);
    if (!view_.trace.empty()) updateCursorText();
}

void LiveSession::updateSpectrum()
{
    const int n = settings_.fftSize;
    std::vector<float> samples(static_cast<std::size_t>(n));
    history_.latestInto(samples.data(), n);
    view_.spectrum = ComputeSpectrum(samples.data(), n, settings_.sampleRate, settings_.shape);
    if (settings_.peakHold) {
        if (view_.held.size() != view_.spectrum.amplitude.size()) view_.held = view_.spectrum.amplitude;
        for (std::size_t k = 0; k < view_.held.size(); ++k) view_.held[k] = std::max(view_.held[k], view_.spectrum.amplitude[k]);
    } else {
        view_.held.clear();
    }
    view_.peak = StrongestPeak(view_.spectrum, settings_.shape, 20, settings_.sampleRate / 2.0);
    view_.peakText = view_.peak.found
        ? LoadText(752).arg(Fixed(view_.peak.frequency, 2), Fixed(AmplitudeDb(view_.peak.amplitude), 1))
        : LoadText(754);
    const int m = std::min<int>(FundamentalSamples, n);
    const std::vector<float> recent(samples.end() - m, samples.end());
    const FundamentalReading f = FindFundamental(recent.data(), m, settings_.sampleRate);
    view_.fundamentalText = f.found ? LoadText(753).arg(Fixed(f.frequency, 1)) : LoadText(755);
}

void LiveSession::updateLevel()
{
    const std::int64_t total = history_.total();
    const std::int64_t least = settings_.sampleRate / 20;
    const std::int64_t from = std::max(history_.oldest(), std::min(levelFrom_, total - least));
    levelFrom_ = total;
    const std::vector<std::int16_t> s = history_.samples(from, total - from);
    view_.level = MeasureLevel(s.data(), std::int64_t(s.size()));
    if (view_.level.clipped) lastClip_ = total;
    view_.clipping = lastClip_ >= 0 && double(total - lastClip_) < ClipShowSeconds * settings_.sampleRate;
    view_.rmsText = LoadText(761).arg(Fixed(view_.level.rmsDb, 1));
    view_.peakLevelText = LoadText(762).arg(Fixed(view_.level.peakDb, 1));
    view_.clipText = view_.clipping ? LoadText(763) : QString();
}

void LiveSession::updateStopwatchText()
{
    switch (stopwatch_.state()) {
    case OnsetStopwatch::State::Armed: view_.stopwatchState = LoadText(766); break;
    case OnsetStopwatch::State::Running: view_.stopwatchState = LoadText(767); break;
    case OnsetStopwatch::State::Stopped: view_.stopwatchState = LoadText(768); break;
    }
    const std::int64_t n = stopwatch_.elapsedSamples();
    view_.stopwatchText = LoadText(769).arg(Fixed(double(n) / settings_.sampleRate, 4)).arg(n);
}

void LiveSession::updateStatus()
{
    const QString seconds = Fixed(double(history_.held()) / settings_.sampleRate, 1);
    view_.status = LoadText(lost_ ? 776 : frozen_ ? 773 : 772).arg(seconds);
}

QString LiveSession::copyValues() const
{
    QStringList lines;
    auto readout = [&lines](int view, const QString& text) {
        if (!text.isEmpty()) lines << LoadText(view) + '\t' + text;
    };
    LiveSpectrum spectrum = view_.spectrum;
    QString peakText = view_.peakText, fundamentalText = view_.fundamentalText;
    if (spectrum.amplitude.empty() && history_.held() > 0) {
        // The spectrum view was never shown: its read-outs now.
        LiveSession copy = *this;
        copy.updateSpectrum();
        spectrum = copy.view_.spectrum;
        peakText = copy.view_.peakText;
        fundamentalText = copy.view_.fundamentalText;
    }
    readout(722, view_.cursorText);
    readout(723, peakText);
    readout(723, fundamentalText);
    readout(725, view_.rmsText);
    readout(725, view_.peakLevelText);
    readout(725, view_.clipText);
    readout(726, view_.stopwatchText);
    lines << QString();
    const bool db = settings_.decibels;
    lines << LoadText(777) + '\t' + LoadText(778) + (db ? " (dBFS)" : "");
    for (std::size_t k = 0; k < spectrum.amplitude.size(); ++k) {
        const double a = spectrum.amplitude[k];
        lines << Fixed(spectrum.frequencyOf(k), 3) + '\t' + (db ? Fixed(AmplitudeDb(a), 2) : QString::number(a, 'g', 6));
    }
    return lines.join('\n') + '\n';
}

Outcome LiveSession::writeHeld(const QString& path) const
{
    if (history_.held() == 0) return Outcome::Failure(LoadText(774), LoadText(721), "nothing is held", MsgIcon::Information);
    WaveRecordingFile file;
    const PcmFormat format{settings_.sampleRate, 1, 16};
    bool ok = file.create(path, format);
    constexpr std::int64_t chunk = 1 << 16;
    for (std::int64_t at = history_.oldest(); ok && at < history_.total(); at += chunk) {
        const std::vector<std::int16_t> s = history_.samples(at, chunk);
        QByteArray bytes(qsizetype(s.size() * 2), Qt::Uninitialized);
        for (std::size_t i = 0; i < s.size(); ++i) {
            bytes[qsizetype(2 * i)] = char(std::uint16_t(s[i]) & 0xff);
            bytes[qsizetype(2 * i + 1)] = char(std::uint16_t(s[i]) >> 8);
        }
        ok = file.append(bytes.constData(), bytes.size());
    }
    const QString error = file.errorString();
    file.close();
    if (!ok) return Outcome::Failure(LoadText(775).arg(error), LoadText(721), error);
    return Outcome::Success();
}

} // namespace live
