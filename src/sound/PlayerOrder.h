#pragma once
// What the sound analyser window does with its media player after a playback command, in this
// order: focus to the upper graph, open the file, pause, seek, play; then the Play and Continue
// buttons' state and the play cursor's read-outs.
#include <QString>
#include <optional>

struct PlayerOrder {
    bool focusGraph = false;
    std::optional<QString> url;       // the sound to open (setURL)
    bool pause = false;
    std::optional<double> seek;       // seconds
    bool play = false;
    std::optional<bool> playButtons;  // Play and Continue enabled
    bool showCursor = false;
};
