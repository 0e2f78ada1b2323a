#include "app/StartupTimes.h"

#include "platform/ui/PictureBox.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QTimer>
#include <cstdio>

namespace {
std::chrono::steady_clock::time_point g_start = std::chrono::steady_clock::now();
}

void StartupTimes::MarkStart()
{
    g_start = std::chrono::steady_clock::now();
}

void StartupTimes::Watch(QMainWindow& frame)
{
    if (qgetenv("KIVRA_STARTUP_TIMES") != "1") return;
    auto* watcher = new StartupTimes(frame);
    watcher->setParent(&frame);
    qApp->installEventFilter(watcher);
}

StartupTimes::StartupTimes(QMainWindow& frame)
    : frame_(frame), quit_(qgetenv("KIVRA_STARTUP_QUIT") == "1")
{
}

bool StartupTimes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!frameShown_ && widget->window() == &frame_) {
        frameShown_ = true;
        report("frame shown");
        soundDrawn_ = frame_.findChildren<QMdiSubWindow*>().isEmpty();
    }
    if (!soundDrawn_ && watched->objectName() == QLatin1String("Picture2")) {
        auto* box = qobject_cast<PictureBox*>(widget);
        if (box && box->surface().PrimitiveCount() > 0) {
            soundDrawn_ = true;
            report("sound drawn");
        }
    }
    if (frameShown_ && soundDrawn_) {
        qApp->removeEventFilter(this);
        // After this paint has finished, so that what was timed is on the screen.
        if (quit_) QTimer::singleShot(0, qApp, &QApplication::quit);
    }
    return false;
}

void StartupTimes::report(const char* what)
{
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_start).count();
    std::fprintf(stderr, "%s %.1f\n", what, ms);
    std::fflush(stderr);
}
