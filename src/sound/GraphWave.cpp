#include "sound/GraphWave.h"

#include "general/General.h"
#include "platform/ui/Surface.h"
#include "sound/ColumnTable.h"
#include "platform/audio/WaveFile.h"
#include "text/LoadText.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <vector>

// How one of the four sample layouts is read and placed on the box.
struct GraphTrace {
    bool stereo = false;
    bool sixteen = false;      // the 16-bit drawing constants (16-bit and the wide formats)
    SampleFormat format;       // a wide format is decoded through it
    double exact[2] = {0, 0};  // a wide frame's samples at full scale 1
    int bytesPerFrame = 1;     // fixed per layout: 4, 2, 2 or 1
    double centre = 0;         // 16-bit: y = round(centre - s / divisor)
    double divisor = 35;
    double base = 0;           // 8-bit: y = base - slope * s
    int slope = 7;
    double mean = 0;           // offset removed from the normalised amplitude
    double norm = 1.0 / 32768;

    // The y of a sample, or nothing when it does not fit 16 bits (the previous y then stays).
    std::optional<int> Y(int s) const
    {
        const double y = sixteen ? general::Round(centre - s / divisor) : base - double(slope) * s;
        if (!(y >= -32768.0 && y <= 32767.0))
            return std::nullopt;
        return int(y);
    }
    float Amplitude(int s, int channel) const
    {
        if (format.wide()) return float(exact[channel] - mean * norm);
        return float((s - mean) * norm);
    }

    void Decode(const unsigned char* b, int& left, int& right)
    {
        if (format.wide()) {
            // On the 16-bit scale for the trace; the exact values for the amplitude table.
            left = format.Raw16(b);
            exact[0] = format.Normalised(b);
            right = stereo ? format.Raw16(b + format.bytes()) : 0;
            exact[1] = stereo ? format.Normalised(b + format.bytes()) : 0;
        } else if (sixteen) {
            left = std::int16_t(std::uint16_t(b[0] | (b[1] << 8)));
            right = stereo ? std::int16_t(std::uint16_t(b[2] | (b[3] << 8))) : 0;
        } else {
            left = b[0];
            right = stereo ? b[1] : 0;
        }
    }
};

namespace {

// The mean sample value of the stretch, both channels together. Frames beyond the end of the
// file read as zeros, so only the bytes the file holds are read.
double MeanOf(WaveFile& file, std::int64_t start, std::int32_t frameCount, const GraphTrace& t)
{
    const int sampleBytes = t.format.wide() ? t.format.bytes() : t.sixteen ? 2 : 1;
    const std::int64_t wanted = std::int64_t(frameCount) * t.bytesPerFrame;
    std::int64_t present = std::clamp<std::int64_t>(file.Length() - start + 1, 0, wanted);
    present += (sampleBytes - present % sampleBytes) % sampleBytes;
    std::int64_t sum = 0;
    double wideSum = 0;   // the wide formats, in 16-bit units
    std::vector<unsigned char> block(std::size_t(sampleBytes) << 14);
    file.Seek(start);
    for (std::int64_t done = 0; done < present;) {
        const std::size_t n = std::size_t(std::min<std::int64_t>(present - done, std::int64_t(block.size())));
        file.Read(block.data(), n);
        if (t.format.wide()) {
            for (std::size_t i = 0; i + std::size_t(sampleBytes) <= n; i += std::size_t(sampleBytes))
                wideSum += t.format.Normalised(block.data() + i) * 32768.0;
        } else if (t.sixteen) {
            for (std::size_t i = 0; i + 1 < n; i += 2)
                sum += std::int16_t(std::uint16_t(block[i] | (block[i + 1] << 8)));
        } else {
            for (std::size_t i = 0; i < n; ++i)
                sum += block[i];
        }
        done += std::int64_t(n);
    }
    double mean = (double(sum) + wideSum) / double(frameCount);
    if (t.stereo)
        mean /= 2;
    return mean;
}

QColor SystemColour(QPalette::ColorRole role, const QColor& fallback)
{
    return QGuiApplication::instance() ? QGuiApplication::palette().color(role) : fallback;
}

} // namespace

