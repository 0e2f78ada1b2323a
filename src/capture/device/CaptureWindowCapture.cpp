// The capture window's captures into the capture file: sequence capture with its sound, and
// single frames.
#include "capture/device/CaptureWindow.h"

#include "platform/system/DiskFull.h"
#include "platform/camera/CameraDriver.h"
#include "capture/device/PictureStamp.h"
#include "platform/ui/Prompts.h"
#include "capture/device/SequenceCapture.h"
#include "platform/system/SteadyClock.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMediaDevices>
#include <QMouseEvent>
#include <QTimer>
#include <cerrno>
#include <limits>

namespace {
// A camera that sends nothing for this long has stopped.
constexpr std::int64_t kSilentCameraUs = 5'000'000;
// How long the end of a capture waits for the last of its sound.
constexpr int kSoundCatchUpMs = 2500;

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

// The Qt key of an abort key code of the capture parameters (letters, digits, Escape, Space,
// Enter); 0 for none.
int AbortKey(std::int32_t code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return code;
    switch (code) {
    case 0x1B: return Qt::Key_Escape;
    case 0x20: return Qt::Key_Space;
    case 0x0D: return Qt::Key_Return;
    default: return 0;
    }
}
} // namespace

AviVideoFormat CaptureWindow::videoFormat(std::int64_t microsecondsPerFrame) const
{
    AviVideoFormat shape;
    shape.size = imageSize().isEmpty() ? QSize(640, 480) : imageSize();
    shape.microsecondsPerFrame = microsecondsPerFrame;
    shape.coding = coding_;
    shape.quality = quality_;
    shape.palette = palette_;
    if (coding_ == VideoCoding::Palettised && palette_.isEmpty()) shape.coding = VideoCoding::Uncompressed;
    return shape;
}

QString CaptureWindow::writeFailureText(const AviWriter& writer) const
{
    const QString file = QDir::toNativeSeparators(captureFile_);
    if (IsDiskFull(writer.errorNumber()))
        return LoadText(203).arg(file);
    return LoadText(205).arg(file, writer.errorText());
}

bool CaptureWindow::captureSequence()
{
    if (!driver_ || capturing() || singleFrames_) return false;
    if (parameters_.makeUserHitOKToCapture &&
        Prompts::Current().MsgBox(LoadText(202).arg(QDir::toNativeSeparators(captureFile_)),
                                  MsgButtons::OKCancel, QCoreApplication::applicationName(),
                                  MsgIcon::Information) != Answer::OK)
        return false;
    if (!driver_) return false;

    SequenceCapture::Setup setup;
    setup.parameters = parameters_;
    if (setup.parameters.requestMicroSecPerFrame <= 0)
        setup.parameters.requestMicroSecPerFrame =
            std::int32_t(1e6 / std::max(1.0f, driver_->format().maxFps));
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

    QDir().mkpath(QFileInfo(captureFile_).absolutePath());
    auto sequence = std::make_unique<SequenceCapture>();
    if (!sequence->start(captureFile_, setup, steadyclock::NowUs())) {
        const AviWriter& w = sequence->writer();
        reportError(IsDiskFull(w.errorNumber()) ? caperror::DiskFull : caperror::CannotOpen,
                    LoadText(211).arg(QDir::toNativeSeparators(captureFile_), w.errorText()));
        return false;
    }
    sequence_ = std::move(sequence);
    sequenceDone_ = false;
    sequenceStartUs_ = steadyclock::NowUs();
    lastCounts_ = CaptureCounts{};
    if (setup.parameters.captureAudio) {
        // The sound's first sample is the one recorded when the input starts.
        if (startSound()) sequence_->soundStarted(steadyclock::NowUs());
        else reportError(caperror::NoSound, LoadText(214).arg(QString("the input did not start")));
    }
    QCoreApplication::instance()->installEventFilter(this);

    // The time limit, the progress report and the silent camera are looked at several times a
    // second.
    sequenceTimer_ = new QTimer(this);
    std::int64_t lastReport = 0;
    connect(sequenceTimer_, &QTimer::timeout, this, [this, lastReport]() mutable {
        readSound();
        if (!sequence_) return;
        const std::int64_t now = steadyclock::NowUs();
        if (sequence_->timeUp(now)) {
            endSequence(0, QString());
            return;
        }
        const std::int64_t lastPicture = std::max(lastFrameUs_, sequenceStartUs_);
        if (now - lastPicture > kSilentCameraUs) {
            endSequence(caperror::CameraFailed, LoadText(212).arg(QString("no pictures")));
            return;
        }
        if (now - lastReport >= 500'000) {
            lastReport = now;
            lastCounts_ = sequence_->counts();
            report(statusCallback_, capstatus::Progress, ProgressText(lastCounts_));
        }
    });
    sequenceTimer_->start(20);
    report(statusCallback_, capstatus::Progress, ProgressText(lastCounts_));

    if (parameters_.yield) return true;
    // Without yield the capture is done when this returns, as with the platform's own.
    QPointer<CaptureWindow> self(this);
    waitUntil([this] { return sequenceDone_; }, std::numeric_limits<int>::max());
    return bool(self);
}

bool CaptureWindow::captureStop()
{
    if (!sequence_) return false;
    endSequence(0, QString());
    return true;
}

bool CaptureWindow::sequenceFrame(const QImage& picture, std::int64_t timeUs)
{
    switch (sequence_->addFrame(forFile(picture), timeUs)) {
    case SequenceCapture::Step::Finished:
    case SequenceCapture::Step::Failed:
        // Ended from the event loop, not from within the camera's delivery.
        sequence_->stopPictures();
        QMetaObject::invokeMethod(this, [this] { endSequence(0, QString()); }, Qt::QueuedConnection);
        return false;
    case SequenceCapture::Step::Taken: return true;
    case SequenceCapture::Step::Skipped: return false;
    }
    return false;
}

