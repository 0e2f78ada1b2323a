#pragma once
// Opens the image processor: its one window, made on first use, shown and brought to the front.
void ShowImageProcessor();
