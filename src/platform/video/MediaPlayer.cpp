#include "platform/video/MediaPlayer.h"

#include "platform/ui/Twips.h"
#include "platform/video/VideoPicture.h"
#include "text/LoadText.h"

#include <QAction>
#include <QCoreApplication>
#include <QAudioOutput>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <algorithm>
#include <cmath>
#include <cstring>
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

QUrl MediaPlayer::SourceUrl(const QString& text)
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

MediaPlayer::MediaPlayer(QWidget* parent)
    : QWidget(parent), video_(new VideoPicture(nullptr, this)),
      bar_(new QWidget(this)), slider_(new QSlider(Qt::Horizontal, bar_))
{
    setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    video_->setObjectName(QStringLiteral("video"));
    video_->setFocusPolicy(Qt::NoFocus);
    video_->hide();
    // Full screen is a window of its own showing the same pictures: the picture in the window
    // and its place there stay as they are, so leaving full screen only hides this one.
    full_ = new VideoPicture(nullptr, this, Qt::Window);
    full_->setObjectName(QStringLiteral("fullScreenPicture"));
    full_->setWindowTitle(LoadText(555).remove(QLatin1Char('&')));
    full_->setFocusPolicy(Qt::StrongFocus);
    full_->hide();
    connect(full_, &VideoPicture::leaveRequested, this, [this] { setFullScreen(false); });

    playAction_ = new QAction(style()->standardIcon(QStyle::SP_MediaPlay), LoadText(142), this);
    pauseAction_ = new QAction(style()->standardIcon(QStyle::SP_MediaPause), LoadText(143), this);
    stopAction_ = new QAction(style()->standardIcon(QStyle::SP_MediaStop), LoadText(144), this);
    fullScreenAction_ = new QAction(LoadText(555), this);
    connect(playAction_, &QAction::triggered, this, &MediaPlayer::play);
    connect(pauseAction_, &QAction::triggered, this, &MediaPlayer::pause);
    connect(stopAction_, &QAction::triggered, this, &MediaPlayer::stop);
    connect(fullScreenAction_, &QAction::triggered, this, [this] { setFullScreen(true); });

    // The control bar never takes the focus, so using it leaves the component focused.
    bar_->setObjectName(QStringLiteral("controlBar"));
    bar_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    const std::pair<QAction*, const char*> buttons[] = {
        {playAction_, "playButton"}, {pauseAction_, "pauseButton"}, {stopAction_, "stopButton"}};
    for (const auto& [action, name] : buttons) {
        auto* button = new QToolButton(bar_);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
    }
    slider_->setObjectName(QStringLiteral("positionSlider"));
    slider_->setFocusPolicy(Qt::NoFocus);
    slider_->setRange(0, 0);
    row->addWidget(slider_, 1);
    // The slider seeks when the user lets it go or clicks beside the handle; the position
    // updates while playing come with its signals blocked.
    connect(slider_, &QSlider::sliderReleased, this,
            [this] { setCurrentPosition(slider_->value() / 1000.0); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!slider_->isSliderDown()) setCurrentPosition(value / 1000.0);
    });

    // Seeking a picture clip before the frame of the last seek, or the clip's first frame, has
    // been shown makes the engine wait for that frame on this thread (up to a second, with the
    // interface frozen): the frame itself needs this thread to reach the screen. So while such a
    // frame is on its way, positions are held, and only the newest is sought once it arrives;
    // stepping frame by frame stays quick.
    seekSettle_ = new QTimer(this);
    seekSettle_->setSingleShot(true);
    seekSettle_->setInterval(1000);
    connect(seekSettle_, &QTimer::timeout, this, &MediaPlayer::seekSettled);

    updatePlayState();
}