GraphWave::GraphWave(Surface& picture2, Surface& picture4, Surface& picture5, Surface& picture7,
                     ColumnTable& columnTable)
    : picture2_(picture2), picture4_(picture4), picture5_(picture5), picture7_(picture7),
      table_(columnTable), buttonFace_(SystemColour(QPalette::Button, QColor(240, 240, 240)))
{
}

void GraphWave::SetColours(const QColor& windowBackground, const QColor& upperPen)
{
    picture2_.SetBackColor(windowBackground);
    picture2_.SetForeColor(upperPen);
    picture4_.SetBackColor(upperPen);
    picture4_.SetForeColor(windowBackground);
    picture5_.SetBackColor(windowBackground);
    picture5_.SetForeColor(DarkRed());
    picture7_.SetBackColor(DarkRed());
    picture7_.SetForeColor(windowBackground);
}

GraphTrace GraphWave::Prepare(SampleFormat format, const QString& channelMode, GraphLayout& layout)
{
    layout.ampTag = "0";
    GraphTrace t;
    t.stereo = channelMode == QLatin1String("Stereo");
    t.format = format;
    t.sixteen = format.bits() == 16 || format.wide();
    t.bytesPerFrame = (t.stereo ? 2 : 1) * (format.wide() ? format.bytes() : t.sixteen ? 2 : 1);
    t.norm = t.sixteen ? 1.0 / 32768 : 1.0 / 128;
    t.mean = t.sixteen ? 0 : 128;

    // Layout: two boxes of 1928 for stereo, one of 3856 for mono.
    const int boxHeight = t.stereo ? StereoBoxHeight : MonoBoxHeight;
    const int W = picture2_.ScaleWidth();
    const int innerHeight = std::max(0, boxHeight - borderTwips_);
    picture2_.Resize(W, innerHeight);
    picture4_.Resize(W, innerHeight);
    layout.upperHeight = boxHeight;
    if (t.stereo) {
        picture5_.Resize(W, innerHeight);
        picture7_.Resize(W, innerHeight);
        layout.lowerVisible = true;
        layout.lowerHeight = boxHeight;
    } else {
        layout.monoCursorHeight = MonoBoxHeight;
    }

    const double H = picture2_.ScaleHeight();
    t.centre = H / 2;
    t.divisor = t.stereo ? 35 : 17;
    t.slope = t.stereo ? 7 : 15;

    // Reference lines: the centre in the box's pen colour, 7/16 of the height above and below
    // it in the button-face colour. They stay where they are when equalising moves the trace.
    for (int c = 0; c < (t.stereo ? 2 : 1); ++c) {
        for (Surface* s : Boxes(c)) {
            s->Line(0, t.centre, W, t.centre);
            s->Line(0, t.centre - 7 * H / 16, W, t.centre - 7 * H / 16, buttonFace_);
            s->Line(0, t.centre + 7 * H / 16, W, t.centre + 7 * H / 16, buttonFace_);
            if (!t.stereo) continue;
            QFont font = s->Font();
            font.setFamily("Arial");
            s->SetFont(font);
            s->CurrentX = 0;
            s->CurrentY = 0;
            s->Print(LoadText(c == 0 ? 419 : 420));
        }
    }
    return t;
}

void GraphWave::Equalise(GraphTrace& t, double mean) const
{
    t.mean = mean;
    if (t.sixteen) {
        if (equalise_)
            t.centre += std::floor(t.mean / t.divisor);
    } else {
        t.base = general::Round(t.centre + (t.stereo ? 896 : 1920));
        if (equalise_)
            t.base += std::floor((t.mean - 128) * t.slope);
    }
}

std::array<Surface*, 2> GraphWave::Boxes(int channel)
{
    return channel == 0 ? std::array<Surface*, 2>{&picture2_, &picture4_}
                        : std::array<Surface*, 2>{&picture5_, &picture7_};
}

