#pragma once
// Opens the image processor: its one window, made on first use, shown and brought to the front;
// with a file, showing that file's folder with the file chosen and previewed.
#include <QString>

void ShowImageProcessor(const QString& file = QString());
