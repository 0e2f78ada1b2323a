// The player window's view of its clip: sizing to the clip and to the user's resizing, the frame
// steps, full screen and native size, and the time read-out.
#include "player/playvideo.h"

#include "general/General.h"
#include "platform/ui/BusyPointer.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/Twips.h"
#include "platform/video/ClipReader.h"
#include "player/FrameStepper.h"
#include "player/PlayerSizing.h"

#include <QLineEdit>
#include <QMdiSubWindow>

#include <algorithm>

QWidget* playvideo::outer()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void playvideo::moveWindow(const QRect& r)
{
    outer()->setGeometry(twips::ToPixels(r.left()), twips::ToPixels(r.top()),
                         twips::ToPixels(r.width()), twips::ToPixels(r.height()));
}

QSize playvideo::windowTwips()
{
    const QSize px = outer()->size();
    return QSize(twips::FromPixels(px.width()), twips::FromPixels(px.height()));
}

QSize playvideo::frameTwips()
{
    const QSize extra = outer()->size() - surface_->size();
    return QSize(twips::FromPixels(std::max(0, extra.width())), twips::FromPixels(std::max(0, extra.height())));
}

int playvideo::controlBarTwips(const MediaPlayer* player) const
{
    return player ? twips::FromPixels(player->controlBarHeight()) : 0;
}

void playvideo::InitStart()
{
    Text1->setText("0");
    if (outer()->isMinimized() || outer()->isMaximized()) return;
    MediaPlayer* shown = component();
    QSize picture;
    if (shown) {
        picture = QSize(shown->imageSourceWidth(), shown->imageSourceHeight());
        shown->setEnableContextMenu(true);
    }
    MediaPlayer* placed = shown ? shown : WindowsMediaPlayer1;
    auto sized = [&] {
        return player_sizing::InitStartLayout(shown != nullptr, picture, twips::PerPixel, twips::PerPixel,
                                              controlBarTwips(shown), frameTwips(), placed->Left(),
                                              placed->Top());
    };
    // Sized once, the window's bars and borders measure what they take; sized again with them.
    moveWindow(sized().window);
    const PlayerLayout layout = sized();
    moveWindow(layout.window);
    placed->Move(layout.component.left(), layout.component.top(), layout.component.width(),
                 layout.component.height());
    Tag = "resize";
}

void playvideo::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    MediaPlayer* shown = component();
    if (Tag != "resize" || !shown) return;
    QRect r = player_sizing::ResizedComponent(windowTwips(), shown->Left(), shown->Top());
    // The component stays inside the window: below its client area it would hide its controls.
    const int roomBelow = twips::FromPixels(surface_->height()) - r.top();
    r.setHeight(std::clamp(r.height(), 0, std::max(0, roomBelow)));
    shown->Move(r.left(), r.top(), r.width(), r.height());
}

FrameStepper* playvideo::stepper()
{
    if (!stepperTried_) {
        stepperTried_ = true;
        if (std::unique_ptr<ClipReader> reader = ClipReader::OpenVideo(path_))
            stepper_ = std::make_unique<FrameStepper>(std::move(reader));
    }
    return stepper_.get();
}

void playvideo::StepFrame(int direction, bool fromMenu)
{
    MediaPlayer* c = component() ? component() : WindowsMediaPlayer1;
    if (c->playState() == MediaPlayer::Stopped) {
        c->play();
        if (!fromMenu) {
            // The button only shows the first frame, paused.
            c->pause();
            return;
        }
    }
    c->pause();
    const int rate = c->encodedFrameRate();
    if (rate == 0) return;   // no frame duration: the position stays
    const double position = c->currentPosition();
    BusyPointer busy;
    // The frame is found by decoding, so that the step lands on it exactly; a clip the decoder
    // cannot read steps by one frame duration.
    if (FrameStepper* frames = stepper()) {
        if (std::optional<DecodedFrame> frame = frames->Step(position, direction)) {
            c->showFrame(frame->picture, frame->time);
            return;
        }
    }
    c->setCurrentPosition(position + direction / double(rate));
}

void playvideo::Zoom()
{
    if (MediaPlayer* c = component()) {
        c->setFullScreen(true);
        c->setStretchToFit(true);
    }
}

void playvideo::Restore()
{
    MediaPlayer* c = component();
    if (!c) return;
    c->pause();
    c->setFullScreen(false);
    const QSize picture(c->imageSourceWidth(), c->imageSourceHeight());
    // A clip without a picture has no native size: the window stays as it is.
    if (!picture.isEmpty()) {
        auto sized = [&] {
            return player_sizing::RestoreLayout(picture, twips::PerPixel, twips::PerPixel,
                                                controlBarTwips(c), frameTwips());
        };
        moveWindow(sized().window);
        const PlayerLayout layout = sized();
        moveWindow(layout.window);
        c->Move(layout.component.left(), layout.component.top(), layout.component.width(),
                layout.component.height());
    }
    c->play();
    Tag = "resize";
}

void playvideo::showTime()
{
    if (MediaPlayer* c = component()) {
        const QString text = general::Format(c->currentPosition(), u"####.000");
        if (Text1->text() != text) Text1->setText(text);
    }
}
