#pragma once
// What the tool windows need of the main frame: the area that hosts them and the shared options
// kept in the frame's menus. The frame implements it; windows reach it through Instance().
#include <QString>

class CommonDialog;
class QMdiArea;
class QWidget;
class QMdiSubWindow;

class FrameServices {
public:
    virtual ~FrameServices() = default;

    // Adds a tool window to the frame as a child window and returns its sub-window.
    virtual QMdiSubWindow* addChild(QWidget* window) = 0;
    virtual QWidget* frameWindow() = 0;

    virtual bool equaliseAmplitude() const = 0;
    virtual void setEqualiseAmplitude(bool on) = 0;
    virtual bool showAmplitude() const = 0;
    virtual void setShowAmplitude(bool on) = 0;
    virtual QString jpegQuality() const = 0;
    // The frame's open dialog, which also remembers the last file opened through the frame.
    virtual CommonDialog& openDialog() = 0;
    // The last file opened through the frame or an analyser's Open, which the next start opens
    // again; noteOpened records one.
    virtual QString lastFile() const = 0;
    virtual void noteOpened(const QString& path) = 0;
    // Ends the program at once, without the frame's closing steps.
    virtual void exitProgram() = 0;

    // The frame of the running program; null when there is none (logic tests).
    static FrameServices* Instance();
    static void SetInstance(FrameServices* frame);
};
