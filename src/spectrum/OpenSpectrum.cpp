#include "spectrum/OpenSpectrum.h"

#include "platform/ui/BusyPointer.h"
#include "platform/ui/Prompts.h"
#include "platform/audio/GetWaveHeader.h"
#include "spectrum/FFTfrm.h"
#include "spectrum/SpectrumComputation.h"
#include "text/LoadText.h"

#include <QLabel>

namespace {
// The failure box of the spectrum shows the error's number, as the reader reports it.
void showError(int number)
{
    Prompts::Current().MsgBox(QString::number(number), MsgButtons::OK, LoadText(402),
                              MsgIcon::Critical);
}
}

void ShowSpectrumOf(int, const QString& fileName, const QString& analyserCaption)
{
    BusyPointer busy;
    // The samples go straight into the arrays of the program's spectrum computation, which it
    // keeps from one spectrum to the next.
    spectrum::SpectrumComputation& computation = spectrum::SpectrumComputation::Shared();
    std::optional<SampleArrays> arrays;
    const WaveSamples samples = GetWaveHeader(
        fileName,
        [](const QString& prompt, const QString& title) {
            return Prompts::Current().MsgBox(prompt, MsgButtons::AbortRetryIgnore, title);
        },
        [&](std::int32_t frames) { return arrays = computation.Input(frames); });
    if (!samples.ok) {
        if (!samples.declined) showError(samples.errorNumber);
        return;
    }
    // The spectrum in dB is taken of one channel: the mix of both for a stereo sound.
    const std::span<const float> left = arrays->first.first(std::size_t(samples.frameCount));
    std::vector<float> mix(left.begin(), left.end());
    if (samples.channelMode == QLatin1String("Stereo"))
        for (std::size_t i = 0; i < mix.size(); ++i) mix[i] = (mix[i] + arrays->second[i]) / 2;
    const bool eightBit = samples.bitsPerSample == 8;
    const double rate = samples.sampleRate;
    const spectrum::SpectrumResult& result = computation.Transform(samples.frameCount, samples.sampleRate);
    if (!result.ok()) {
        showError(result.errorNumber);
        return;
    }
    FFTfrm* window = FFTfrm::Instance();
    window->Graphfft(result.xdata, result.ydata, result.xinit, result.xfinal, result.yinit,
                     result.yfinal, result.ndata);
    window->findChild<QLabel*>("graphtitle")->setText(LoadText(151) + " - " + analyserCaption);
    window->SetLevelSamples(std::move(mix), rate, eightBit ? 128 : 32768, eightBit ? 128 : 0);
}
