#pragma once
// What the capture dialogs ask of the capture main window that opens them: its capture session,
// whether a new clip may replace the one in the capture file, the time stamps of frames, the
// hidden picture box a stamped frame goes through, and its background colour. The capture main
// window is the one host; the dialogs know no more of it than this.
#include "capture/mVFW.h"

class QLabel;
class QWidget;

class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The window itself (the dialogs' owner).
    virtual QWidget* hostWindow() = 0;
    virtual CapWnd capwnd() const = 0;
    // Before a capture starts a new clip: true when it may go ahead (see frmMain).
    virtual bool MayReplaceClip() = 0;
    virtual bool stampsFrames() const = 0;
    virtual void StampFrame(const QString& text) = 0;
    virtual QLabel* Picture1() const = 0;
    virtual void setBackColour(double storedValue) = 0;
};
