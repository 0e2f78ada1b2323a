#pragma once
// Records from the default audio input into a WaveRecordingFile. The input runs on a thread of
// its own and only puts what it receives into a fixed ring; a timer of the owning (GUI) thread
// drains the ring into the file every few tens of milliseconds. Memory stays flat however long
// the recording, and a busy interface does not lose sound while the ring has room.
//
// The recording stops by itself, keeping everything written until then, when the file refuses
// more (full disk, WAV size limit) or the input goes away: the device list loses it, it reports an
// error, or it delivers nothing for InputSilenceLimitMs.
//
// The same input also serves a live display without any file (listen): the drained blocks go to
// a listener instead, more often, and the same halts apply.
#include "platform/audio/PcmFormat.h"
#include "platform/audio/RingBuffer.h"
#include "platform/audio/WaveRecordingFile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QAudioDevice;
class QThread;
class WaveInput;
struct SoundArrival;

class WaveRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr int DrainIntervalMs = 50;
    // The sound server hands the input its sound in blocks of about this length (its latency).
    static constexpr int InputBlockMs = 80;
    static constexpr int InputSilenceLimitMs = 8000;
    static constexpr std::size_t RingBytes = std::size_t(1) << 21;
    // How long a stop waits for the sound of its last moments still on its way from the device.
    static constexpr int StopWaitLimitMs = 2500;

    explicit WaveRecorder(QObject* parent = nullptr);
    ~WaveRecorder() override;

    enum class Start { Started, NoInput, CannotWrite };
    // Why a recording stopped by itself. What was recorded until then is kept, as a valid
    // recording.
    enum class Halt {
        DiskFull,     // the recording's file could not take more data
        InputLost,    // the input device went away or stopped delivering sound
        SizeLimit,    // the recording reached the largest size a WAV file can describe
    };
    Q_ENUM(Halt)
    // Starts recording in `format` into a new file at `path`. On failure errorString() says why:
    // NoInput when there is no input device or it does not start, CannotWrite when the file
    // cannot be made. maxDataBytes as WaveRecordingFile::create.
    Start start(const PcmFormat& format, const QString& path, std::int64_t maxDataBytes = -1);
    // Listens to the input with id `deviceId` (the default input when empty, or when no input
    // has that id) without writing a file: every block of bytes drained from the ring goes to
    // `listener` on the owning thread, every ListenIntervalMs. NoInput when it does not start.
    using Listener = std::function<void(const char* data, std::int64_t bytes)>;
    static constexpr int ListenIntervalMs = 15;
    Start listen(const PcmFormat& format, const QByteArray& deviceId, Listener listener);
    // Stops and closes the file. The recording holds the time from the start to this moment:
    // sound still on its way from the device (its latency) is waited for, up to
    // StopWaitLimitMs, and sound beyond that time is cut off.
    void stop();
    bool recording() const { return input_ != nullptr; }
    bool listening() const { return recording() && listener_ != nullptr; }
    // The id of the input in use (or last used).
    QByteArray deviceId() const { return deviceId_; }

    const WaveRecordingFile& file() const { return file_; }
    QString errorString() const { return error_; }
    // Bytes dropped because the ring was full (0 unless the GUI thread stalled for seconds).
    std::uint64_t droppedBytes() const { return dropped_; }

    // Called with each block of whole frames before it is written (MIDI mixing): data, bytes.
    std::function<void(char*, std::int64_t)> mixer;

signals:
    // The recording stopped by itself; the file holds everything recorded until then.
    void halted(Halt why, const QString& detail);

private:
    void drain();
    // Moves what the ring holds into the file; false when the file refused it (then halted).
    bool drainRing();
    void halt(Halt why, const QString& detail);
    void stopInput();
    // Starts the input on its thread; false with error_ set when it does not start.
    bool startInput(const QAudioDevice& device, const PcmFormat& format);

    WaveRecordingFile file_;
    RingBuffer ring_;
    std::unique_ptr<SoundArrival> arrival_;
    QThread* thread_ = nullptr;
    WaveInput* input_ = nullptr;
    QTimer drainTimer_;
    QElapsedTimer sinceData_;
    QElapsedTimer sinceStart_;
    QByteArray deviceId_;
    QString error_;
    std::uint64_t dropped_ = 0;
    Listener listener_;
};
