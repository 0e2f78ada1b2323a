#pragma once
// The texts the recorder shows about its recording: the statistics (duration, size and format),
// the programmed start and stop times, and the lines a programmed recording adds. Lines end in
// CRLF. Numbers are in the general number text; a number the device did not give shows as "?".
// The words come from the text table, so they follow the interface language.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// The device's answers about its recording, each read as a whole number; nothing when the
// query failed or did not answer a number.
struct RecordingFacts {
    std::optional<std::int64_t> milliseconds;
    std::optional<std::int64_t> bytes;
    std::optional<std::int64_t> channels;
    std::optional<std::int64_t> bitsPerSample;
    std::optional<std::int64_t> samplesPerSec;
};

// The leading whole number of a status reply; nothing when it starts with no digit.
std::optional<std::int64_t> ReplyNumber(const QString& reply);

// "1023 Bytes)", "1 kBytes)", "1 MBytes)": the count, or the first six characters of the
// kilobytes or megabytes (cut, not rounded), followed by the unit and CRLF.
QString SizeText(std::int64_t bytes);

// Two lines: "Recorded audio duration:5.2 sec  (112 kBytes)" and
// "Mono @ 16 bits  at sampling rate of 11025 Hz", each ending in CRLF.
QString StatisticsText(const RecordingFacts& facts);

// "Start time :  <start>" CRLF "Stop time:  <stop>", dates in the general date text.
QString TimesText(const QDateTime& start, const QDateTime& stop);

// What a programmed recording appends to the statistics: "Programmed recording (Automatic Save )"
// (or "Manual "), CRLF, CRLF and the times text.
QString ProgrammedLines(bool autoSave, const QString& timesText);
