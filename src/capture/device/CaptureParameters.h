#pragma once
// The sequence capture set-up record the capture window takes (capCaptureSetSetup): 24 fields of
// 32 bits, 96 bytes little endian, in this order. What each field does to a capture is told
// beside it; the fields marked "kept" are stored and given back but change nothing on this
// platform.
#include <QByteArray>
#include <cstdint>
#include <optional>

struct CaptureParameters {
    static constexpr int RecordSize = 96;

    std::int32_t requestMicroSecPerFrame = 66667;  // frame period of the capture file
    std::int32_t makeUserHitOKToCapture = 0;       // 1: ask before the capture starts
    std::int32_t percentDropForError = 10;         // kept
    std::int32_t yield = 0;                        // 0: capCaptureSequence returns when done
    std::int32_t indexSize = 27000;                // the most frames one capture takes
    std::int32_t chunkGranularity = 0;             // kept
    std::int32_t usingDOSMemory = 0;               // kept
    std::int32_t numVideoRequested = 32;           // kept
    std::int32_t captureAudio = 0;                 // 1: record sound with the pictures
    std::int32_t numAudioRequested = 8;            // kept
    std::int32_t keyAbort = 0;                     // a key that ends the capture (0x1B Escape), 0 none
    std::int32_t abortLeftMouse = 1;               // 1: the left mouse button ends the capture
    std::int32_t abortRightMouse = 1;              // 1: the right mouse button ends the capture
    std::int32_t limitEnabled = 0;                 // 1: the capture ends after timeLimit
    std::int32_t timeLimit = 0;                    // seconds
    std::int32_t mciControl = 0;                   // kept
    std::int32_t stepMCIDevice = 0;                // kept
    std::int32_t mciStartTime = 0;                 // kept
    std::int32_t mciStopTime = 0;                  // kept
    std::int32_t stepCaptureAt2x = 0;              // kept
    std::int32_t stepCaptureAverageFrames = 0;     // kept
    std::int32_t audioBufferSize = 0;              // kept
    std::int32_t disableWriteCache = 0;            // kept: every frame reaches the disk anyway
    std::int32_t avStreamMaster = 0;               // 0 audio, 1 none: see SequenceCapture

    QByteArray toBytes() const;
    // Nothing when the record is shorter than 96 bytes.
    static std::optional<CaptureParameters> FromBytes(const QByteArray& bytes);

    bool operator==(const CaptureParameters&) const = default;
};
