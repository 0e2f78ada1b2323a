#pragma once
// The capture preferences: the capture main window's background colour, the index size of a
// sequence capture, and the stream video and sound are kept in step with.
#include "capture/CaptureSettings.h"

#include <QDialog>
#include <array>

class CaptureHost;
class QRadioButton;

class frmPrefs : public QDialog {
    Q_OBJECT
public:
    explicit frmPrefs(CaptureHost& owner);

    static constexpr int DesignWidth = 6600;
    static constexpr int DesignHeight = 3800;

private:
    void confirm();

    CaptureHost& main_;
    std::array<QRadioButton*, 4> optColor_{};
    std::array<QRadioButton*, 2> optMaxFrames_{};
    std::array<QRadioButton*, 2> optSynch_{};
    std::int64_t colour_ = 0;
    QString maxFrames_;
    QString streamMaster_;
};
