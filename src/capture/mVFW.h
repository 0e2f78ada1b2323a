#pragma once
// The capture session's requests under the names the capture tools use. Each returns true when
// the session carried the request out and false otherwise, also when there is no session (null).
// The camera's dialogs open here, owned by the window that holds the session.
#include "capture/device/CaptureParameters.h"
#include "capture/device/CaptureSession.h"

#include <QString>
#include <cstdint>
#include <functional>

// The capture session the tools address; null when there is none.
using CapWnd = CaptureSession*;

// The name and version of driver `index` (0..8).
bool capGetDriverDescription(int index, QString& name, QString& version);

// The handlers of the status and error reports; each replaces the one set before, an empty one
// removes it.
using StatusHandler = std::function<void(int number, const QString& text)>;
using ErrorHandler = std::function<void(int number, const Outcome& outcome)>;
bool capSetCallbackOnError(CapWnd hwnd, ErrorHandler handler);
bool capSetCallbackOnStatus(CapWnd hwnd, StatusHandler handler);

bool capDriverConnect(CapWnd hwnd, int index);
bool capDriverDisconnect(CapWnd hwnd);
bool capDriverGetCaps(CapWnd hwnd, CaptureSession::DriverCaps& caps);
bool capFileSetCaptureFile(CapWnd hwnd, const QString& path);
// The capture file's name; empty when the request fails.
QString capFileGetCaptureFile(CapWnd hwnd);
bool capFileAlloc(CapWnd hwnd, std::int64_t bytes);
bool capFileSaveAs(CapWnd hwnd, const QString& path);
bool capFileSaveDIB(CapWnd hwnd, const QString& path);
bool capEditCopy(CapWnd hwnd);
bool capSetAudioFormat(CapWnd hwnd, const WaveFormatEx& format);
bool capGetAudioFormat(CapWnd hwnd, WaveFormatEx& format);
bool capDlgVideoFormat(CapWnd hwnd);
bool capDlgVideoSource(CapWnd hwnd);
bool capDlgVideoDisplay(CapWnd hwnd);
bool capDlgVideoCompression(CapWnd hwnd);
bool capPreview(CapWnd hwnd, bool on);
bool capOverlay(CapWnd hwnd, bool on);
bool capPreviewRate(CapWnd hwnd, int milliseconds);
bool capGetStatus(CapWnd hwnd, CaptureSession::Status& status);
bool capGrabFrame(CapWnd hwnd);
bool capCaptureSequence(CapWnd hwnd);
bool capCaptureSetSetup(CapWnd hwnd, const CaptureParameters& parameters);
bool capCaptureGetSetup(CapWnd hwnd, CaptureParameters& parameters);
bool capCaptureStop(CapWnd hwnd);
bool capCaptureSingleFrameOpen(CapWnd hwnd);
bool capCaptureSingleFrameClose(CapWnd hwnd);
bool capCaptureSingleFrame(CapWnd hwnd);
bool capPaletteOpen(CapWnd hwnd, const QString& path);
bool capPaletteSave(CapWnd hwnd, const QString& path);
bool capPaletteAuto(CapWnd hwnd, int frames, int colours);
bool capPaletteManual(CapWnd hwnd, bool grab, int colours);
