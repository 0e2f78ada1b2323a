#pragma once
// The capture main window's Sound Analyser item: what the frame's own item does, asking for a
// sound (WAV, or MP3 decoded first) with the frame's open dialog and opening it in a new
// analyser window.
void OpenSoundInAnalyser();
