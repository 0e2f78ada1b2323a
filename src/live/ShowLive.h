#pragma once
// The live sound window of the program, shown and brought to the front (made on first use, when
// it starts listening).

void ShowLiveSound();
