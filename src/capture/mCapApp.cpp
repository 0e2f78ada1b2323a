#include "capture/mCapApp.h"

#include "capture/CaptureSettings.h"
#include "capture/DriverList.h"
#include "capture/frmMain.h"
#include "capture/device/CaptureStatus.h"
#include "platform/ui/Prompts.h"

#include <QAction>
#include <cstring>

namespace {
// The capture main window that holds a capture window.
frmMain* OwnerOf(CapWnd capwnd)
{
    for (QWidget* w = capwnd; w; w = w->parentWidget())
        if (auto* main = qobject_cast<frmMain*>(w)) return main;
    return nullptr;
}
}

int EnumerateDrivers(frmMain& window)
{
    const std::vector<capture::DriverItem> items = capture::DriverItems(&capGetDriverDescription);
    for (const capture::DriverItem& d : items) {
        QAction* a = window.addDriverItem(d.index);
        a->setText(d.caption);
        a->setEnabled(true);
    }
    return int(items.size());
}

bool ConnectDriver(CapWnd capwnd, int index)
{
    if (!capDriverConnect(capwnd, index)) return false;
    frmMain* window = OwnerOf(capwnd);
    CaptureWindow::DriverCaps caps;
    if (window && capDriverGetCaps(capwnd, caps)) window->showDriver(index, caps);
    capPreviewRate(capwnd, 66);
    capPreview(capwnd, true);
    if (window) window->setPreviewChecked(true);
    ResizeCaptureWindow(capwnd);
    return true;
}

void ResizeCaptureWindow(CapWnd capwnd)
{
    frmMain* window = OwnerOf(capwnd);
    if (!window) return;
    CaptureWindow::Status status;
    if (capGetStatus(capwnd, status) && status.imageWidth > 0 && status.imageHeight > 0) {
        window->resizeToPicture(QSize(status.imageWidth, status.imageHeight));
    } else {
        window->layoutClient();
    }
}

QString TextFromPointer(const char* pointer, int maxLength)
{
    if (!pointer || maxLength <= 0) return QString();
    const void* nul = std::memchr(pointer, 0, size_t(maxLength));
    const qsizetype length = nul ? static_cast<const char*>(nul) - pointer : maxLength;
    return QString::fromUtf8(pointer, length);
}

int StatusCallback(CapWnd hwnd, int status, const char* text)
{
    frmMain* window = OwnerOf(hwnd);
    const QString message = TextFromPointer(text, 256);
    switch (status) {
    case capstatus::Clear: break;
    case capstatus::End:
        if (window) window->setWindowTitle(capture::App);
        break;
    case capstatus::SummaryWithAudio:
    case capstatus::SummaryVideoOnly:
        Prompts::Current().MsgBox(message, MsgButtons::OK, capture::App, MsgIcon::Information);
        break;
    default:
        if (window) window->setWindowTitle(message);
        break;
    }
    return 1;
}

int ErrorCallback(CapWnd, int, const char* text)
{
    Prompts::Current().MsgBox(TextFromPointer(text, 4096), MsgButtons::OK, capture::App,
                              MsgIcon::Exclamation);
    return 1;
}
