#pragma once
// The capture main window's behaviour without the window: the driver menu, connecting a driver,
// the status and error reports, grabbing with a time stamp. Each event of the window is one
// call here and the window then shows what view() holds; messages come back as Outcome values
// the window shows.
#include "capture/DriverList.h"
#include "capture/mVFW.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Outcome.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QImage;

class CaptureMainSession {
public:
    using Clock = std::function<QDateTime()>;

    // What the window shows; the control each feeds in the comment.
    struct View {
        // mnuDriver_i of the drivers that answered (enabled) with their captions, and the one
        // checked (-1 none).
        std::array<QString, capture::MaxDrivers> driverCaption;
        std::array<bool, capture::MaxDrivers> driverEnabled{};
        int checkedDriver = -1;
        bool previewChecked = false;   // mnuPreview
        // The menus of the camera's dialogs, as the connected driver has them.
        bool sourceEnabled = true;     // mnuSource
        bool formatEnabled = true;     // mnuFormat
        bool displayEnabled = true;    // mnuDisplay
        bool overlayEnabled = true;    // mnuOverlay
        QString title;                 // the window title (empty: leave as it is)
        QString stampTag;              // mnuaddtimestamp's Tag: the last grabbed frame's stamp
        // Counts up each time the picture's size may have changed (a driver connected, another
        // format): the window then sizes itself around the picture.
        std::uint64_t pictureChanges = 0;
    };

    explicit CaptureMainSession(Clock clock);
    ~CaptureMainSession();

    const View& view() const { return view_; }
    // The capture session; null until Open made one (there is none without a driver).
    CapWnd capwnd() const { return capwnd_; }

    // The opening steps: the driver menu, the driver chosen from the stored one, the capture
    // settings and the connection. make() makes the session the first time one is needed. The
    // message to show, if any: no driver at all, or the driver did not connect.
    Outcome Open(const std::function<CapWnd()>& make);
    // A driver item chosen: connected and stored; the message when it does not connect.
    Outcome ChooseDriver(int index);
    // The video source dialog connected another camera: shown and stored.
    void DriverChanged(int index);
    // The camera's picture format changed.
    void FormatChanged() { ++view_.pictureChanges; }
    void SetPreview(bool on);
    // Grabs a frame; with stamps, prints the time on it and keeps it as the stamp of a saved
    // frame.
    void Grab(bool stamps);
    // Prints a text on the picture shown and on the next frames single-frame capture writes.
    void StampFrame(const QString& text);
    // A status report: the title changes, or the message to show.
    Outcome Status(int number, const QString& text);
    // The file commands (CaptureMainSessionFiles.cpp): where each file dialog starts, and what
    // its answer does, with the message when that fails.
    static FileDialogArgs PaletteToLoad();
    Outcome LoadPalette(const FileDialogArgs& answer);
    static FileDialogArgs PaletteToSave();
    Outcome SavePalette(const FileDialogArgs& answer);
    static FileDialogArgs ClipCopy();
    Outcome SaveClipAs(const FileDialogArgs& answer);
    FileDialogArgs CaptureFileToSet() const;
    // newFile: the file does not exist yet (its space is then set aside).
    Outcome SetCaptureFile(const FileDialogArgs& answer, bool& newFile);
    // The question before a new clip replaces one of an earlier capture in the capture file;
    // nothing when there is no such clip.
    std::optional<QString> ReplaceClipQuestion() const;
    // The picture Save Frame saves: the picture shown, with the grab's stamp when stamps is true,
    // 24-bit as a camera picture is. Written through a file of this run's scratch folder.
    Outcome FrameToSave(bool stamps, QImage& picture) const;

    // The window goes: the session's driver is let go and the session deleted.
    void Close();

    // The system-information message: the operating system, then the notice.
    static QString SystemInfoText();

private:
    void enumerateDrivers();
    // Checks the driver's item and enables the menus of the dialogs it has.
    void showDriver(const CaptureSession::DriverCaps& caps);
    bool connectDriver(int index);

    Clock clock_;
    View view_;
    CapWnd capwnd_ = nullptr;
};