GraphLayout GraphWave::Draw(WaveFile& file, std::int64_t start, std::int32_t frameCount,
                            SampleFormat format, const QString& channelMode)
{
    GraphLayout layout;
    if (frameCount < 0)
        frameCount = 0;
    GraphTrace t = Prepare(format, channelMode, layout);
    const int W = picture2_.ScaleWidth();
    const int channels = t.stereo ? 2 : 1;
    Equalise(t, equalise_ && frameCount > 0 ? MeanOf(file, start, frameCount, t) : t.mean);
    layout.mean = t.mean;

    unsigned char frame[16];
    int samples[2] = {0, 0};
    int prevX = 0;
    int prevY[2];
    prevY[0] = prevY[1] = int(general::Round(t.centre));

    auto readFrame = [&] {
        file.Read(frame, std::size_t(t.bytesPerFrame));
        t.Decode(frame, samples[0], samples[1]);
    };
    auto plot = [&](int x, long long row, bool first) {
        for (int c = 0; c < channels; ++c) {
            const int fromY = prevY[c];
            // A y that does not fit 16 bits leaves the previous y in place.
            if (const auto y = t.Y(samples[c]))
                prevY[c] = *y;
            for (Surface* s : Boxes(c)) {
                if (first)
                    s->PSet(x, prevY[c]);
                else
                    s->Line(prevX, fromY, x, prevY[c]);
            }
            table_.Set(row, c, t.Amplitude(samples[c], c));
        }
        prevX = x;
    };

    const std::size_t points = std::size_t(std::min<std::int64_t>(frameCount, std::int64_t(LastUnit) + 1)) + 1;
    for (int c = 0; c < channels; ++c)
        for (Surface* s : Boxes(c)) s->Reserve(points);

    file.Seek(start);
    readFrame();
    plot(0, 0, true);

    if (W >= frameCount) {
        // Every sample fits: frame i goes to x = i * W / frameCount.
        for (std::int32_t i = 1; i < frameCount; ++i) {
            readFrame();
            const double x = std::floor(double(i) * W / frameCount);
            if (x > 32767)
                continue;
            plot(int(x), i, false);
        }
    } else {
        // One sample per unit, read where the unit falls in the stretch.
        layout.ampTag = "1";
        const double perUnit = W > 0 ? double(frameCount) / W : 0.0;
        for (int x = 1; x <= LastUnit; ++x) {
            if (W <= 0)
                break;
            const std::int64_t index = std::int64_t(std::floor(x * perUnit));
            file.Seek(start + std::int64_t(t.bytesPerFrame) * index);
            readFrame();
            plot(x, x, false);
        }
    }

    layout.showAmplitudeBoxEnabled = layout.ampTag == "0";
    layout.hideReadout = !layout.showAmplitudeBoxEnabled;
    return layout;
}

std::optional<EnvelopeJob> GraphWave::EnvelopeOf(const QString& path, std::int64_t start,
                                                 std::int32_t frameCount, SampleFormat format,
                                                 const QString& channelMode) const
{
    const int W = picture2_.ScaleWidth();
    if (W <= 0 || frameCount <= W) return std::nullopt;   // drawn sample by sample: exact
    EnvelopeJob job;
    job.path = path;
    job.start = start;
    job.frames = frameCount;
    job.bitsPerSample = format.bits();
    job.floating = format.floating();
    job.channels = channelMode == QLatin1String("Stereo") ? 2 : 1;
    job.columns = LastUnit + 1;
    job.framesPerColumn = double(frameCount) / W;
    return job;
}

void GraphWave::DrawEnvelope(const WaveEnvelope& envelope, SampleFormat format,
                             const QString& channelMode, double mean)
{
    for (Surface* s : {&picture2_, &picture4_, &picture5_, &picture7_}) s->Cls();
    GraphLayout layout;
    GraphTrace t = Prepare(format, channelMode, layout);
    Equalise(t, mean);
    const int channels = std::min(envelope.channels, t.stereo ? 2 : 1);
    const int centre = int(general::Round(t.centre));
    for (int c = 0; c < channels; ++c) {
        // Each unit spans its lowest to its highest sample, and reaches back to where the unit
        // before it ended, so a wave crossing a unit boundary leaves no gap.
        int lastY = centre;
        for (int x = 0; x < envelope.columns; ++x) {
            const int low = t.Y(envelope.Low(x, c)).value_or(lastY);
            const int high = t.Y(envelope.High(x, c)).value_or(lastY);
            const int top = std::min({low, high, x > 0 ? lastY : high});
            const int bottom = std::max({low, high, x > 0 ? lastY : low});
            for (Surface* s : Boxes(c)) s->Line(x, top, x, bottom);
            lastY = high;
        }
    }
}
