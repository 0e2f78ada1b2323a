#include "platform/video/MediaEngine.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QUrl LocalFileUrl(QString path)
{
    // Backslashes are ordinary characters in Linux file names; only when the name as given does
    // not exist and the one with slashes does are they taken for separators.
    if (path.contains(QLatin1Char('\\')) && !QFileInfo::exists(path)) {
        QString slashed = path;
        slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QFileInfo::exists(slashed)) path = slashed;
    }
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

} // namespace

QUrl MediaEngine::SourceUrl(const QString& text)
{
    if (text.isEmpty()) return QUrl();
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QString rest = text.mid(5);
        if (rest.startsWith(QLatin1Char('\\'))) {
            // "file:\" + path, as the windows build it: the run of separators after the scheme
            // ends in the path's own leading "/" when the path is absolute.
            qsizetype run = 0;
            bool rooted = false;
            while (run < rest.size() && (rest[run] == QLatin1Char('\\') || rest[run] == QLatin1Char('/'))) {
                rooted = rooted || rest[run] == QLatin1Char('/');
                ++run;
            }
            const QString path = rest.mid(run);
            return LocalFileUrl(rooted ? QLatin1Char('/') + path : path);
        }
        const QUrl url(text);
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return LocalFileUrl(url.toLocalFile());
        return LocalFileUrl(rest);
    }
    // A scheme of one letter is a drive letter, not a scheme.
    const QUrl url(text);
    if (url.isValid() && url.scheme().size() > 1) return url;
    return LocalFileUrl(text);
}

MediaEngine::MediaEngine(QObject* parent) : QObject(parent)
{
    // Seeking a picture clip before the frame of the last seek, or the clip's first frame, has
    // been shown makes the engine wait for that frame on this thread (up to a second, with the
    // interface frozen): the frame itself needs this thread to reach the screen. So while such a
    // frame is on its way, positions are held, and only the newest is sought once it arrives;
    // stepping frame by frame stays quick.
    seekSettle_ = new QTimer(this);
    seekSettle_->setSingleShot(true);
    seekSettle_->setInterval(1000);
    connect(seekSettle_, &QTimer::timeout, this, &MediaEngine::seekSettled);
}

QMediaPlayer* MediaEngine::engine()
{
    // The engine (and the sound server behind it) is started when a clip is first handed to
    // it: opening a window that shows a sound, or none yet, costs nothing of it.
    if (player_) return player_;
    player_ = new QMediaPlayer(this);
    audio_ = new QAudioOutput(this);
    player_->setAudioOutput(audio_);
    engineSink_ = new QVideoSink(this);
    player_->setVideoOutput(engineSink_);
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        reportPlayState();
        // A sound that has stopped (by Stop, or at its end) lets the sound server go again.
        if (state == QMediaPlayer::StoppedState) QTimer::singleShot(0, this, &MediaEngine::idle);
    });
    connect(player_, &QMediaPlayer::positionChanged, this, &MediaEngine::positionMoved);
    connect(player_, &QMediaPlayer::durationChanged, this, [this] { emit positionMoved(player_->position()); });
    connect(player_, &QMediaPlayer::metaDataChanged, this, &MediaEngine::pictureChanged);
    connect(player_, &QMediaPlayer::hasVideoChanged, this, &MediaEngine::pictureChanged);
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError && !reopening_ && !player_->source().isEmpty()) emit failed();
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia && !reopening_ && !player_->source().isEmpty()) emit failed();
        if (status != QMediaPlayer::LoadedMedia && status != QMediaPlayer::BufferedMedia) return;
        emit loaded();
        // A position written while the clip was still opening is applied now.
        if (pendingSeekMs_ >= 0 && !seekInFlight_) seekNow(std::exchange(pendingSeekMs_, -1));
        if (!mediaAnnounced_) {
            mediaAnnounced_ = true;
            emit pictureChanged();
            emit mediaChanged();
        }
    });
    // The engine's pictures are handed on from here, on this thread.
    connect(engineSink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        frameShown_ = true;
        if (seekInFlight_) seekSettled();
        emit frameArrived(frame);
    }, Qt::QueuedConnection);
    return player_;
}

QUrl MediaEngine::engineSource() const
{
    return player_ ? player_->source() : QUrl();
}

bool MediaEngine::hasSource() const { return !engineSource().isEmpty(); }

MediaEngine::~MediaEngine()
{
    if (!player_) return;
    player_->disconnect(this);
    engineSink_->disconnect(this);
    // Stopping a clip that is playing waits until the engine has handed this thread the picture
    // it is drawing (a third of a second, as this thread is busy here), and stopping one the
    // engine could not open waits a whole second. A closing window does not wait: a clip that
    // plays is paused now and stopped once the interface is free, and one that never opened is
    // let go as it is.
    const bool running = player_->playbackState() != QMediaPlayer::StoppedState &&
                         player_->mediaStatus() != QMediaPlayer::InvalidMedia;
    if (!running || !QCoreApplication::instance()) {
        delete player_;
        return;
    }
    QMediaPlayer* engine = player_;
    engine->setParent(nullptr);
    audio_->setParent(engine);
    engineSink_->setParent(engine);
    engine->pause();
    QTimer::singleShot(0, engine, [engine] {
        engine->stop();
        engine->deleteLater();
    });
}

