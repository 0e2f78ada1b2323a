#pragma once
// The capture file: an AVI file with one video stream (MJPEG, 24-bit uncompressed, or 8-bit
// with a palette) and, when asked, one PCM audio stream, written with FFmpeg's libavformat and
// libavcodec. The one file of KIVRA that writes media with FFmpeg.
//
// A capture file is only worth its frames, so nothing waits in memory: each packet goes to the
// file as it is written, and a helper thread hands the file to the disk (fdatasync) behind the
// writes, once a second. A capture cut short by a crash or a kill still decodes up to its last
// frame, one cut by a power cut up to the frames of its last second (the index at the end is
// missing; readers scan the frames instead).
//
// Space reserved on disk for the file (ReserveSpace) is kept: a new capture writes from the start
// of the file, over zeros, and the file keeps its reserved length when the capture is shorter.
// Readers take the AVI's own length from its headers; CaptureDataLength tells it.
#include "platform/audio/WaveFormatEx.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>
#include <optional>

enum class VideoCoding {
    Mjpeg,          // JPEG pictures at a quality of 1..100
    Uncompressed,   // 24-bit RGB
    Palettised,     // 8-bit, indices into a palette of up to 256 colours
};

struct AviVideoFormat {
    QSize size;                               // picture size in pixels, both even or odd
    std::int64_t microsecondsPerFrame = 66667;  // the stream's frame period (> 0)
    VideoCoding coding = VideoCoding::Mjpeg;
    int quality = 85;                         // MJPEG: 1 (smallest) .. 100 (best)
    QVector<QRgb> palette;                    // Palettised: the colours, 1..256 of them
};

class AviWriter {
public:
    AviWriter();
    ~AviWriter();   // closes the file as close() does
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates the file (or reuses an existing one, whose contents are lost) and writes the
    // headers. False, with errorNumber()/errorText() set, when the file cannot be written or the
    // shape is unusable (errorNumber EINVAL).
    bool open(const QString& path, const AviVideoFormat& video,
              const std::optional<WaveFormatEx>& audio = std::nullopt);

    // Writes one picture as frame number frameNumber: the frame's place in time counted in frame
    // periods from the start of the file. Numbers left out between two frames are dropped frames:
    // the file repeats the earlier picture there, so the clip keeps its pace. A number not above
    // the last one written is refused (false, nothing written, the writer stays usable). A
    // picture of another size is scaled; Palettised takes Indexed8 pictures (others are mapped
    // to the palette's nearest colours by Qt).
    bool writeFrame(const QImage& picture, std::int64_t frameNumber);

    // Appends PCM audio in the audio format given to open; a trailing partial sample is kept
    // for the next call.
    bool writeAudio(const QByteArray& pcm);

    // Writes the index and the final headers and closes the file. True when all of the file
    // reached the disk. After a failed write the file is cut after the last packet written
    // whole (no index: readers scan the frames). Closing a writer that is not open does nothing
    // and returns true.
    bool close();

    bool isOpen() const;
    // True after a write failed: later writes are refused; what was written stays readable.
    bool failed() const;
    std::int64_t framesWritten() const;
    std::int64_t lastFrameNumber() const;   // -1 before the first frame
    std::int64_t audioBytesWritten() const;
    // errno of the first failure (ENOSPC for a full disk), 0 when none.
    int errorNumber() const;
    QString errorText() const;

    // Reserves bytes on disk for a capture file: the file becomes that long, all zeros, with its
    // blocks allocated. Its former contents are lost. False with errno when it cannot be done.
    static bool ReserveSpace(const QString& path, std::int64_t bytes, int* errorNumber = nullptr);
    // The length of the AVI data at the start of a file (its RIFF chunks, one after the other;
    // what follows them is reserved space). 0 for a file that does not start with an AVI.
    static std::int64_t DataLength(const QString& path);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
