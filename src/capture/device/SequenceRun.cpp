#include "capture/device/SequenceRun.h"

#include "platform/audio/WaveRecorder.h"
#include "platform/system/DiskFull.h"
#include "platform/system/SteadyClock.h"
#include "platform/system/WaitUntil.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>
#include <limits>

namespace {
// A camera that sends nothing for this long has stopped.
constexpr std::int64_t kSilentCameraUs = 5'000'000;
// How long the end of a capture waits for the last of its sound.
constexpr int kSoundCatchUpMs = 2500;
// The limit, the progress report and the silent camera are looked at this often. A capture
// with pictures ends with the first picture past its limit; this only ends one whose camera
// has fallen behind, and reports the progress.
constexpr int kTickMs = 50;
constexpr std::int64_t kReportUs = 500'000;

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

SequenceRun::SequenceRun(const SequenceCapture::Setup& setup, CaptureCounts& counts, QObject* parent)
    : QObject(parent), setup_(setup), counts_(counts)
{
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &SequenceRun::tick);
}

SequenceRun::~SequenceRun()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool SequenceRun::open(const QString& path, int& errorNumber, QString& errorText)
{
    path_ = path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    startUs_ = steadyclock::NowUs();
    if (capture_.start(path, setup_, startUs_)) return true;
    const AviWriter& w = capture_.writer();
    errorNumber = IsDiskFull(w.errorNumber()) ? caperror::DiskFull : caperror::CannotOpen;
    errorText = LoadText(211).arg(QDir::toNativeSeparators(path), w.errorText());
    return false;
}

bool SequenceRun::start(QString& soundError)
{
    counts_ = CaptureCounts{};
    bool soundOk = true;
    if (const std::optional<WaveFormatEx>& audio = capture_.setup().audio; audio) {
        recorder_ = std::make_unique<WaveRecorder>();
        const PcmFormat format{std::int32_t(audio->samplesPerSec), audio->channels, audio->bitsPerSample};
        const auto started = recorder_->listen(format, QByteArray(), [this](const char* data, std::int64_t bytes) {
            sound(data, bytes);
        });
        // The sound's first sample is the one recorded when the input starts.
        if (started == WaveRecorder::Start::Started) {
            capture_.soundStarted(steadyclock::NowUs());
        } else {
            recorder_.reset();
            soundOk = false;
            soundError = "the input did not start";
        }
    }
    QCoreApplication::instance()->installEventFilter(this);
    lastReportUs_ = 0;
    timer_.start();
    emit status(capstatus::Progress, ProgressText(counts_));
    return soundOk;
}

std::int64_t SequenceRun::longestMs() const
{
    const CaptureParameters& p = setup_.parameters;
    const std::int64_t period = std::max<std::int64_t>(1, p.requestMicroSecPerFrame);
    std::int64_t us = std::numeric_limits<std::int64_t>::max() / 4;
    if (p.limitEnabled) us = std::int64_t(std::max(0, p.timeLimit)) * 1'000'000;
    if (p.indexSize > 0) us = std::min(us, std::int64_t(p.indexSize) * period);
    // The camera may be slow to send its first picture, and the end waits for the sound.
    return us / 1000 + kSilentCameraUs / 1000 + kSoundCatchUpMs + 30'000;
}

void SequenceRun::tick()
{
    if (ending_) return;
    const std::int64_t now = steadyclock::NowUs();
    if (capture_.timeUp(now)) {
        end();
        return;
    }
    if (now - std::max(lastPictureUs_, startUs_) > kSilentCameraUs) {
        end(caperror::CameraFailed, LoadText(212).arg(QString("no pictures")));
        return;
    }
    if (now - lastReportUs_ >= kReportUs) {
        lastReportUs_ = now;
        counts_ = capture_.counts();
        emit status(capstatus::Progress, ProgressText(counts_));
    }
}

bool SequenceRun::frame(const QImage& picture, std::int64_t timeUs)
{
    if (ending_) return false;
    switch (capture_.addFrame(picture, timeUs)) {
    case SequenceCapture::Step::Finished:
    case SequenceCapture::Step::Failed:
        // Ended from the event loop, not from within the camera's delivery.
        capture_.stopPictures();
        QMetaObject::invokeMethod(this, [this] { end(); }, Qt::QueuedConnection);
        return false;
    case SequenceCapture::Step::Taken: return true;
    case SequenceCapture::Step::Skipped: return false;
    }
    return false;
}

void SequenceRun::sound(const char* data, std::int64_t bytes)
{
    if (over_ || bytes <= 0) return;
    if (!capture_.addSound(QByteArray(data, qsizetype(bytes))) && !ending_) end();
}

void SequenceRun::stopSound()
{
    if (!recorder_) return;
    recorder_->stop();   // what was on its way still reaches sound()
    recorder_.reset();
}

QString SequenceRun::writeFailureText() const
{
    const AviWriter& w = capture_.writer();
    const QString file = QDir::toNativeSeparators(path_);
    if (IsDiskFull(w.errorNumber())) return LoadText(203).arg(file);
    return LoadText(205).arg(file, w.errorText());
}

void SequenceRun::end(int errorNumber, const QString& errorText)
{
    if (ending_ || over_) return;
    ending_ = true;
    capture_.stopPictures();
    QCoreApplication::instance()->removeEventFilter(this);
    timer_.stop();
    if (recorder_ && errorNumber == 0 && !capture_.writer().failed()) {
        // Sound inputs deliver in blocks, some of them long: the sound of the last pictures may
        // still be on its way.
        QPointer<SequenceRun> self(this);
        WaitOptions wait;
        wait.timeoutMs = kSoundCatchUpMs;
        wait.guard = this;
        WaitUntil([this] { return capture_.soundSamples() >= capture_.soundSamplesWanted(); }, wait);
        if (!self) return;
    }
    stopSound();
    over_ = true;
    const bool whole = capture_.finish();
    counts_ = capture_.counts();

    if (errorNumber != 0) {
        emit failed(errorNumber, errorText);
    } else if (!whole) {
        emit failed(IsDiskFull(capture_.writer().errorNumber()) ? caperror::DiskFull : caperror::WriteFailed,
                    writeFailureText());
    }
    emit status(SummaryNumber(counts_), SummaryText(counts_));
    emit status(capstatus::End, QString());
    emit ended();
}

bool SequenceRun::eventFilter(QObject* watched, QEvent* event)
{
    if (ending_) return QObject::eventFilter(watched, event);
    const CaptureParameters& p = setup_.parameters;
    const bool modal = p.yield == 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if ((mouse->button() == Qt::LeftButton && p.abortLeftMouse) ||
            (mouse->button() == Qt::RightButton && p.abortRightMouse)) {
            end();
            return true;
        }
        return modal;
    }
    case QEvent::KeyPress: {
        const int key = AbortKey(p.keyAbort);
        if (key != 0 && static_cast<QKeyEvent*>(event)->key() == key) {
            end();
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
        return QObject::eventFilter(watched, event);
    }
}
