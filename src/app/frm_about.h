#pragma once
// The about window: the program's title and version, a short report on the computer, and a
// button that starts the system's information program. One at a time, shown modeless and centred
// on the screen.
#include <QDialog>

struct SystemInfo;
class QLabel;
class QPushButton;

class frm_about : public QDialog {
    Q_OBJECT
public:
    explicit frm_about(QWidget* parent = nullptr);

    // The window's load: captions, place, version and report. False (after the message) when
    // the system's version cannot be read: the window then closes without being shown.
    bool Load(const SystemInfo& info);

    // The design size of the window's inner area, in twips.
    static constexpr int DesignWidth = 7800;
    static constexpr int DesignHeight = 3900;

private:
    QLabel* lblTitle = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Lbl_info = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* Command1 = nullptr;
};
