#pragma once
// The analyser's read-outs as text for the clipboard (Edit > Copy): the file and its format,
// the selection's times and samples, the cycles with period and frequency, the amplitude and the
// selection's levels, one per line with tabs between the grid's columns, so the text reads in a
// note and pastes into a spreadsheet as a table. The values are the displayed texts.
#include <QString>

class SoundAnalyser;

QString AnalyserReadoutText(const SoundAnalyser& analyser, const QString& cycleText);
