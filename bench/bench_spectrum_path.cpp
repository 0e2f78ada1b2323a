// The whole spectrum path for the largest sound taken without a question (2566000 frames, stereo
// 16-bit): read the file, transform, magnitudes, and draw the spectrum window with one paint of
// its plot, beside one FFTW transform of the same length (2^21, planned once with FFTW_MEASURE,
// the planning not timed), the two alternating run by run. Goal: the path within 1.5 times the
// transform. The path's parts are timed too, to show where its time goes.
#include "BenchRun.h"

#include "platform/audio/GetWaveHeader.h"
#include "platform/audio/SaveWaveHeader.h"
#include "platform/ui/PictureBox.h"
#include "spectrum/FFTfrm.h"
#include "spectrum/SpectrumComputation.h"
#include "spectrum/SpectrumPlot.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <fftw3.h>
#include <vector>

namespace {
constexpr std::int64_t kFrames = 2566000;
constexpr std::int64_t kRate = 44100;
constexpr int kRuns = 9;
constexpr double kGoal = 1.5;

QString makeFile()
{
    const QString path = QDir::tempPath() + "/kivra-bench-2566000-44100-2-16.wav";
    const std::int64_t bytes = kFrames * 4;
    if (QFile(path).size() == 44 + bytes) return path;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    // The header KIVRA itself writes for exported sounds.
    const QByteArray h = WaveHeaderBytes(2, kRate, 16, kFrames).value_or(QByteArray());
    f.write(h);
    std::vector<qint16> data(size_t(kFrames) * 2);
    for (std::int64_t i = 0; i < kFrames; ++i) {
        data[size_t(2 * i)] = qint16(12000 * std::sin(2 * M_PI * 440.0 * double(i) / kRate));
        data[size_t(2 * i + 1)] = qint16(8000 * std::sin(2 * M_PI * 1250.0 * double(i) / kRate));
    }
    f.write(reinterpret_cast<const char*>(data.data()), qint64(data.size() * 2));
    return path;
}

// The spectrum of the last run, kept by the computation.
const spectrum::SpectrumResult* g_last = nullptr;

// The parts of one run of the path.
struct Parts {
    bench::Timings read, transform, draw, paint;
};

// Read, transform and magnitudes, then the window's drawing and one paint of its plot, as the
// program does them (the computation and the window kept from one run to the next).
double wholePath(const QString& path, Parts& parts, float& peakFrequency)
{
    const auto t0 = bench::Clock::now();
    spectrum::SpectrumComputation& computation = spectrum::SpectrumComputation::Shared();
    const WaveSamples samples =
        GetWaveHeader(path, [](const QString&, const QString&) { return Answer::Retry; },
                      [&](std::int32_t frames) { return computation.Input(frames); });
    const auto t1 = bench::Clock::now();
    const spectrum::SpectrumResult& r = computation.Transform(samples.frameCount, samples.sampleRate);
    g_last = &r;
    const auto t2 = bench::Clock::now();
    FFTfrm* window = FFTfrm::Instance();
    window->Graphfft(r.xdata, r.ydata, r.xinit, r.xfinal, r.yinit, r.yfinal, r.ndata);
    const auto t3 = bench::Clock::now();
    const QImage shown = window->output()->grab().toImage();
    const auto t4 = bench::Clock::now();
    peakFrequency = window->peak().frequency;
    parts.read.ms.push_back(bench::Milliseconds(t0, t1));
    parts.transform.ms.push_back(bench::Milliseconds(t1, t2));
    parts.draw.ms.push_back(bench::Milliseconds(t2, t3));
    parts.paint.ms.push_back(bench::Milliseconds(t3, t4));
    return shown.isNull() || !samples.ok ? -1 : bench::Milliseconds(t0, t4);
}
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path = makeFile();
    if (path.isEmpty()) {
        std::printf("cannot write the test file\n");
        return 1;
    }
    bench::Begin("spectrum path, 2566000 stereo frames (Nfft 2^21): read + transform + magnitudes + draw + paint");

