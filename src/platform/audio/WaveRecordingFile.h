#pragma once
// A recording as it is being written: a WAV file whose header is brought up to date every time
// sound is added, so the file on disk is at every moment a valid WAV file holding everything
// recorded so far, after a crash or a full disk too. Only whole sample frames are written; a
// partial frame waits for the rest. The header is the WAV format's (WaveHeaderBytes), which
// also decides the largest recording a file can hold.
#include "platform/audio/PcmFormat.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

class WaveRecordingFile {
public:
    enum class Fault {
        None,
        CannotCreate,   // the file could not be made, or the format has no header
        DiskFull,       // a write was refused (full disk, file size limit, I/O error)
        SizeLimit,      // the recording reached the largest size the header can describe
    };
    static constexpr int HeaderBytes = 44;

    WaveRecordingFile() = default;
    ~WaveRecordingFile();
    WaveRecordingFile(const WaveRecordingFile&) = delete;
    WaveRecordingFile& operator=(const WaveRecordingFile&) = delete;

    // Makes the file (replacing one of that name) holding an empty recording. maxDataBytes
    // limits the sound data (whole frames); -1 for the largest a WAV header describes.
    bool create(const QString& path, const PcmFormat& format, std::int64_t maxDataBytes = -1);
    // Adds sound. False once the file refuses more (fault() says why): it then holds every whole
    // frame that was written, with a header that says so, and takes nothing more.
    bool append(const char* data, std::int64_t size);
    // Shortens the recording to its first `frames` frames (never lengthens it).
    bool truncate(std::int64_t frames);
    // Ends the writing; the file stays as written.
    void close();

    // Writes the recording as a WAV file named `target`, whole or not at all: into a temporary
    // file beside the target, renamed to it only when complete. False with the reason in `error`.
    bool saveCopy(const QString& target, QString* error = nullptr) const;

    bool isOpen() const { return file_.isOpen(); }
    Fault fault() const { return fault_; }
    QString errorString() const { return error_; }
    const QString& path() const { return path_; }
    const PcmFormat& format() const { return format_; }
    std::int64_t dataBytes() const { return dataBytes_; }
    std::int64_t frames() const { return dataBytes_ / format_.blockAlign(); }
    std::int64_t maxDataBytes() const { return maxDataBytes_; }

    // The largest sound data, in whole frames' bytes, that a WAV header describes.
    static std::int64_t LargestData(const PcmFormat& format);

private:
    bool writeFrames(const char* data, std::int64_t size);
    bool updateHeader();
    void refuse(Fault fault, const QString& why);

    QFile file_;
    QString path_;
    PcmFormat format_;
    std::int64_t dataBytes_ = 0;
    std::int64_t maxDataBytes_ = 0;
    QByteArray partial_;   // the start of a frame whose rest has not come yet
    Fault fault_ = Fault::None;
    QString error_;
};