QMediaPlayer* MediaPlayer::engine()
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
        updatePlayState();
        // A sound that has stopped (by Stop, or at its end) lets the sound server go again.
        if (state == QMediaPlayer::StoppedState) QTimer::singleShot(0, this, &MediaPlayer::idleEngine);
    });
    connect(player_, &QMediaPlayer::positionChanged, this, &MediaPlayer::updateSlider);
    connect(player_, &QMediaPlayer::durationChanged, this,
            [this] { updateSlider(player_->position()); });
    connect(player_, &QMediaPlayer::metaDataChanged, this, &MediaPlayer::updatePicture);
    connect(player_, &QMediaPlayer::hasVideoChanged, this, &MediaPlayer::updatePicture);
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError && !reopening_ && !player_->source().isEmpty()) showNotice();
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia && !reopening_ && !player_->source().isEmpty()) showNotice();
        if (status != QMediaPlayer::LoadedMedia && status != QMediaPlayer::BufferedMedia) return;
        if (!notice_.isEmpty()) {
            notice_.clear();
            update();
        }
        // A position written while the clip was still opening is applied now.
        if (pendingSeekMs_ >= 0 && !seekInFlight_) seekNow(std::exchange(pendingSeekMs_, -1));
        if (!mediaAnnounced_) {
            mediaAnnounced_ = true;
            updatePicture();
            emit MediaChange(url_);
        }
    });
    // The engine's pictures reach the screen here, on this thread, unless a caller's picture
    // stands in their place.
    connect(engineSink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        frameShown_ = true;
        if (seekInFlight_) seekSettled();
        if (!stillShown_) shownSink()->setVideoFrame(frame);
    }, Qt::QueuedConnection);
    return player_;
}

QUrl MediaPlayer::engineSource() const
{
    return player_ ? player_->source() : QUrl();
}

MediaPlayer::~MediaPlayer()
{
    if (!player_) return;
    player_->disconnect(this);
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

void MediaPlayer::setURL(const QString& text)
{
    const QUrl source = SourceUrl(text);
    url_ = text;
    stillShown_ = false;
    pendingSeekMs_ = -1;
    seekInFlight_ = false;
    frameShown_ = false;
    seekSettle_->stop();
    mediaAnnounced_ = source.isEmpty();
    clip_ = source.isLocalFile() ? ClipInfo::Read(source.toLocalFile()) : ClipInfo();
    notice_.clear();
    // A file in which nothing readable is found says so at once; the engine still tries it, and
    // a clip it loads after all takes the notice away.
    if (source.isLocalFile() && clip_.isEmpty() && QFileInfo(source.toLocalFile()).isFile()) showNotice();

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
            emit MediaChange(url_);
        });
    }

    updatePicture();
    updateSlider(0);
    updatePlayState();
    if (autoStart_) play();
}

bool MediaPlayer::clipOpen() const { return engineIdle_ || !engineSource().isEmpty(); }

void MediaPlayer::wakeEngine()
{
    if (!engineIdle_) return;
    engineIdle_ = false;
    reopening_ = true;
    engine()->setSource(SourceUrl(url_));
    reopening_ = false;
}

void MediaPlayer::idleEngine()
{
    if (engineIdle_ || engineSource().isEmpty() || hasPicture() || !clip_.hasAudio || clip_.duration <= 0)
        return;
    if (player_->playbackState() != QMediaPlayer::StoppedState) return;
    reopening_ = true;
    player_->setSource(QUrl());
    engineIdle_ = true;
    reopening_ = false;
}

void MediaPlayer::play()
{
    if (!clipOpen()) return;
    wakeEngine();
    stillShown_ = false;   // the engine's pictures follow on from the frame shown
    player_->play();
    holdSeeksForFirstFrame();
}

void MediaPlayer::pause()
{
    if (engineSource().isEmpty()) return;   // an idle sound is stopped already
    player_->pause();
    holdSeeksForFirstFrame();
}

void MediaPlayer::holdSeeksForFirstFrame()
{
    if (frameShown_ || seekInFlight_ || !hasPicture()) return;
    seekInFlight_ = true;
    seekSettle_->start();
}

void MediaPlayer::stop()
{
    stillShown_ = false;
    pendingSeekMs_ = -1;
    seekInFlight_ = false;
    seekSettle_->stop();
    if (!engineSource().isEmpty()) player_->stop();
}

double MediaPlayer::currentPosition() const
{
    if (stillShown_) return stillTime_;
    if (pendingSeekMs_ >= 0) return pendingSeekMs_ / 1000.0;
    return player_ ? player_->position() / 1000.0 : 0.0;
}

void MediaPlayer::setCurrentPosition(double seconds)
{
    if (!clipOpen() || !std::isfinite(seconds)) return;
    wakeEngine();
    const double oldPosition = currentPosition();
    const double length = duration();
    seconds = std::max(0.0, seconds);
    if (length > 0) seconds = std::min(seconds, length);
    const qint64 ms = std::llround(seconds * 1000);
    stillShown_ = false;
    seekTo(ms);
    emit PositionChange(oldPosition, ms / 1000.0);
}

void MediaPlayer::seekTo(qint64 ms)
{
    if ((player_ && player_->mediaStatus() == QMediaPlayer::LoadingMedia) || seekInFlight_)
        pendingSeekMs_ = ms;
    else
        seekNow(ms);
    updateSlider(ms);
}

