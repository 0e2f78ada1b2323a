#pragma once
// What the frame does at start: where it goes on the screen and which file it opens.
#include <QString>
#include <functional>

struct FramePlacement {
    int left = 0, top = 0, width = 0, height = 0;   // twips
};

// The stored placement texts ("mdileft", ...), read leniently; an empty optional text means the
// key is missing and its default applies.
struct StoredPlacement {
    QString left, top, width, height;
    bool hasLeft = false, hasTop = false, hasWidth = false, hasHeight = false;
};

// The frame's placement from the screen size, the frame's design size and the stored values:
// defaults centre the frame and make it half the screen; a negative left or top becomes 0, and
// one beyond the screen (less the frame's design size) is pulled back to its edge.
FramePlacement ComputeFramePlacement(int screenWidth, int screenHeight, int designWidth,
                                     int designHeight, const StoredPlacement& stored);

enum class StartupAction { None, Wave, Mp3, Video, Image };

struct StartupFile {
    QString path;
    StartupAction action = StartupAction::None;
};

// The extension as the frame dispatches on it: the text from the last "." of the path, four
// characters long, lower-cased; empty when the path has no ".".
QString DispatchExtension(const QString& path);

// Whether a dispatch extension (as above) names an image of the image processor's types.
bool IsImageExtension(const QString& extension);

// The file to open at start: the command line without its double quotes, else the last file.
// ".wav" opens in an analyser, ".mp3" after decoding, an image in the image processor (so an
// image opened from the desktop goes to the tool that shows it), anything else in a player.
// No path when that file does not exist; the path but no action when it has no extension.
StartupFile ChooseStartupFile(const QString& commandLine, const QString& lastFile,
                              const std::function<bool(const QString&)>& exists);
