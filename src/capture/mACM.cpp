#include "capture/ChooseAudioFormat.h"

#include "capture/CaptureSettings.h"
#include "capture/frmMain.h"
#include "capture/device/AudioFormatChooser.h"
#include "platform/ui/Prompts.h"
#include "text/LoadText.h"

void ChooseAudioFormat(QWidget* owner)
{
    const QVector<WaveFormatEx> choices = AudioFormatChooser::DeviceChoices();
    if (choices.isEmpty()) {
        // No recording device: there are no formats to choose from.
        Prompts::Current().MsgBox("Windows ACM " + LoadText(402), MsgButtons::OK, capture::App,
                                  MsgIcon::Information);
        return;
    }
    frmMain* main = frmMain::Load(false);
    const CapWnd capwnd = main ? main->capwnd() : nullptr;
    QByteArray record;
    capGetAudioFormat(capwnd, record);
    const WaveFormatEx current = WaveFormatEx::FromBytes(record).value_or(WaveFormatEx{});
    const std::optional<WaveFormatEx> chosen = AudioFormatChooser::Choose(owner, choices, current);
    if (!chosen) return;
    if (!capSetAudioFormat(capwnd, chosen->toBytes()))
        Prompts::Current().MsgBox(LoadText(611), MsgButtons::OK, capture::App, MsgIcon::Information);
}
