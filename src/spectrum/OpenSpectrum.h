#pragma once
// The spectrum of a whole sound file: read, transformed, and shown in the program's one
// spectrum window, titled with the analyser window's caption.
#include <QString>

void ShowSpectrumOf(int windowNumber, const QString& fileName, const QString& analyserCaption);
