#pragma once
// The capture window's requests under the names the capture tools use: one wrapper for each
// request of the platform's capture window, with that request's message number beside it. Each
// returns true when the window carried the request out and false otherwise, also when there is
// no window (a null handle).
#include "capture/device/CaptureParameters.h"
#include "capture/device/CaptureWindow.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The capture window handle: the window itself; null (0) when there is none.
using CapWnd = CaptureWindow*;

// The window style of a child window that is visible (WS_CHILD | WS_VISIBLE).
inline constexpr std::uint32_t CaptureWindowStyle = 0x50000000;

// Creates a capture window as a child of parent at x, y with the given pixel size; null when it
// cannot be made. The name becomes its accessible name.
CapWnd capCreateCaptureWindow(const QString& name, std::uint32_t style, int x, int y, int width,
                              int height, QWidget* parent, int id);
// Destroys a capture window made by capCreateCaptureWindow.
bool capDestroyCaptureWindow(CapWnd hwnd);
// The name and version of driver `index` (0..8).
bool capGetDriverDescription(int index, QString& name, QString& version);

bool capSetCallbackOnError(CapWnd hwnd, CaptureWindow::Callback proc);    // 1026
bool capSetCallbackOnStatus(CapWnd hwnd, CaptureWindow::Callback proc);   // 1027
bool capDriverConnect(CapWnd hwnd, int index);                            // 1034
bool capDriverDisconnect(CapWnd hwnd);                                    // 1035
bool capDriverGetCaps(CapWnd hwnd, CaptureWindow::DriverCaps& caps);      // 1038
bool capFileSetCaptureFile(CapWnd hwnd, const QString& path);             // 1044
// The capture file's name; empty when the request fails.
QString capFileGetCaptureFile(CapWnd hwnd);                               // 1045
bool capFileAlloc(CapWnd hwnd, std::int64_t bytes);                       // 1046
bool capFileSaveAs(CapWnd hwnd, const QString& path);                     // 1047
bool capFileSaveDIB(CapWnd hwnd, const QString& path);                    // 1049
bool capEditCopy(CapWnd hwnd);                                            // 1054
bool capSetAudioFormat(CapWnd hwnd, const QByteArray& format);            // 1059
// Fills format with the audio format record; the record's size, 0 on failure.
int capGetAudioFormat(CapWnd hwnd, QByteArray& format);                   // 1060
int capGetAudioFormatSize(CapWnd hwnd);                                   // 1060
bool capDlgVideoFormat(CapWnd hwnd);                                      // 1065
bool capDlgVideoSource(CapWnd hwnd);                                      // 1066
bool capDlgVideoDisplay(CapWnd hwnd);                                     // 1067
bool capDlgVideoCompression(CapWnd hwnd);                                 // 1070
bool capPreview(CapWnd hwnd, bool on);                                    // 1074
bool capOverlay(CapWnd hwnd, bool on);                                    // 1075
bool capPreviewRate(CapWnd hwnd, int milliseconds);                       // 1076
bool capGetStatus(CapWnd hwnd, CaptureWindow::Status& status);            // 1078
bool capGrabFrame(CapWnd hwnd);                                           // 1084
bool capCaptureSequence(CapWnd hwnd);                                     // 1086
bool capCaptureSetSetup(CapWnd hwnd, const CaptureParameters& parameters);  // 1088
bool capCaptureGetSetup(CapWnd hwnd, CaptureParameters& parameters);      // 1089
bool capCaptureStop(CapWnd hwnd);                                         // 1092
bool capCaptureSingleFrameOpen(CapWnd hwnd);                              // 1094
bool capCaptureSingleFrameClose(CapWnd hwnd);                             // 1095
bool capCaptureSingleFrame(CapWnd hwnd);                                  // 1096
bool capPaletteOpen(CapWnd hwnd, const QString& path);                    // 1104
bool capPaletteSave(CapWnd hwnd, const QString& path);                    // 1105
bool capPaletteAuto(CapWnd hwnd, int frames, int colours);                // 1107
bool capPaletteManual(CapWnd hwnd, bool grab, int colours);               // 1108
