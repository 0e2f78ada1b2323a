#pragma once
// The recorder window of the program, shown and brought to the front (made on first use, with
// the audio device installed).
void ShowRecorder();