void CaptureWindow::endSequence(int errorNumber, const QString& errorText)
{
    if (!sequence_ || ending_) return;
    ending_ = true;
    sequence_->stopPictures();
    QCoreApplication::instance()->removeEventFilter(this);
    if (sequenceTimer_) {
        sequenceTimer_->stop();
        sequenceTimer_->deleteLater();
        sequenceTimer_ = nullptr;
    }
    if (sound_ && errorNumber == 0 && !sequence_->writer().failed()) {
        // Sound inputs deliver in blocks, some of them long: the sound of the last pictures may
        // still be on its way.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [this] {
            readSound();
            emit progressed();
        });
        poll.start(20);
        QPointer<CaptureWindow> self(this);
        waitUntil([this] { return !sequence_ || sequence_->soundSamples() >= sequence_->soundSamplesWanted(); },
                  kSoundCatchUpMs);
        if (!self || !sequence_) return;
    }
    stopSound();
    std::unique_ptr<SequenceCapture> sequence = std::move(sequence_);
    const bool whole = sequence->finish();
    lastCounts_ = sequence->counts();
    sequenceDone_ = true;
    ending_ = false;
    emit progressed();

    if (errorNumber != 0) {
        reportError(errorNumber, errorText);
    } else if (!whole) {
        const AviWriter& w = sequence->writer();
        reportError(IsDiskFull(w.errorNumber()) ? caperror::DiskFull
                                                                            : caperror::WriteFailed,
                    writeFailureText(w));
    }
    report(statusCallback_, SummaryNumber(lastCounts_), SummaryText(lastCounts_));
    report(statusCallback_, capstatus::End, QString());
}

bool CaptureWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!sequence_) return QWidget::eventFilter(watched, event);
    const bool modal = parameters_.yield == 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if ((mouse->button() == Qt::LeftButton && parameters_.abortLeftMouse) ||
            (mouse->button() == Qt::RightButton && parameters_.abortRightMouse)) {
            captureStop();
            return true;
        }
        return modal;
    }
    case QEvent::KeyPress: {
        const int key = AbortKey(parameters_.keyAbort);
        if (key != 0 && static_cast<QKeyEvent*>(event)->key() == key) {
            captureStop();
            return true;
        }
        return modal;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return modal;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

// Sound ------------------------------------------------------------------------------------

bool CaptureWindow::startSound()
{
    sound_ = std::make_unique<QAudioSource>(QMediaDevices::defaultAudioInput(), QtFormat(audio_));
    soundInput_ = sound_->start();
    if (!soundInput_ || sound_->error() != QAudio::NoError) {
        sound_.reset();
        soundInput_ = nullptr;
        return false;
    }
    // The sound is read as the capture's timer ticks (the input does not always say when it
    // has data), and when it says so.
    connect(soundInput_, &QIODevice::readyRead, this, &CaptureWindow::readSound);
    return true;
}

void CaptureWindow::readSound()
{
    if (!soundInput_ || !sequence_) return;
    const QByteArray bytes = soundInput_->readAll();
    if (bytes.isEmpty()) return;
    if (!sequence_->addSound(bytes) && !ending_) endSequence(0, QString());
}

void CaptureWindow::stopSound()
{
    if (!sound_) return;
    readSound();
    if (soundInput_) disconnect(soundInput_, nullptr, this, nullptr);
    sound_->stop();
    sound_.reset();
    soundInput_ = nullptr;
}

// Single frames ------------------------------------------------------------------------------

bool CaptureWindow::singleFrameOpen()
{
    // Open already: the frames go on into the same file.
    if (singleFrames_) return true;
    if (!driver_ || capturing()) return false;
    const std::int64_t period = parameters_.requestMicroSecPerFrame > 0
                                    ? parameters_.requestMicroSecPerFrame
                                    : std::int64_t(1e6 / std::max(1.0f, driver_->format().maxFps));
    QDir().mkpath(QFileInfo(captureFile_).absolutePath());
    auto writer = std::make_unique<AviWriter>();
    if (!writer->open(captureFile_, videoFormat(period))) {
        reportError(IsDiskFull(writer->errorNumber()) ? caperror::DiskFull : caperror::CannotOpen,
                    LoadText(211).arg(QDir::toNativeSeparators(captureFile_), writer->errorText()));
        return false;
    }
    singleFrames_ = std::move(writer);
    singleFrameNumber_ = 0;
    lastCounts_ = CaptureCounts{};
    return true;
}

bool CaptureWindow::singleFrame()
{
    if (!singleFrames_ || !waitForNewFrame() || !singleFrames_) return false;
    if (latest().isNull()) return false;
    const QImage picture = StampPicture(latest(), stamp_);
    if (!singleFrames_->writeFrame(forFile(picture), singleFrameNumber_)) {
        if (singleFrames_->failed()) {
            reportError(IsDiskFull(singleFrames_->errorNumber()) ? caperror::DiskFull : caperror::WriteFailed,
                        writeFailureText(*singleFrames_));
        }
        return false;
    }
    ++singleFrameNumber_;
    // The window shows the frame just captured, also while preview is off.
    showPicture(picture);
    lastCounts_.frames = singleFrames_->framesWritten();
    lastCounts_.seconds = double(singleFrameNumber_) * double(parameters_.requestMicroSecPerFrame) / 1e6;
    return true;
}

bool CaptureWindow::singleFrameClose()
{
    if (!singleFrames_) return false;
    std::unique_ptr<AviWriter> writer = std::move(singleFrames_);
    return writer->close();
}
