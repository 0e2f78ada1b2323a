#pragma once
// Screenshots of windows under test, for looking at what a user sees: when KIVRA_SHOTS names a
// folder, SaveShot writes the top-level window of the widget there as NAME.png. Run the window
// tests under Xvfb with QT_QPA_PLATFORM=xcb to see them as real windows.
#include <QDir>
#include <QWidget>

inline void SaveShot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("KIVRA_SHOTS");
    if (folder.isEmpty() || !widget) return;
    QDir().mkpath(folder);
    widget->window()->grab().save(QDir(folder).filePath(name + ".png"));
}
