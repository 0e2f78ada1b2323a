#pragma once
// The media player component that the sound analyser and the video player embed
// (`WindowsMediaPlayer1`): opens a clip from a URL, plays, pauses and stops it, reports and sets
// the position in seconds, and tells what the clip is (frame rate, picture size, length).
//
// Inside it holds the picture (a VideoPicture, hidden for sound-only clips) above a slim control
// bar (play, halt, stop, position slider), and a context menu with the same commands and full
// screen. Playback is a MediaEngine, which this component drives and shows. The engine's
// pictures pass through the component on their way to the screen, so that a caller
// can put a picture of its own in their place while the clip is paused (showFrame).
//
// Play states are the component's numbers: 0 nothing open, 1 stopped (also a clip that is open
// but has not been played yet, and one that has played to its end), 2 paused, 3 playing.
//
// Events arrive as signals, on the interface thread:
//   PlayStateChange(newState)               whenever playState() changes
//   PositionChange(oldPosition, newPosition) when the position is set (setCurrentPosition or the
//                                           user's slider), not while the clip simply plays on
//   MediaChange(item)                       a newly opened clip has loaded; item is its URL as set
//   DurationUnitChange(newDurationUnit)     never sent: durations are always in seconds
//   GotFocus(), LostFocus()                 the component got or lost the keyboard focus
#include "platform/video/ClipInfo.h"
#include "platform/video/MediaEngine.h"

#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QSlider;
class QVideoSink;
class VideoPicture;

class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    enum PlayState {
        Undefined = MediaEngine::Undefined,
        Stopped = MediaEngine::Stopped,
        Paused = MediaEngine::Paused,
        Playing = MediaEngine::Playing
    };

    explicit MediaPlayer(QWidget* parent = nullptr);
    ~MediaPlayer() override;

    // Opens the clip named by text: "file:\" or "file:\\" followed by a path (any run of back
    // or forward slashes after the scheme), a file URL ("file:///path"), a plain path, or
    // another URL (http...). Setting it again, even to the same text, reopens the clip: position
    // 0, stopped. An empty text closes the clip. With autoStart on, playback begins at once.
    void setURL(const QString& text);
    QString URL() const { return engine_->url(); }
    // The URL the text above stands for (an absolute file URL for a local file).
    static QUrl SourceUrl(const QString& text);

    // The component's own Visible flag: true unless hidden, whether or not its window is shown.
    bool Visible() const { return !isHidden(); }

    void play();
    void pause();   // the position is kept
    void stop();    // back to position 0

    // Position in seconds. Writing it seeks (clamped to 0..duration) and sends PositionChange.
    double currentPosition() const;
    void setCurrentPosition(double seconds);

    int playState() const;

    // Frames per second of the clip's video, rounded to a whole number; 0 without video.
    int encodedFrameRate() const;
    // The picture's native size in pixels; 0 without video.
    int imageSourceWidth() const;
    int imageSourceHeight() const;
    // Length of the clip in seconds; 0 before it is known or with nothing open.
    double duration() const;

    // Shows a picture the caller decoded, as the frame at the given position, until the clip
    // plays, stops, reopens or is sought again: the engine goes to that position too (so that
    // playing goes on from there), but its own picture stays hidden. The position reads back
    // exactly as given; PositionChange is sent. Nothing happens with no clip open.
    void showFrame(const QImage& picture, double seconds);
    bool showingFrame() const { return stillShown_; }
    // The sink of the picture on screen: every picture shown passes through it.
    QVideoSink* videoSink() const;
    // Height in pixels of the control bar while it is shown, 0 while hidden.
    int controlBarHeight() const;

    // Full screen shows the picture alone on the whole screen, in a window of its own; Escape
    // or a double-click on it returns. The picture in the component stays where it was, so
    // leaving full screen changes nothing in the window. Only a clip with a picture goes full
    // screen.
    void setFullScreen(bool on);
    bool fullScreen() const;
    // Off (the default), a picture is never drawn larger than its native size: it is centred in
    // a larger component and shrunk, keeping its proportions, in a smaller one. On, it fills the
    // component keeping its proportions.
    void setStretchToFit(bool on);
    bool stretchToFit() const { return stretchToFit_; }
    // Whether a right click opens the component's menu (on by default).
    void setEnableContextMenu(bool on) { contextMenu_ = on; }
    bool enableContextMenu() const { return contextMenu_; }
    // Whether opening a clip starts playing it (off by default).
    void setAutoStart(bool on) { autoStart_ = on; }
    bool autoStart() const { return autoStart_; }
    // Shows or hides the control bar below the picture (shown by default).
    void setControlsVisible(bool on);
    bool controlsVisible() const;

    // Placement inside the parent, in twips (15 per pixel). What Move set reads back exactly
    // while the component stays where Move put it.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);

    // The engine's message for the last failure to open or play the clip; empty when none.
    QString errorString() const;
    // What the component shows in its picture area in place of a clip it cannot play (a file
    // that holds no media this system reads, or one the engine gave up on): "This file cannot
    // be played: " and the file's name. Empty while the clip plays or nothing is open.
    QString notice() const { return notice_; }
    // What libavformat read from the open local file (empty for other URLs).
    const ClipInfo& clipInfo() const { return engine_->clipInfo(); }
    // Where the picture is drawn inside the component, in pixels (empty while it is hidden, as
    // for a sound).
    QRect pictureRect() const;

signals:
    void PlayStateChange(int newState);
    void PositionChange(double oldPosition, double newPosition);
    void DurationUnitChange(int newDurationUnit);
    void MediaChange(const QString& item);
    void GotFocus();
    void LostFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showPlayState(int state);
    void updatePicture();
    void layoutPicture();
    void showNotice();
    void updateSlider(qint64 positionMs);
    void seekTo(qint64 ms);   // the engine's seek, and the slider at once

    MediaEngine* engine_;
    QVideoSink* shownSink() const;
    mutable QVideoSink* shownSink_ = nullptr;   // the pictures on screen, in the window and full screen
    VideoPicture* video_;
    VideoPicture* full_;            // the full-screen view, a window of its own
    QWidget* bar_;
    QSlider* slider_;
    QAction* playAction_;
    QAction* pauseAction_;
    QAction* stopAction_;
    QAction* fullScreenAction_;

    bool stillShown_ = false;       // a caller's picture is on screen in place of the engine's
    double stillTime_ = 0;          // its position, seconds
    QRect movedTwips_;              // the last Move, and the pixels it gave
    QRect movedPixels_;
    bool stretchToFit_ = false;
    bool contextMenu_ = true;
    bool autoStart_ = false;
    QString notice_;
};
