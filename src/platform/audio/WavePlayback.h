#pragma once
// Plays a recording's sound data from its file through the default audio output, reading the
// file as the output asks for more. Reports the end of the sound with finished().
#include "platform/audio/PcmFormat.h"

#include <QFile>
#include <QObject>
#include <QString>

class QAudioSink;

class WavePlayback : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~WavePlayback() override;

    // Plays the bytes from `from` to the end of the file. False, with the reason in `error`, when
    // the file cannot be read or there is no output device that starts.
    bool start(const QString& path, qint64 from, const PcmFormat& format, QString* error);
    void stop();
    bool playing() const { return sink_ != nullptr; }

signals:
    void finished();

private:
    QFile file_;
    QAudioSink* sink_ = nullptr;
};
