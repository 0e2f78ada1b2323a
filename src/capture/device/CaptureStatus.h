#pragma once
// The capture window's status reports: the numbers it sends to the status callback and the
// texts that go with them.
//   0    clear: nothing to show
//   301  the capture ended
//   510  progress while capturing: frames, dropped frames, seconds
//   511  the summary of a finished capture with sound
//   512  the summary of a finished capture without sound
// Errors (a full disk, a file that cannot be written, a camera that stops) go to the error
// callback with their own numbers below.
#include <QString>
#include <cstdint>

namespace capstatus {
inline constexpr int Clear = 0;
inline constexpr int End = 301;
inline constexpr int Progress = 510;
inline constexpr int SummaryWithAudio = 511;
inline constexpr int SummaryVideoOnly = 512;
}

namespace caperror {
inline constexpr int DiskFull = 1;       // the disk filled up while capturing
inline constexpr int WriteFailed = 2;    // the capture file could not be written
inline constexpr int CannotOpen = 3;     // the capture file could not be made
inline constexpr int CameraFailed = 4;   // the camera stopped or sent nothing
inline constexpr int NoSound = 5;        // the sound input could not be opened
}

// What a finished or running capture has done.
struct CaptureCounts {
    std::int64_t frames = 0;          // pictures written
    std::int64_t dropped = 0;         // frame periods that got no picture
    double seconds = 0;               // length of the captured clip
    std::int64_t audioBytes = 0;
    std::int64_t samplesPerSecond = 0;
    bool withAudio = false;
};

// "Captured 12 frames (0 dropped) 0.800 sec."
QString ProgressText(const CaptureCounts& counts);
// "Captured 2.000 sec. 30 frames (0 dropped) (15.000 fps). 88200 audio bytes (22050 sps)" with
// sound, the same without its sound part otherwise.
QString SummaryText(const CaptureCounts& counts);
int SummaryNumber(const CaptureCounts& counts);
