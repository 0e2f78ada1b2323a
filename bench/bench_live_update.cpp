// The live sound tool's processing per update, beside one FFTW transform of the same size in
// the same run: finding the scope's trigger in a 10 ms sweep's search stretch, a 4096-point
// Hann-windowed transform to sine amplitudes, the interpolated strongest peak, and the
// autocorrelation fundamental of 4096 samples (two 8192-point transforms). The runs alternate
// between the two so that both see the same machine load. Goal: the update's median under 1 ms.
#include "BenchRun.h"
#include "live/Fundamental.h"
#include "live/LiveSpectrum.h"
#include "live/ScopeTrigger.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

int main()
{
    constexpr int n = 4096;
    constexpr double rate = 44100;
    constexpr int kRuns = 301;
    bench::Begin("Live sound update on 4096 samples at 44100 Hz beside one FFTW transform, alternating");

    // A sung note: 220 Hz with harmonics, a little noise, 3 s of it to take updates from.
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> noise(-0.01, 0.01);
    std::vector<float> sound(std::size_t(3 * rate));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        double v = noise(gen);
        for (int k = 1; k <= 8; ++k) v += 0.3 / k * std::sin(2 * std::numbers::pi * 220 * k * double(i) / rate);
        sound[i] = float(v);
    }

    auto* data = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * n));
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_ESTIMATE);
    const live::TriggerSettings trigger;
    const int sweep = int(rate / 100);                 // 10 ms: 1 ms per division
    const int search = std::max(sweep, int(rate / 20));
    int run = 0;
    const float* block = sound.data();
    double sink = 0;

    // Each round takes the next stretch of the sound; FFTW transforms the same stretch.
    const bench::Step update{[&] { block = sound.data() + std::size_t(run++ * 331) % (sound.size() - 2 * n); },
                             [&] {
                                 const auto t = live::FindTrigger(block, n, n - sweep - search, n - sweep, trigger);
                                 const live::LiveSpectrum s = live::ComputeSpectrum(block, n, rate, live::WindowShape::Hann);
                                 const live::SpectralPeak p = live::StrongestPeak(s, live::WindowShape::Hann, 20, rate / 2);
                                 const live::FundamentalReading f = live::FindFundamental(block, n, rate);
                                 sink += (t ? *t : 0) + p.frequency + f.frequency;
                             },
                             {}};
    const bench::Step fftw{[&] {
                               for (int i = 0; i < n; ++i) {
                                   data[i][0] = block[i];
                                   data[i][1] = 0;
                               }
                           },
                           [&] {
                               fftwf_execute(plan);
                               sink += data[1][0];
                           },
                           {}};
    const bench::Comparison c = bench::Alternate(kRuns, update, fftw);
    fftwf_destroy_plan(plan);
    fftwf_free(data);

    const double worst = *std::max_element(c.candidate.ms.begin(), c.candidate.ms.end());
    std::printf("  %d rounds\n", kRuns);
    std::printf("  %-56s %8.4f ms (best %.4f, worst %.4f)\n", "trigger + 4096-point Hann FFT + peak + autocorrelation",
                c.candidate.median(), c.candidate.best(), worst);
    std::printf("  %-56s %8.4f ms (best %.4f)\n", "one FFTW fftwf 4096-point complex transform, estimate",
                c.reference.median(), c.reference.best());
    std::printf("  ratio update / one FFTW transform: of medians %.1f, of bests %.1f\n", c.ratio(), c.bestRatio());
    std::printf("  goal: the update's median under 1 ms: %s\n", c.candidate.median() < 1 ? "met" : "NOT MET");
    std::printf("  (checksum %.3f)\n", sink);
    bench::End();
    return 0;
}
