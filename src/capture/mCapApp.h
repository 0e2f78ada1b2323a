#pragma once
// The capture application's procedures around the capture window: the driver menu, connecting a
// driver, sizing the capture main window to the picture, and the status and error reports.
#include "capture/mVFW.h"

#include <QString>

class frmMain;

// Fills the driver menu of the capture main window (items 1..8 are made for the drivers that
// answer; item 0 exists always) and returns the number of drivers found.
int EnumerateDrivers(frmMain& window);
// Connects driver `index` to the capture window and shows it in the menus of the capture main
// window holding it: the driver checked, the dialog menus as the driver has them, preview on at
// 66 ms; then sizes the window to the picture. False (and nothing else done) when the driver
// does not connect.
bool ConnectDriver(CapWnd capwnd, int index);
// Sizes the capture main window around the capture window's picture, and the capture window to
// the picture (smaller when the frame is too small for it); then the window's resize handling
// runs (also when the status cannot be read).
void ResizeCaptureWindow(CapWnd capwnd);
// The status reports: 0 nothing; 301 the title goes back to the application title; 511 and 512
// the text in an information box; any other number, the text as the title. Returns 1.
int StatusCallback(CapWnd hwnd, int status, const char* text);
// The error reports: the text in a message box. Returns 1.
int ErrorCallback(CapWnd hwnd, int number, const char* text);
// The text at pointer, at most maxLength bytes (UTF-8), cut at its first NUL; empty for null.
QString TextFromPointer(const char* pointer, int maxLength);