void MediaPlayer::showFrame(const QImage& picture, double seconds)
{
    if (engineSource().isEmpty() || picture.isNull() || !std::isfinite(seconds)) return;
    const double oldPosition = currentPosition();
    seconds = std::max(0.0, seconds);
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QVideoFrame frame(QVideoFrameFormat(image.size(),
                                        QVideoFrameFormat::pixelFormatFromImageFormat(image.format())));
    if (!frame.map(QVideoFrame::WriteOnly)) return;
    const qsizetype rowBytes = std::min<qsizetype>(image.bytesPerLine(), frame.bytesPerLine(0));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(frame.bits(0) + y * frame.bytesPerLine(0), image.constScanLine(y), size_t(rowBytes));
    frame.unmap();
    stillShown_ = true;
    stillTime_ = seconds;
    shownSink()->setVideoFrame(frame);
    seekTo(std::llround(seconds * 1000));
    emit PositionChange(oldPosition, seconds);
}

QVideoSink* MediaPlayer::videoSink() const { return shownSink(); }

QVideoSink* MediaPlayer::shownSink() const
{
    // Made with the first picture (or the first ask for one): a video sink starts the media
    // framework, which a window showing a sound never needs.
    if (!shownSink_) {
        shownSink_ = new QVideoSink(const_cast<MediaPlayer*>(this));
        video_->SetSink(shownSink_);
        full_->SetSink(shownSink_);
    }
    return shownSink_;
}

int MediaPlayer::controlBarHeight() const
{
    return bar_->isHidden() ? 0 : bar_->sizeHint().height();
}

void MediaPlayer::seekNow(qint64 ms)
{
    if (player_) player_->setPosition(ms);
    if (hasPicture()) {
        seekInFlight_ = true;
        seekSettle_->start();
    }
}

void MediaPlayer::seekSettled()
{
    seekInFlight_ = false;
    seekSettle_->stop();
    if (pendingSeekMs_ >= 0 && player_ && player_->mediaStatus() != QMediaPlayer::LoadingMedia)
        seekNow(std::exchange(pendingSeekMs_, -1));
}

int MediaPlayer::playState() const
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

int MediaPlayer::encodedFrameRate() const
{
    if (nativeSize().isEmpty()) return 0;
    double rate = player_ ? player_->metaData().value(QMediaMetaData::VideoFrameRate).toDouble() : 0.0;
    if (!(rate > 0)) rate = clip_.frameRate;
    return rate > 0 ? int(std::lround(rate)) : 0;
}

QSize MediaPlayer::nativeSize() const
{
    const QSize reported = player_ ? player_->metaData().value(QMediaMetaData::Resolution).toSize() : QSize();
    if (reported.width() > 0 && reported.height() > 0) return reported;
    return clip_.hasVideo() ? QSize(clip_.width, clip_.height) : QSize();
}

int MediaPlayer::imageSourceWidth() const { return std::max(0, nativeSize().width()); }
int MediaPlayer::imageSourceHeight() const { return std::max(0, nativeSize().height()); }

double MediaPlayer::duration() const
{
    if (engineIdle_) return clip_.duration;
    if (engineSource().isEmpty()) return 0;
    const qint64 ms = player_->duration();
    return ms > 0 ? ms / 1000.0 : clip_.duration;
}

void MediaPlayer::setFullScreen(bool on)
{
    if (on && video_->isHidden()) return;
    if (on == fullScreen()) return;
    if (!on) {
        full_->hide();
        return;
    }
    full_->showFullScreen();
    full_->raise();
    full_->activateWindow();
    full_->setFocus(Qt::OtherFocusReason);
}

bool MediaPlayer::fullScreen() const { return full_->isVisible(); }

void MediaPlayer::setStretchToFit(bool on)
{
    stretchToFit_ = on;
    layoutPicture();
}

void MediaPlayer::setControlsVisible(bool on)
{
    bar_->setVisible(on);
    layoutPicture();
}

bool MediaPlayer::controlsVisible() const { return !bar_->isHidden(); }

// Twips do not all fall on whole pixels: while the component is where Move put it, the twips
// Move was given read back unchanged, so a caller adding to them does not drift.
int MediaPlayer::Left() const
{
    return x() == movedPixels_.x() ? movedTwips_.x() : twips::FromPixels(x());
}

int MediaPlayer::Top() const
{
    return y() == movedPixels_.y() ? movedTwips_.y() : twips::FromPixels(y());
}