    // The reference: FFTW's complex transform of 2^21 in place, planned once (not timed).
    const int n = 1 << 21;
    fftwf_complex* data = fftwf_alloc_complex(std::size_t(n));
    std::printf("  planning FFTW (FFTW_MEASURE, 2^21)...\n");
    std::fflush(stdout);
    fftwf_plan plan = nullptr;
    const double planMs = bench::TimeMs([&] { plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE); });
    std::printf("  planned in %.1f s\n", planMs / 1000);
    const bench::Step fftw{[&] {
                               for (int i = 0; i < n; ++i) {
                                   data[i][0] = float(12000 * std::sin(i * 0.0627));
                                   data[i][1] = float(8000 * std::sin(i * 0.178));
                               }
                           },
                           [&] { fftwf_execute(plan); },
                           {}};

    Parts parts;
    float peak = 0;
    bool failed = false;
    const bench::Step path_{{}, {}, [&] {
                                const double ms = wholePath(path, parts, peak);
                                if (ms < 0) failed = true;
                                return ms;
                            }};
    // Once each, untimed: the file in the page cache, the window made, the arrays taken.
    fftw.once();
    Parts warm;
    wholePath(path, warm, peak);

    const bench::Comparison c = bench::Alternate(kRuns, path_, fftw);
    std::printf("  %d runs each, alternating; peak at %.2f Hz\n", kRuns, peak);
    const bool met = bench::PrintComparison("read + transform + magnitudes + draw + paint", c,
                                            "FFTW transform of 2^21 (FFTW_MEASURE)", kGoal);
    std::printf("    of which: read %.2f, transform + magnitudes %.2f, draw %.2f, paint %.2f ms (medians)\n",
                parts.read.median(), parts.transform.median(), parts.draw.median(), parts.paint.median());
    // The picture: the plot as the window drew it beside a line through every bin drawn on a
    // surface of the same size, pixel by pixel.
    {
        FFTfrm* window = FFTfrm::Instance();
        const Surface& drawn = window->output()->surface();
        const QSize size = window->output()->size();
        Surface everyBin(drawn.ScaleWidth(), drawn.ScaleHeight());
        everyBin.SetBackColor(drawn.BackColor());
        const double H = drawn.ScaleHeight();
        const auto& x = window->horizontal();
        const auto& y = window->vertical();
        const std::vector<float>& fx = g_last->xdata;
        const std::vector<float>& fy = g_last->ydata;
        everyBin.Line(0, H, drawn.ScaleWidth(), H, window->palette().color(QPalette::Button));
        everyBin.PSet(0, double(spectrum::SpectrumPlot::PlotY(y, fy[0], H)), QColor(0, 0, 0xC0));
        for (std::size_t i = 1; i < std::size_t(g_last->ndata); ++i)
            if (fx[i] >= x.low && fx[i] <= x.high)
                everyBin.LineTo(double(spectrum::SpectrumPlot::PlotX(x, fx[i])),
                                double(spectrum::SpectrumPlot::PlotY(y, fy[i], H)), QColor(0, 0, 0xC0));
        const QImage a = drawn.ToImage(size), b = everyBin.ToImage(size);
        int differing = 0;
        for (int py = 0; py < size.height(); ++py)
            for (int px = 0; px < size.width(); ++px) differing += a.pixel(px, py) != b.pixel(px, py);
        std::printf("  picture (%dx%d): %zu lines drawn instead of %zu; %d pixels differ from a line through every bin\n",
                    size.width(), size.height(), drawn.PrimitiveCount(), everyBin.PrimitiveCount(), differing);
        if (!qEnvironmentVariableIsEmpty("KIVRA_BENCH_PICTURES")) {
            a.save(qEnvironmentVariable("KIVRA_BENCH_PICTURES") + "/spectrum-per-column.png");
            b.save(qEnvironmentVariable("KIVRA_BENCH_PICTURES") + "/spectrum-every-bin.png");
        }
    }
    if (failed) std::printf("  a run failed: the figures are not valid\n");
    std::printf("  goal (the path at most %.1f x one FFTW transform): %s\n", kGoal, met && !failed ? "met" : "NOT MET");
    bench::End();
    fftwf_destroy_plan(plan);
    fftwf_free(data);
    return 0;
}