void MediaEngine::open(const QString& text)
{
    const QUrl source = SourceUrl(text);
    url_ = text;
    pendingSeekMs_ = -1;
    seekInFlight_ = false;
    frameShown_ = false;
    seekSettle_->stop();
    mediaAnnounced_ = source.isEmpty();
    clip_ = source.isLocalFile() ? ClipInfo::Read(source.toLocalFile()) : ClipInfo();
    // A file in which nothing readable is found says so at once; the engine still tries it, and
    // a clip it loads after all takes the notice away.
    if (source.isLocalFile() && clip_.isEmpty() && QFileInfo(source.toLocalFile()).isFile()) emit failed();

    // Writing the URL always reopens the clip, also when it is the one already open. A sound
    // alone (a local file that holds no picture) is opened by the engine only when it plays, so
    // no stream is kept open on the sound server while it is merely shown.
    reopening_ = true;
    if (player_ && player_->source() == source) player_->setSource(QUrl());
    engineIdle_ = source.isLocalFile() && clip_.hasAudio && !clip_.hasVideo() && clip_.duration > 0;
    if (!engineIdle_ && !source.isEmpty()) engine()->setSource(source);
    else if (player_) player_->setSource(QUrl());
    reopening_ = false;
    if (engineIdle_) {
        QTimer::singleShot(0, this, [this, text] {
            if (url_ != text || mediaAnnounced_) return;
            mediaAnnounced_ = true;
            emit mediaChanged();
        });
    }
}

void MediaEngine::wake()
{
    if (!engineIdle_) return;
    engineIdle_ = false;
    reopening_ = true;
    engine()->setSource(SourceUrl(url_));
    reopening_ = false;
}

void MediaEngine::idle()
{
    if (engineIdle_ || engineSource().isEmpty() || hasPicture() || !clip_.hasAudio || clip_.duration <= 0)
        return;
    if (player_->playbackState() != QMediaPlayer::StoppedState) return;
    reopening_ = true;
    player_->setSource(QUrl());
    engineIdle_ = true;
    reopening_ = false;
}

void MediaEngine::play()
{
    if (!isOpen()) return;
    wake();
    player_->play();
    holdSeeksForFirstFrame();
}

void MediaEngine::pause()
{
    if (engineSource().isEmpty()) return;   // an idle sound is stopped already
    player_->pause();
    holdSeeksForFirstFrame();
}

void MediaEngine::holdSeeksForFirstFrame()
{
    if (frameShown_ || seekInFlight_ || !hasPicture()) return;
    seekInFlight_ = true;
    seekSettle_->start();
}

void MediaEngine::stop()
{
    pendingSeekMs_ = -1;
    seekInFlight_ = false;
    seekSettle_->stop();
    if (!engineSource().isEmpty()) player_->stop();
}

double MediaEngine::position() const
{
    if (pendingSeekMs_ >= 0) return pendingSeekMs_ / 1000.0;
    return player_ ? player_->position() / 1000.0 : 0.0;
}

void MediaEngine::seekTo(qint64 ms)
{
    if ((player_ && player_->mediaStatus() == QMediaPlayer::LoadingMedia) || seekInFlight_)
        pendingSeekMs_ = ms;
    else
        seekNow(ms);
}

void MediaEngine::seekNow(qint64 ms)
{
    if (player_) player_->setPosition(ms);
    if (hasPicture()) {
        seekInFlight_ = true;
        seekSettle_->start();
    }
}

void MediaEngine::seekSettled()
{
    seekInFlight_ = false;
    seekSettle_->stop();
    if (pendingSeekMs_ >= 0 && player_ && player_->mediaStatus() != QMediaPlayer::LoadingMedia)
        seekNow(std::exchange(pendingSeekMs_, -1));
}

int MediaEngine::playState() const
{
    if (engineIdle_) return Stopped;
    if (engineSource().isEmpty()) return Undefined;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState: return Playing;
    case QMediaPlayer::PausedState: return Paused;
    case QMediaPlayer::StoppedState: break;
    }
    return Stopped;
}

int MediaEngine::encodedFrameRate() const
{
    if (nativeSize().isEmpty()) return 0;
    double rate = player_ ? player_->metaData().value(QMediaMetaData::VideoFrameRate).toDouble() : 0.0;
    if (!(rate > 0)) rate = clip_.frameRate;
    return rate > 0 ? int(std::lround(rate)) : 0;
}

QSize MediaEngine::nativeSize() const
{
    const QSize reported = player_ ? player_->metaData().value(QMediaMetaData::Resolution).toSize() : QSize();
    if (reported.width() > 0 && reported.height() > 0) return reported;
    return clip_.hasVideo() ? QSize(clip_.width, clip_.height) : QSize();
}


double MediaEngine::duration() const
{
    if (engineIdle_) return clip_.duration;
    if (engineSource().isEmpty()) return 0;
    const qint64 ms = player_->duration();
    return ms > 0 ? ms / 1000.0 : clip_.duration;
}

QString MediaEngine::errorString() const { return player_ ? player_->errorString() : QString(); }

void MediaEngine::reportPlayState()
{
    if (reopening_) return;
    const int state = playState();
    if (state == lastState_) return;
    lastState_ = state;
    emit stateChanged(state);
}

bool MediaEngine::hasPicture() const
{
    return !nativeSize().isEmpty() && ((player_ && player_->hasVideo()) || clip_.hasVideo());
}
