// The whole spectrum path for the largest sound taken without a question (2566000 frames, stereo
// 16-bit): read the file, transform, magnitudes, and draw the spectrum window, beside one plain
// read of the same file and FFTW's transform of the same length, measured in the same run.
#include "platform/ui/PictureBox.h"
#include "platform/audio/GetWaveHeader.h"
#include "platform/audio/SaveWaveHeader.h"
#include "spectrum/FFTfrm.h"
#include "spectrum/SpectrumComputation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <fftw3.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::int64_t kFrames = 2566000;
constexpr std::int64_t kRate = 44100;
constexpr int kRuns = 5;

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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double plainRead(const QString& path)
{
    QElapsedTimer t;
    t.start();
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    std::vector<char> block(1 << 20);
    std::int64_t sum = 0;
    for (ssize_t n; (n = ::read(fd, block.data(), block.size())) > 0;) sum += block[size_t(n) - 1];
    ::close(fd);
    if (sum == 42) std::printf(" ");
    return t.nsecsElapsed() / 1e6;
}

double fftwTransform()
{
    const int n = 1 << 21;
    fftwf_complex* data = fftwf_alloc_complex(n);
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_ESTIMATE);
    for (int i = 0; i < n; ++i) {
        data[i][0] = float(12000 * std::sin(i * 0.0627));
        data[i][1] = float(8000 * std::sin(i * 0.178));
    }
    QElapsedTimer t;
    t.start();
    fftwf_execute(plan);
    const double ms = t.nsecsElapsed() / 1e6;
    fftwf_destroy_plan(plan);
    fftwf_free(data);
    return ms;
}

// Read, transform and magnitudes, then the window's drawing and one paint of its plot.
double wholePath(const QString& path, float& peakFrequency)
{
    QElapsedTimer t;
    t.start();
    WaveSamples samples = GetWaveHeader(path, [](const QString&, const QString&) { return Answer::Retry; });
    spectrum::SpectrumResult r = spectrum::SpectrumComputation::Compute(
        std::move(samples.first), std::move(samples.second), samples.frameCount, samples.sampleRate);
    FFTfrm* window = FFTfrm::Instance();
    window->Graphfft(r.xdata, r.ydata, r.xinit, r.xfinal, r.yinit, r.yfinal, r.ndata);
    const QImage shown = window->output()->grab().toImage();
    peakFrequency = window->peak().frequency;
    return shown.isNull() ? -1 : t.nsecsElapsed() / 1e6;
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
    std::vector<double> read, fftw, whole;
    float peak = 0;
    plainRead(path);   // into the page cache
    for (int i = 0; i < kRuns; ++i) {
        read.push_back(plainRead(path));
        fftw.push_back(fftwTransform());
        whole.push_back(wholePath(path, peak));
    }
    std::printf("spectrum path, 2566000 stereo frames (Nfft 2^21), median of %d:\n", kRuns);
    std::printf("  read + transform + magnitudes + draw: %8.1f ms (peak at %.2f Hz)\n", median(whole), peak);
    std::printf("  reference: one plain read of the file: %8.1f ms\n", median(read));
    std::printf("  reference: FFTW transform of 2^21:     %8.1f ms\n", median(fftw));
    return 0;
}
