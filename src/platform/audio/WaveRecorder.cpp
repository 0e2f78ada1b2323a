#include "platform/audio/WaveRecorder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

// The input thread's word that sound has come into the ring: a stop waits on it for the sound of
// its last moments.
struct SoundArrival {
    std::mutex mutex;
    std::condition_variable arrived;
};

namespace {
// What the audio input writes into: the ring, nothing else.
class RingDevice : public QIODevice {
public:
    RingDevice(RingBuffer& ring, SoundArrival& arrival) : ring_(ring), arrival_(arrival)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        ring_.write(data, std::size_t(size));
        // Taken and left so that a stop between its look at the ring and its wait still hears it.
        { const std::lock_guard<std::mutex> lock(arrival_.mutex); }
        arrival_.arrived.notify_all();
        return size;   // a block that did not fit is counted by the ring, not refused
    }

private:
    RingBuffer& ring_;
    SoundArrival& arrival_;
};

QAudioFormat audioFormat(const PcmFormat& f)
{
    QAudioFormat format;
    format.setSampleRate(f.sampleRate);
    format.setChannelCount(f.channels);
    format.setSampleFormat(f.bitsPerSample == 8    ? QAudioFormat::UInt8
                           : f.bitsPerSample == 32 ? QAudioFormat::Int32
                                                   : QAudioFormat::Int16);
    return format;
}
}

// The audio input, living on the recorder's own thread.
class WaveInput : public QObject {
public:
    WaveInput(RingBuffer& ring, SoundArrival& arrival) : device_(ring, arrival) {}

    // Runs on the input's thread. An empty text when the input started, else why not.
    QString start(const QAudioDevice& device, const QAudioFormat& format,
                  std::function<void(const QString&)> failed)
    {
        source_ = new QAudioSource(device, format, this);
        // Small blocks from the server: a lost device costs at most the block on its way.
        source_->setBufferSize(format.bytesForDuration(qint64(WaveRecorder::InputBlockMs) * 1000));
        connect(source_, &QAudioSource::stateChanged, this, [this, failed](QAudio::State state) {
            if (state == QAudio::StoppedState && source_->error() != QAudio::NoError && !stopping_)
                failed(QString("the input device reported error %1").arg(int(source_->error())));
        });
        source_->start(&device_);
        if (source_->error() != QAudio::NoError || source_->state() == QAudio::StoppedState)
            return QString("the input device did not start (error %1)").arg(int(source_->error()));
        return {};
    }

    void stop()
    {
        stopping_ = true;
        if (source_) source_->stop();
    }

private:
    RingDevice device_;
    QAudioSource* source_ = nullptr;
    bool stopping_ = false;
};

WaveRecorder::WaveRecorder(QObject* parent)
    : QObject(parent), ring_(RingBytes), arrival_(std::make_unique<SoundArrival>())
{
    drainTimer_.setInterval(DrainIntervalMs);
    connect(&drainTimer_, &QTimer::timeout, this, &WaveRecorder::drain);
    auto* devices = new QMediaDevices(this);
    connect(devices, &QMediaDevices::audioInputsChanged, this, [this] {
        if (!recording()) return;
        for (const QAudioDevice& d : QMediaDevices::audioInputs())
            if (d.id() == deviceId_) return;
        halt(Halt::InputLost, "the input device went away");
    });
}

WaveRecorder::~WaveRecorder() { stop(); }

WaveRecorder::Start WaveRecorder::start(const PcmFormat& format, const QString& path, std::int64_t maxDataBytes)
{
    stop();
    error_.clear();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        error_ = "there is no audio input device";
        return Start::NoInput;
    }
    if (!file_.create(path, format, maxDataBytes)) {
        error_ = "the recording's file cannot be made: " + file_.errorString();
        return Start::CannotWrite;
    }
    listener_ = nullptr;
    drainTimer_.setInterval(DrainIntervalMs);
    if (!startInput(device, format)) {
        file_.close();
        QFile::remove(path);
        return Start::NoInput;
    }

    sinceData_.start();
    sinceStart_.start();
    drainTimer_.start();
    return Start::Started;
}

