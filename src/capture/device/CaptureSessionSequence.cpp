// The capture session's sequence capture: the question before it, its set-up, and its end.
#include "capture/device/CaptureSession.h"

#include "capture/device/SequenceRun.h"
#include "platform/system/WaitUntil.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QCoreApplication>
#include <QDir>
#include <QMediaDevices>
#include <QPointer>
#include <limits>

namespace {
QAudioFormat QtFormat(const WaveFormatEx& f)
{
    QAudioFormat q;
    q.setSampleRate(int(f.samplesPerSec));
    q.setChannelCount(f.channels);
    q.setSampleFormat(f.bitsPerSample == 8    ? QAudioFormat::UInt8
                      : f.bitsPerSample == 16 ? QAudioFormat::Int16
                                              : QAudioFormat::Int32);
    return q;
}
} // namespace

bool CaptureSession::captureSequence()
{
    if (!driver_ || capturing() || singleFrames_) return false;
    if (parameters_.makeUserHitOKToCapture) {
        const QString question = LoadText(202).arg(QDir::toNativeSeparators(captureFile_));
        // The question before a capture is an information box with OK and Cancel.
        const Answer answer = ask_ ? ask_(Outcome::Question(question, QCoreApplication::applicationName(),
                                                            MsgButtons::OKCancel, MsgIcon::Information))
                                   : RefusingAnswer(MsgButtons::OKCancel);
        if (answer != Answer::OK || !driver_) return false;
    }

    SequenceCapture::Setup setup;
    setup.parameters = parameters_;
    setup.parameters.requestMicroSecPerFrame = std::int32_t(framePeriodUs());
    setup.video = videoFormat(setup.parameters.requestMicroSecPerFrame);
    if (setup.parameters.captureAudio) {
        const QAudioDevice input = QMediaDevices::defaultAudioInput();
        if (input.isNull() || !input.isFormatSupported(QtFormat(audio_))) {
            reportError(caperror::NoSound,
                        LoadText(214).arg(input.isNull() ? QString("no sound input")
                                                         : QString("format not supported")));
            setup.parameters.captureAudio = 0;
        } else {
            setup.audio = audio_;
        }
    }

    auto* run = new SequenceRun(setup, lastCounts_, this);
    int errorNumber = 0;
    QString errorText;
    if (!run->open(captureFile_, errorNumber, errorText)) {
        delete run;
        reportError(errorNumber, errorText);
        return false;
    }
    run_ = run;
    runEnded_ = false;
    connect(run, &SequenceRun::status, this, &CaptureSession::status);
    connect(run, &SequenceRun::failed, this, &CaptureSession::reportError);
    connect(run, &SequenceRun::ended, this, &CaptureSession::runEnded);
    QString soundError;
    if (!run->start(soundError)) reportError(caperror::NoSound, LoadText(214).arg(soundError));

    if (parameters_.yield) return true;
    // Without yield the capture is over when this returns. It ends by itself at its time limit
    // or index size; one that outlives that is ended here.
    QPointer<CaptureSession> self(this);
    WaitOptions wait;
    wait.timeoutMs = int(std::min<std::int64_t>(run->longestMs(), std::numeric_limits<int>::max()));
    wait.guard = this;
    // Asked twenty times a second: the end comes at most that late, and a capture's processor
    // is not spent waking up for it.
    wait.pollMs = 50;
    if (!WaitUntil([this] { return runEnded_; }, wait) && self) captureStop();
    return bool(self);
}

bool CaptureSession::captureStop()
{
    if (!run_) return false;
    run_->end();
    return true;
}

void CaptureSession::runEnded()
{
    runEnded_ = true;
    // The run is deleted once it has returned from its end.
    if (run_) run_->deleteLater();
    run_ = nullptr;
}
