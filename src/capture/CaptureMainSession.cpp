#include "capture/CaptureMainSession.h"

#include "capture/CaptureSettings.h"
#include "capture/device/CaptureStatus.h"
#include "general/General.h"
#include "text/LoadText.h"

#include <QSysInfo>

CaptureMainSession::CaptureMainSession(Clock clock) : clock_(std::move(clock)) {}

CaptureMainSession::~CaptureMainSession() { Close(); }

void CaptureMainSession::enumerateDrivers()
{
    for (const capture::DriverItem& d : capture::DriverItems(&capGetDriverDescription)) {
        view_.driverCaption[size_t(d.index)] = d.caption;
        view_.driverEnabled[size_t(d.index)] = true;
    }
}

Outcome CaptureMainSession::Open(const std::function<CapWnd()>& make)
{
    enumerateDrivers();
    std::vector<capture::DriverItem> items;
    for (int i = 0; i < capture::MaxDrivers; ++i)
        if (view_.driverEnabled[size_t(i)]) items.push_back({i, {}});
    if (items.empty()) return Outcome::Failure(LoadText(484), capture::App);
    const int index = capture::ChosenDriver(capture::StoredDriverIndex(), items);
    view_.checkedDriver = index;

    if (!capwnd_) capwnd_ = make();
    // The capture settings hold from the start: the frame rate of single frames is theirs too.
    const capture::VidcapSettings s = capture::VidcapSettings::Load();
    const capture::CapturePreferences prefs = capture::CapturePreferences::Load();
    capCaptureSetSetup(capwnd_, capture::SequenceParameters(capture::LimitFps(s.fps), s.timeLimit, s.seconds,
                                                            s.captureAudio, prefs.maxframes,
                                                            prefs.streammaster));
    if (!connectDriver(index))
        return Outcome::Failure(LoadText(486), capture::App, {}, MsgIcon::Information);
    return Outcome::Success();
}

bool CaptureMainSession::connectDriver(int index)
{
    if (!capDriverConnect(capwnd_, index)) return false;
    CaptureSession::DriverCaps caps;
    if (capDriverGetCaps(capwnd_, caps)) showDriver(caps);
    capPreviewRate(capwnd_, 66);
    capPreview(capwnd_, true);
    view_.previewChecked = true;
    ++view_.pictureChanges;
    return true;
}

Outcome CaptureMainSession::ChooseDriver(int index)
{
    if (!connectDriver(index))
        return Outcome::Failure(LoadText(486), capture::App, {}, MsgIcon::Information);
    capture::SaveDriverIndex(index);
    return Outcome::Success();
}

void CaptureMainSession::DriverChanged(int index)
{
    CaptureSession::DriverCaps caps;
    if (capDriverGetCaps(capwnd_, caps)) showDriver(caps);
    capture::SaveDriverIndex(index);
    ++view_.pictureChanges;
}

void CaptureMainSession::showDriver(const CaptureSession::DriverCaps& caps)
{
    view_.checkedDriver = caps.deviceIndex;
    view_.sourceEnabled = caps.hasDlgVideoSource;
    view_.formatEnabled = caps.hasDlgVideoFormat;
    view_.displayEnabled = caps.hasDlgVideoDisplay;
    view_.overlayEnabled = caps.hasOverlay;
}

void CaptureMainSession::SetPreview(bool on)
{
    capPreview(capwnd_, on);
    view_.previewChecked = on;
}

void CaptureMainSession::Grab(bool stamps)
{
    capGrabFrame(capwnd_);
    // The live picture stops on the grabbed frame.
    view_.previewChecked = capwnd_ && capwnd_->previewing();
    if (!stamps || !capwnd_) return;
    view_.stampTag = general::DateText(clock_());
    capwnd_->printText(view_.stampTag);
}

void CaptureMainSession::StampFrame(const QString& text)
{
    if (!capwnd_) return;
    capwnd_->printText(text);
    capwnd_->setFrameStamp(text);
}

Outcome CaptureMainSession::Status(int number, const QString& text)
{
    switch (number) {
    case capstatus::Clear: break;
    case capstatus::End: view_.title = capture::App; break;
    case capstatus::SummaryWithAudio:
    case capstatus::SummaryVideoOnly: return Outcome::Information(text, capture::App);
    default: view_.title = text; break;
    }
    return Outcome::Success();
}

void CaptureMainSession::Close()
{
    if (!capwnd_) return;
    capSetCallbackOnStatus(capwnd_, nullptr);
    capSetCallbackOnError(capwnd_, nullptr);
    capDriverDisconnect(capwnd_);
    delete capwnd_;
    capwnd_ = nullptr;
}

QString CaptureMainSession::SystemInfoText()
{
    return "OS Information:\n" + QSysInfo::prettyProductName() + " (" + QSysInfo::kernelType() + " " +
           QSysInfo::kernelVersion() + ", " + QSysInfo::currentCpuArchitecture() + ")\n\n" + LoadText(489);
}
