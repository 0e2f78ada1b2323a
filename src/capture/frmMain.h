#pragma once
// The capture main window (" Video  Graber"): it holds the capture session and its preview for
// its whole life and offers every capture command in its menus: the driver, preview, the camera's
// dialogs, the capture file, single frames, frame series, video sequences, palettes and the
// capture settings. The other capture windows work on its session through CaptureHost. One
// window in the program, a child of the frame. Its behaviour is CaptureMainSession's; the window
// shows that session's view and carries out the file dialogs and messages.
#include "capture/CaptureHost.h"
#include "capture/CaptureMainSession.h"

#include <QMainWindow>
#include <memory>

class CapturePreview;
class DriverMenu;
class QAction;
class QMenu;

class frmMain : public QMainWindow, public CaptureHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The program's capture main window, made (as a child of the frame) and opened on first use,
    // and shown when `show` is true. Opened without being shown, its opening steps report
    // nothing; when it is shown later without a capture session, they run again and do.
    static frmMain* Load(bool show);
    // The window when it is open, else null.
    static frmMain* Instance();

    // The capture session; null when none was made.
    CapWnd capwnd() const override { return main_.capwnd(); }
    // The widget showing the session's picture; null when there is no session.
    CapturePreview* preview() const { return preview_; }
    QWidget* hostWindow() override { return this; }

    // The window's frame, in pixels: the side and bottom border, the title bar, the menu bar.
    int XBorder() const;
    int YBorder() const;
    int CaptionHeight() const;
    int MenuHeight() const;
    // The window that moves and sizes: the frame's sub-window holding this one, or this one.
    QWidget* outerWindow();
    // Sizes the window around a picture of this size, and the preview to the picture; a picture
    // too large for the frame's area is shown smaller. The window stays on the area.
    void resizeToPicture(QSize picture);
    // Sizes the window around the session's picture (only lays it out when there is none).
    void resizeToCapture();
    // The resize handling: a client area below 320 × 240 springs back; the preview is centred
    // in it.
    void layoutClient();

    // The driver menu: item i (0..8); item 0 always exists, others only for drivers that answer.
    QAction* driverItem(int index) const;

    // Time stamps: whether grabbed and captured frames carry one, and printing one on the
    // picture shown and on the next frames single-frame capture writes.
    QAction* addTimeStampItem() const { return mnuaddtimestamp_; }
    bool stampsFrames() const override;
    void StampFrame(const QString& text) override { main_.StampFrame(text); }
    // The picture box a saved frame is stamped on (hidden).
    QLabel* Picture1() const override { return Picture1_; }

    // Before a capture starts a new clip in the capture file: when the file holds a clip of an
    // earlier capture, asks whether to keep it (saved under another name first, through Save
    // Captured Video As), to replace it, or not to capture. True when the capture may go ahead;
    // false after Cancel, and when keeping the clip was cancelled or failed.
    bool MayReplaceClip() override;

    // The window's background colour, as the store keeps it (blue-green-red, or a system colour).
    void setBackColour(double storedValue) override;

    // A status report as the window shows it: the title, or a message.
    void statusReported(int number, const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void placeWindow();
    // Where the window can be seen: the part of the frame's area on the screen (pixels).
    QRect visibleArea();
    // The opening steps after the placement: drivers, the capture session, the connection.
    void openCapture(bool messages);
    CapWnd makeSession();
    // Shows what the session's view holds.
    void showView();
    QAction* item(QMenu* menu, const char* name, int text);
    QMenu* submenu(QMenu* parent, const char* name, int text);

    // The menu commands (frmMainCommands.cpp).
    void loadPalette();
    void savePalette();
    // True when the capture file was copied.
    bool saveFileAs();
    void saveFrame();
    void grabFrame();
    void captureFrames();
    void timeIntervalCapture();
    void captureVideo();
    void capturePalette();
    void setCaptureFile();
    void allocateFileSpace();
    void preferences();
    void chooseDriver(int index);
    void systemInfo();

    CaptureMainSession main_;
    QWidget* client_;
    QLabel* Picture1_;
    CapturePreview* preview_ = nullptr;
    bool shownOnce_ = false;
    std::uint64_t pictureChangesShown_ = 0;
    std::unique_ptr<DriverMenu> drivers_;
    QMenu* mnuCapture_ = nullptr;
    QAction* mnuaddtimestamp_ = nullptr;
    QAction* mnuPreview_ = nullptr;
    QAction* mnuOverlay_ = nullptr;
    QAction* mnuSource_ = nullptr;
    QAction* mnuFormat_ = nullptr;
    QAction* mnuDisplay_ = nullptr;
};
