#pragma once
// The playback side of the media player component: opens a clip, plays, pauses, stops and seeks
// it, and tells its state, position, length and picture size. No widgets: MediaPlayer shows
// what this reports and turns the user's commands into calls here.
//
// The engine itself (QMediaPlayer with a QAudioOutput on the default output device and a video
// sink for its pictures) is made only when a clip is first handed to it. A sound alone (a local
// file that holds no picture) is handed to it only while it plays or is paused, so a window that
// shows a sound keeps no stream open on the sound server.
//
// Signals, on the interface thread:
//   stateChanged(state)     playState() changed (the component's numbers, below)
//   positionMoved(ms)       the engine's position or the clip's length changed
//   pictureChanged()        what is known about the clip's picture changed
//   loaded()                the engine has loaded the clip (again)
//   mediaChanged()          a newly opened clip has loaded; sent once per open
//   failed()                the clip cannot be played: nothing readable in the file, or the
//                           engine gave up on it
//   frameArrived(frame)     a picture the engine decoded, on its way to the screen
#include "platform/video/ClipInfo.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QUrl>

class QAudioOutput;
class QMediaPlayer;
class QTimer;
class QVideoFrame;
class QVideoSink;

class MediaEngine : public QObject {
    Q_OBJECT
public:
    // 0 nothing open, 1 stopped (also a clip that is open but has not been played yet, and one
    // that has played to its end), 2 paused, 3 playing.
    enum PlayState { Undefined = 0, Stopped = 1, Paused = 2, Playing = 3 };

    explicit MediaEngine(QObject* parent = nullptr);
    ~MediaEngine() override;

    // The URL a clip's text stands for (see MediaPlayer::setURL).
    static QUrl SourceUrl(const QString& text);

    // Opens the clip named by text, stopped at position 0, also when it is the one already
    // open; an empty text closes it. The new state is sent by reportPlayState(), which the
    // caller calls once it has shown the clip.
    void open(const QString& text);
    QString url() const { return url_; }
    const ClipInfo& clipInfo() const { return clip_; }

    // A clip is open (a sound alone counts, handed to the engine or not).
    bool isOpen() const { return engineIdle_ || hasSource(); }
    // The clip is handed to the engine now.
    bool hasSource() const;
    // Hands an open sound to the engine, if it is not there yet.
    void wake();

    void play();
    void pause();
    void stop();
    // Goes to a position now, or once the clip has loaded and the last seek's frame has arrived.
    void seekTo(qint64 ms);
    // Seconds; a position waiting to be sought reads back already.
    double position() const;

    int playState() const;
    // Sends stateChanged when playState() differs from the one last sent.
    void reportPlayState();
    double duration() const;
    int encodedFrameRate() const;
    QSize nativeSize() const;
    // The clip has a picture to show.
    bool hasPicture() const;
    QString errorString() const;

signals:
    void stateChanged(int state);
    void positionMoved(qint64 ms);
    void pictureChanged();
    void loaded();
    void mediaChanged();
    void failed();
    void frameArrived(const QVideoFrame& frame);

private:
    QMediaPlayer* engine();
    QUrl engineSource() const;
    void idle();
    void seekNow(qint64 ms);
    void seekSettled();
    void holdSeeksForFirstFrame();

    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    QVideoSink* engineSink_ = nullptr;   // what the engine decodes, before it is shown
    QTimer* seekSettle_;

    QString url_;
    ClipInfo clip_;
    int lastState_ = Undefined;
    qint64 pendingSeekMs_ = -1;     // a position written while the clip was opening or seeking
    bool seekInFlight_ = false;     // a seek in a picture clip whose frame has not arrived yet
    bool frameShown_ = false;       // the open clip's picture has reached the screen
    bool mediaAnnounced_ = true;    // mediaChanged already sent for the clip now open
    bool reopening_ = false;
    bool engineIdle_ = false;       // a sound alone, not handed to the engine now
};
