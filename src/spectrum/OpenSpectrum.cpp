#include "spectrum/OpenSpectrum.h"

#include "platform/Prompts.h"
#include "sound/GetWaveHeader.h"
#include "spectrum/FFTfrm.h"
#include "spectrum/SpectrumComputation.h"
#include "text/LoadText.h"

#include <QApplication>
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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    WaveSamples samples = GetWaveHeader(fileName, [](const QString& prompt, const QString& title) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const Answer a = Prompts::Current().MsgBox(prompt, MsgButtons::AbortRetryIgnore, title);
        QApplication::restoreOverrideCursor();
        return a;
    });
    if (!samples.ok) {
        QApplication::restoreOverrideCursor();
        if (!samples.declined) showError(samples.errorNumber);
        return;
    }
    spectrum::SpectrumResult result = spectrum::SpectrumComputation::Compute(
        std::move(samples.first), std::move(samples.second), samples.frameCount, samples.sampleRate);
    if (!result.ok()) {
        QApplication::restoreOverrideCursor();
        showError(result.errorNumber);
        return;
    }
    FFTfrm* window = FFTfrm::Instance();
    window->Graphfft(result.xdata, result.ydata, result.xinit, result.xfinal, result.yinit,
                     result.yfinal, result.ndata);
    window->findChild<QLabel*>("graphtitle")->setText(LoadText(151) + " - " + analyserCaption);
    QApplication::restoreOverrideCursor();
}
