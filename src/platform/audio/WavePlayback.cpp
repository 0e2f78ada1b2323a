#include "platform/audio/WavePlayback.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

WavePlayback::~WavePlayback() { stop(); }

bool WavePlayback::start(const QString& path, qint64 from, const PcmFormat& format, QString* error)
{
    stop();
    auto failed = [&](const QString& why) {
        if (error) *error = why;
        file_.close();
        return false;
    };
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return failed("there is no audio output device");
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly) || !file_.seek(from)) return failed(file_.errorString());
    QAudioFormat f;
    f.setSampleRate(format.sampleRate);
    f.setChannelCount(format.channels);
    f.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    sink_ = new QAudioSink(device, f, this);
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Idle: the file has no more sound; Stopped with an error: the output failed.
        if (state == QAudio::IdleState || (state == QAudio::StoppedState && sink_ &&
                                           sink_->error() != QAudio::NoError)) {
            QMetaObject::invokeMethod(this, [this] {
                if (!playing()) return;
                stop();
                emit finished();
            }, Qt::QueuedConnection);
        }
    });
    sink_->start(&file_);
    if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
        const QString why = QString("the output device did not start (error %1)").arg(int(sink_->error()));
        stop();
        return failed(why);
    }
    return true;
}

void WavePlayback::stop()
{
    if (QAudioSink* sink = std::exchange(sink_, nullptr)) {
        sink->stop();
        sink->deleteLater();
    }
    file_.close();
}
