#pragma once
// Time-interval capture ("Time interval grabbing"): one frame of the camera at a fixed interval
// into the capture file of the capture main window, starting at once for a duration or at a
// programmed date-time until a programmed completion. A half-second timer drives the run; which
// tick takes a frame is decided by capture::TimeLapseSchedule. Each frame is on disk when it is
// taken (the capture file's writer flushes it), so a run cut short keeps its frames.
#include "capture/TimeLapseRun.h"
#include "capture/TimeLapseSchedule.h"
#include "capture/CaptureHost.h"

#include <QDialog>
#include <QPointer>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class frmTICapFrame : public QDialog {
    Q_OBJECT
public:
    // Works on the capture session of `capture`, the capture main window that owns it.
    explicit frmTICapFrame(CaptureHost& capture);
    // Closing the window completes the frames in the capture file.
    ~frmTICapFrame() override;

    static constexpr int DesignWidth = 8400;
    static constexpr int DesignHeight = 5940;

private:
    void build();
    void startCapture();
    void tick();
    void takeFrame(const QDateTime& now);
    void chooseImmediate();
    void cancel();
    void closeWindow();
    void completionEdited();
    static capture::HmsTexts Texts(const std::array<QLineEdit*, 3>& boxes);

    CaptureHost& capture_;
    // The capture session; null once it is gone.
    QPointer<CaptureSession> capwnd_;
    capture::TimeLapseSchedule schedule_;
    QTimer* Timer1_;
    std::array<QLineEdit*, 3> interval_{};   // Texttihr, Texttimin, Texttisec
    std::array<QLineEdit*, 3> duration_{};   // Texthr, Textmin, Textsec
    QLineEdit* Textstarting_ = nullptr;
    QLineEdit* Textcompletion_ = nullptr;
    QLineEdit* Textcurrenttime_ = nullptr;
    std::array<QRadioButton*, 2> optiontime_{};   // programmed, immediate
    QLabel* lblCapFile_ = nullptr;
    QLabel* lblFrames_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    // A frame or its failure message is under way: the ticks that come meanwhile only show the
    // time (taking a frame and a message box both let the timer run).
    bool busy_ = false;
};
