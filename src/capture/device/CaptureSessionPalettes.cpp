// The capture session's palettes for 8-bit capture: loaded, saved, built from frames the
// camera sends (automatic) or from frames the user picks (manual).
#include "capture/device/CaptureSession.h"

#include "platform/system/WaitUntil.h"

#include <QPointer>

bool CaptureSession::paletteOpen(const QString& path)
{
    const std::optional<QVector<QRgb>> palette = ReadPaletteFile(path);
    if (!palette) return false;
    palette_ = *palette;
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    return true;
}

bool CaptureSession::paletteSave(const QString& path)
{
    return !palette_.isEmpty() && WritePaletteFile(path, palette_);
}

bool CaptureSession::paletteAuto(int frames, int colours)
{
    if (!driver_ || capturing() || frames < 1) return false;
    autoHistogram_.clear();
    autoFramesLeft_ = frames;
    const double fps = std::max(1.0f, driver_->format().maxFps);
    WaitOptions wait;
    wait.timeoutMs = int(frames * 2000 / fps) + 5000;
    wait.guard = this;
    QPointer<CaptureSession> self(this);
    const bool sampled = WaitUntil([this] { return autoFramesLeft_ == 0; }, wait);
    if (!self) return false;
    autoFramesLeft_ = 0;
    if (!sampled || autoHistogram_.isEmpty()) return false;
    palette_ = autoHistogram_.medianCut(colours);
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    return true;
}

bool CaptureSession::paletteManual(bool grab, int colours)
{
    if (grab) {
        if (!driver_ || !waitForNewFrame()) return false;
        manualHistogram_.add(latest());
        return true;
    }
    if (manualHistogram_.isEmpty()) return false;
    palette_ = manualHistogram_.medianCut(colours);
    paletteMap_ = std::make_unique<PaletteMap>(palette_);
    manualHistogram_.clear();
    return true;
}
