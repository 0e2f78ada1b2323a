#pragma once
// A running sequence capture of the capture session: the capture file (SequenceCapture), the
// sound beside it from the one audio input (WaveRecorder, listening), the time limit, the
// progress report twice a second, a camera that falls silent, and the keys and mouse buttons
// that end it. Its reports come as signals; ended() says it is over (the run may then be
// deleted from the event loop).
#include "capture/device/CaptureStatus.h"
#include "capture/device/SequenceCapture.h"
#include "platform/ui/Outcome.h"

#include <QObject>
#include <QTimer>
#include <memory>

class WaveRecorder;

class SequenceRun : public QObject {
    Q_OBJECT
public:
    // counts: where the progress counts go as they are reported, and the final ones.
    SequenceRun(const SequenceCapture::Setup& setup, CaptureCounts& counts, QObject* parent = nullptr);
    ~SequenceRun() override;

    // Opens the capture file; on failure the error's number and message, and nothing runs.
    bool open(const QString& path, int& errorNumber, QString& errorText);
    // Starts the sound (when the setup has it), the abort keys and the checks. False with
    // errorText when the sound input did not start (the capture runs without it).
    bool start(QString& soundError);

    // A camera picture arrived at this time.
    void cameraAlive(std::int64_t timeUs) { lastPictureUs_ = timeUs; }
    bool wouldTake(std::int64_t timeUs) const { return !ending_ && capture_.wouldTake(timeUs); }
    // Hands a picture to the capture; true when it went into the file.
    bool frame(const QImage& picture, std::int64_t timeUs);

    // Ends the capture; errorNumber 0 for an ordinary end, else the error reported.
    void end(int errorNumber = 0, const QString& errorText = {});

    // How long a capture without yield may run before it is ended: its time limit or its index
    // size, and the time its end takes.
    std::int64_t longestMs() const;

signals:
    void status(int number, const QString& text);
    void failed(int number, const QString& text);
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    void sound(const char* data, std::int64_t bytes);
    void stopSound();
    QString writeFailureText() const;

    SequenceCapture::Setup setup_;
    SequenceCapture capture_;
    CaptureCounts& counts_;
    QString path_;
    std::unique_ptr<WaveRecorder> recorder_;
    QTimer timer_;
    std::int64_t startUs_ = 0;
    std::int64_t lastPictureUs_ = -1;
    std::int64_t lastReportUs_ = 0;
    bool ending_ = false;
    bool over_ = false;
};
