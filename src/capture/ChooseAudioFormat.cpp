#include "capture/ChooseAudioFormat.h"

#include "capture/CaptureSettings.h"
#include "capture/device/AudioFormatChooser.h"
#include "capture/mVFW.h"
#include "platform/ui/Prompts.h"
#include "text/LoadText.h"

void ChooseAudioFormat(QWidget* owner, const std::function<CaptureSession*()>& session)
{
    const QVector<WaveFormatEx> choices = AudioFormatChooser::DeviceChoices();
    if (choices.isEmpty()) {
        // No recording device: there are no formats to choose from.
        Report(Outcome::Information("Windows ACM " + LoadText(402), capture::App));
        return;
    }
    const CapWnd capwnd = session();
    WaveFormatEx current{};
    capGetAudioFormat(capwnd, current);
    const std::optional<WaveFormatEx> chosen = AudioFormatChooser::Choose(owner, choices, current);
    if (!chosen) return;
    if (!capSetAudioFormat(capwnd, *chosen)) Report(Outcome::Information(LoadText(611), capture::App));
}
