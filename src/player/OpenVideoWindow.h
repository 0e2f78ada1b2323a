#pragma once
// Opens a clip in a new video player window.
#include <QString>

void OpenVideoWindow(const QString& path);
