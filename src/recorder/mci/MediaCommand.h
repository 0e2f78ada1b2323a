#pragma once
// The command strings of the media-control interface, read as its command language reads them:
// words are separated by spaces; a word that starts with a double quote runs to the next double
// quote and may hold spaces (the quotes are not part of it). Keywords are matched without regard
// to case; file names and aliases keep theirs.
//
// Only the commands the recorder sends are understood:
//   open new type waveaudio alias A          open FILE type sequencer alias A
//   close A | close all                      seek A to start
//   set A alignment N bitspersample N samplespersec N channels N bytespersec N  (any subset)
//   set A time format ms|milliseconds|bytes  record A      stop A      play A [from N]
//   save A FILE                              status A mode|length|channels|bitspersample|samplespersec
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

enum class MediaVerb { Open, Close, Seek, Set, Record, Stop, Play, Save, Status };

// What a status query asks.
enum class MediaItem { Mode, Length, Channels, BitsPerSample, SamplesPerSec };

enum class MediaTimeFormat { Milliseconds, Bytes };

struct MediaCommand {
    MediaVerb verb = MediaVerb::Close;
    // The alias the command addresses ("all" for close all); for open, the alias given.
    QString alias;

    // open: the element ("new" for an untitled wave, else a file) and its device type, lower-case.
    QString element;
    QString type;

    // set: the format fields in the order given, by their lower-case keyword.
    std::vector<std::pair<QString, std::int64_t>> format;
    // set ... time format
    std::optional<MediaTimeFormat> timeFormat;

    // play ... from N (in the element's time format)
    std::optional<std::int64_t> from;

    // save: the file name, as given
    QString fileName;

    // status
    MediaItem item = MediaItem::Mode;
};

struct MediaParse {
    std::optional<MediaCommand> command;
    QString error;   // why the text is not a command (empty on success)
};

// The words of a command; nothing for a double quote that is never closed.
std::optional<QStringList> MediaWords(QStringView command);

MediaParse ParseMediaCommand(QStringView command);

} // namespace platform
