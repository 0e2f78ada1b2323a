#include "platform/video/MediaPlayer.h"

#include "platform/ui/Twips.h"
#include "platform/video/VideoPicture.h"
#include "text/LoadText.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

QUrl MediaPlayer::SourceUrl(const QString& text) { return MediaEngine::SourceUrl(text); }

MediaPlayer::MediaPlayer(QWidget* parent)
    : QWidget(parent), engine_(new MediaEngine(this)), video_(new VideoPicture(nullptr, this)),
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

    connect(engine_, &MediaEngine::stateChanged, this, [this](int state) {
        showPlayState(state);
        emit PlayStateChange(state);
    });
    connect(engine_, &MediaEngine::positionMoved, this, &MediaPlayer::updateSlider);
    connect(engine_, &MediaEngine::pictureChanged, this, &MediaPlayer::updatePicture);
    connect(engine_, &MediaEngine::failed, this, &MediaPlayer::showNotice);
    connect(engine_, &MediaEngine::loaded, this, [this] {
        if (notice_.isEmpty()) return;
        notice_.clear();
        update();
    });
    connect(engine_, &MediaEngine::mediaChanged, this, [this] { emit MediaChange(URL()); });
    // The engine's pictures reach the screen here unless a caller's picture stands in their place.
    connect(engine_, &MediaEngine::frameArrived, this, [this](const QVideoFrame& frame) {
        if (!stillShown_) shownSink()->setVideoFrame(frame);
    });
    showPlayState(Undefined);
}

MediaPlayer::~MediaPlayer()
{
    // The engine goes first, while every part of the component it reports to is still here.
    delete engine_;
}

void MediaPlayer::setURL(const QString& text)
{
    stillShown_ = false;
    notice_.clear();
    engine_->open(text);
    updatePicture();
    updateSlider(0);
    engine_->reportPlayState();
    if (autoStart_) play();
}

void MediaPlayer::play()
{
    if (!engine_->isOpen()) return;
    stillShown_ = false;   // the engine's pictures follow on from the frame shown
    engine_->play();
}

void MediaPlayer::pause() { engine_->pause(); }

void MediaPlayer::stop()
{
    stillShown_ = false;
    engine_->stop();
}

double MediaPlayer::currentPosition() const
{
    return stillShown_ ? stillTime_ : engine_->position();
}

void MediaPlayer::setCurrentPosition(double seconds)
{
    if (!engine_->isOpen() || !std::isfinite(seconds)) return;
    engine_->wake();
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
    engine_->seekTo(ms);
    updateSlider(ms);
}

void MediaPlayer::showFrame(const QImage& picture, double seconds)
{
    if (!engine_->hasSource() || picture.isNull() || !std::isfinite(seconds)) return;
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

int MediaPlayer::playState() const { return engine_->playState(); }
int MediaPlayer::encodedFrameRate() const { return engine_->encodedFrameRate(); }
int MediaPlayer::imageSourceWidth() const { return std::max(0, engine_->nativeSize().width()); }
int MediaPlayer::imageSourceHeight() const { return std::max(0, engine_->nativeSize().height()); }
double MediaPlayer::duration() const { return engine_->duration(); }

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

QString MediaPlayer::errorString() const { return engine_->errorString(); }

QRect MediaPlayer::pictureRect() const
{
    if (video_->isHidden()) return QRect();
    return video_->geometry();
}

void MediaPlayer::showPlayState(int state)
{
    const bool open = state != Undefined;
    playAction_->setEnabled(open && state != Playing);
    pauseAction_->setEnabled(state == Playing);
    stopAction_->setEnabled(open && state != Stopped);
}

void MediaPlayer::updatePicture()
{
    const bool picture = engine_->hasPicture();
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
    QSize size = engine_->nativeSize();
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
    painter.fillRect(rect(), engine_->hasPicture() ? QColor(Qt::black) : palette().color(QPalette::Window));
    if (notice_.isEmpty()) return;
    const int barHeight = bar_->isHidden() ? 0 : bar_->height();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, width(), height() - barHeight).adjusted(6, 6, -6, -6),
                     Qt::AlignCenter | Qt::TextWordWrap, notice_);
}

void MediaPlayer::showNotice()
{
    const QUrl source = SourceUrl(URL());
    const QString name = source.isLocalFile() ? QFileInfo(source.toLocalFile()).fileName() : URL();
    notice_ = LoadText(780) + name;
    video_->hide();
    update();
}
