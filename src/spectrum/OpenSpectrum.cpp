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
    WaveSamples samples = GetWaveHeader(fileName, [](const QString& prompt, const QString& title) {
        return Prompts::Current().MsgBox(prompt, MsgButtons::AbortRetryIgnore, title);
    });
    if (!samples.ok) {
        if (!samples.declined) showError(samples.errorNumber);
        return;
    }
    // The spectrum in dB is taken of one channel: the mix of both for a stereo sound.
    std::vector<float> mix(samples.first.begin(), samples.first.begin() + samples.frameCount);
    if (samples.channelMode == QLatin1String("Stereo"))
        for (std::size_t i = 0; i < mix.size(); ++i) mix[i] = (mix[i] + samples.second[i]) / 2;
    const bool eightBit = samples.bitsPerSample == 8;
    const double rate = samples.sampleRate;
    spectrum::SpectrumResult result = spectrum::SpectrumComputation::Compute(
        std::move(samples.first), std::move(samples.second), samples.frameCount, samples.sampleRate);
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
