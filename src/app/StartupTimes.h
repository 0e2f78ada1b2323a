#pragma once
// Start-up timing for the benchmark: with KIVRA_STARTUP_TIMES=1 in the environment the program
// writes "frame shown <ms>" when the frame first paints and "sound drawn <ms>" when a sound
// analyser's graph first paints with a drawing on it, in milliseconds since main began, on
// standard error. With KIVRA_STARTUP_QUIT=1 as well it quits after the last of these (after the
// frame when nothing opens at start). Without the variables nothing is watched.
#include <QObject>
#include <chrono>

class QMainWindow;

class StartupTimes : public QObject {
public:
    // Call first thing in main: the moment the times count from.
    static void MarkStart();
    // Watches the frame's first paints when the environment asks for it. Call before the frame
    // shows; a sound is waited for when a child window is open by the frame's first paint.
    static void Watch(QMainWindow& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StartupTimes(QMainWindow& frame);
    void report(const char* what);

    QMainWindow& frame_;
    bool frameShown_ = false;
    bool soundDrawn_ = false;
    bool quit_ = false;
};