int MediaPlayer::Width() const
{
    return width() == movedPixels_.width() ? movedTwips_.width() : twips::FromPixels(width());
}

int MediaPlayer::Height() const
{
    return height() == movedPixels_.height() ? movedTwips_.height() : twips::FromPixels(height());
}

void MediaPlayer::Move(int left, int top, int width, int height)
{
    setGeometry(twips::ToPixels(left), twips::ToPixels(top), std::max(0, twips::ToPixels(width)),
                std::max(0, twips::ToPixels(height)));
    movedTwips_ = QRect(left, top, std::max(0, width), std::max(0, height));
    movedPixels_ = geometry();
}

QString MediaPlayer::errorString() const { return player_ ? player_->errorString() : QString(); }

QRect MediaPlayer::pictureRect() const
{
    if (video_->isHidden()) return QRect();
    return video_->geometry();
}

void MediaPlayer::updatePlayState()
{
    if (reopening_) return;
    const int state = playState();
    const bool open = state != Undefined;
    playAction_->setEnabled(open && state != Playing);
    pauseAction_->setEnabled(state == Playing);
    stopAction_->setEnabled(open && state != Stopped);
    if (state != lastState_) {
        lastState_ = state;
        emit PlayStateChange(state);
    }
}

bool MediaPlayer::hasPicture() const
{
    return !nativeSize().isEmpty() && ((player_ && player_->hasVideo()) || clip_.hasVideo());
}

void MediaPlayer::updatePicture()
{
    const bool picture = hasPicture();
    if (!picture) setFullScreen(false);
    video_->setVisible(picture);
    fullScreenAction_->setEnabled(picture);
    layoutPicture();
}

void MediaPlayer::layoutPicture()
{
    const int barHeight = bar_->isHidden() ? 0 : std::min(height(), bar_->sizeHint().height());
    bar_->setGeometry(0, height() - barHeight, width(), barHeight);
    if (video_->isHidden()) return;

    const QRect area(0, 0, width(), height() - barHeight);
    QSize size = nativeSize();
    if (size.isEmpty()) {
        video_->setGeometry(area);
        return;
    }
    // The picture keeps its proportions; without stretch it is never enlarged.
    if (stretchToFit_ || size.width() > area.width() || size.height() > area.height())
        size = size.scaled(area.size(), Qt::KeepAspectRatio);
    QRect picture(QPoint(0, 0), size);
    picture.moveCenter(area.center());
    // moveCenter rounds towards the top left; keep the picture inside the area.
    picture.moveLeft(std::max(0, area.left() + (area.width() - size.width()) / 2));
    picture.moveTop(std::max(0, area.top() + (area.height() - size.height()) / 2));
    video_->setGeometry(picture);
}

void MediaPlayer::updateSlider(qint64 positionMs)
{
    if (slider_->isSliderDown()) return;
    const QSignalBlocker quiet(slider_);
    const int length = int(std::llround(duration() * 1000));
    slider_->setRange(0, length);
    slider_->setPageStep(std::max(1, length / 10));   // a click beside the handle: a tenth
    slider_->setValue(int(positionMs));
}

void MediaPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPicture();
}

void MediaPlayer::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // A popup menu borrows the focus only while it is open.
    if (event->reason() != Qt::PopupFocusReason) emit GotFocus();
}

void MediaPlayer::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) emit LostFocus();
}

void MediaPlayer::contextMenuEvent(QContextMenuEvent* event)
{
    if (!contextMenu_) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    menu.addAction(playAction_);
    menu.addAction(pauseAction_);
    menu.addAction(stopAction_);
    menu.addSeparator();
    menu.addAction(fullScreenAction_);
    menu.exec(event->globalPos());
}

void MediaPlayer::paintEvent(QPaintEvent*)
{
    // Black around a picture, as players show it; a sound has no picture and no black area.
    QPainter painter(this);
    painter.fillRect(rect(), hasPicture() ? QColor(Qt::black) : palette().color(QPalette::Window));
    if (notice_.isEmpty()) return;
    const int barHeight = bar_->isHidden() ? 0 : bar_->height();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, width(), height() - barHeight).adjusted(6, 6, -6, -6),
                     Qt::AlignCenter | Qt::TextWordWrap, notice_);
}

void MediaPlayer::showNotice()
{
    const QUrl source = SourceUrl(url_);
    const QString name = source.isLocalFile() ? QFileInfo(source.toLocalFile()).fileName() : url_;
    notice_ = LoadText(780) + name;
    video_->hide();
    update();
}
