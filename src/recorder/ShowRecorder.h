#pragma once
// The recorder window of the program, shown and brought to the front (made on first use, with
// the audio device installed).
void ShowRecorder();

// Before KIVRA ends: false when the recorder holds a recording not yet saved and the user, asked,
// keeps it (nothing is asked when there is no recorder window or nothing to lose).
bool RecorderAgreesToClose();