bool WaveRecorder::startInput(const QAudioDevice& device, const PcmFormat& format)
{
    ring_.reset();
    dropped_ = 0;
    deviceId_ = device.id();

    thread_ = new QThread;
    thread_->setObjectName("KIVRA audio input");
    thread_->start(QThread::TimeCriticalPriority);
    input_ = new WaveInput(ring_, *arrival_);
    input_->moveToThread(thread_);
    QString failure;
    auto failed = [this](const QString& why) {
        QMetaObject::invokeMethod(this, [this, why] {
            if (recording()) halt(Halt::InputLost, why);
        }, Qt::QueuedConnection);
    };
    const QAudioFormat qformat = audioFormat(format);
    QMetaObject::invokeMethod(input_, [&] { failure = input_->start(device, qformat, failed); },
                              Qt::BlockingQueuedConnection);
    if (!failure.isEmpty()) {
        stopInput();
        error_ = failure;
        return false;
    }
    return true;
}

WaveRecorder::Start WaveRecorder::listen(const PcmFormat& format, const QByteArray& deviceId, Listener listener)
{
    stop();
    error_.clear();
    QAudioDevice device = QMediaDevices::defaultAudioInput();
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        if (!deviceId.isEmpty() && d.id() == deviceId) device = d;
    if (device.isNull()) {
        error_ = "there is no audio input device";
        return Start::NoInput;
    }
    listener_ = std::move(listener);
    drainTimer_.setInterval(ListenIntervalMs);
    if (!startInput(device, format)) {
        listener_ = nullptr;
        return Start::NoInput;
    }
    sinceData_.start();
    sinceStart_.start();
    drainTimer_.start();
    return Start::Started;
}

bool WaveRecorder::drainRing()
{
    std::vector<char> block(64 * 1024);
    bool any = false;
    while (true) {
        const std::size_t got = ring_.read(block.data(), block.size());
        if (got == 0) break;
        any = true;
        if (listener_) {
            listener_(block.data(), std::int64_t(got));
            continue;
        }
        if (mixer) mixer(block.data(), std::int64_t(got));
        if (!file_.append(block.data(), std::int64_t(got))) {
            const bool full = file_.fault() == WaveRecordingFile::Fault::SizeLimit;
            if (recording())
                halt(full ? Halt::SizeLimit : Halt::DiskFull,
                     file_.errorString());
            return false;
        }
    }
    dropped_ = ring_.dropped();
    if (any) sinceData_.restart();
    return true;
}

void WaveRecorder::drain()
{
    if (!drainRing()) return;
    if (recording() && sinceData_.elapsed() > InputSilenceLimitMs)
        halt(Halt::InputLost, "no sound came from the input device");
}

void WaveRecorder::halt(Halt why, const QString& detail)
{
    stopInput();
    drainRing();   // the sound that came before (a file that refused takes no more)
    file_.close();
    emit halted(why, detail);
}

void WaveRecorder::stop()
{
    if (!recording()) return;
    if (listener_) {
        stopInput();
        drainRing();
        return;
    }
    const PcmFormat& format = file_.format();
    const std::int64_t frames = sinceStart_.elapsed() * format.sampleRate / 1000;
    // The sound of the last moments is still on its way: the GUI thread waits for it here, woken
    // by the input thread each time it fills the ring. Not in an event loop: a stop runs inside a
    // media-control command (the recorder's timer would send the next command into the one not
    // yet done) and in destructors, at the program's end too, where handling events could delete
    // the objects being taken down.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StopWaitLimitMs);
    while (drainRing() && recording() && file_.frames() < frames) {
        std::unique_lock<std::mutex> lock(arrival_->mutex);
        if (!arrival_->arrived.wait_until(lock, deadline, [this] { return ring_.available() > 0; })) break;
    }
    if (!recording()) return;   // halted meanwhile
    stopInput();
    if (drainRing()) file_.truncate(frames);
    file_.close();
}

void WaveRecorder::stopInput()
{
    drainTimer_.stop();
    if (input_) {
        WaveInput* input = std::exchange(input_, nullptr);
        QMetaObject::invokeMethod(input, [input] {
            input->stop();
            delete input;
        }, Qt::BlockingQueuedConnection);
    }
    if (thread_) {
        thread_->quit();
        thread_->wait();
        delete std::exchange(thread_, nullptr);
    }
}
