// The analyser window's playback: the play buttons, the media player, and the play cursor that
// follows the sound over the graph with the time and sample read-outs. The cursor maths is
// PlaybackCursor's; this file feeds it the player's position and moves the lines.
#include "sound/WavForm.h"

#include "general/General.h"
#include "platform/MediaPlayer.h"
#include "platform/PictureBox.h"
#include "platform/TwipLayout.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
// The cursor is refreshed about as often as the screen is; the position read-outs with it.
constexpr int kCursorRefreshMs = 16;
}

void WavForm::connectPlayback()
{
    WindowsMediaPlayer1 = new MediaPlayer(canvasBox_);
    WindowsMediaPlayer1->setObjectName("WindowsMediaPlayer1");
    layout_->place(WindowsMediaPlayer1, 5600, 6940, 1700, 450);
    Timer1->setInterval(kCursorRefreshMs);
    Timer1->start();

    connect(Timer1, &QTimer::timeout, this, [this] {
        if (!WindowsMediaPlayer1->Visible()) return;
        cursor_.TimerTick(WindowsMediaPlayer1->currentPosition());
        showCursor();
    });
    connect(WindowsMediaPlayer1, &MediaPlayer::PositionChange, this, [this](double, double now) {
        cursor_.PositionChanged(now, graphWidth(), WindowsMediaPlayer1->duration());
        showCursor();
    });
    connect(WindowsMediaPlayer1, &MediaPlayer::GotFocus, this, [this] {
        cursor_.FocusGained(graphWidth(), WindowsMediaPlayer1->duration());
        showCursor();
    });
    connect(WindowsMediaPlayer1, &MediaPlayer::LostFocus, this, [this] {
        cursor_.FocusLost();
        showCursor();
    });
    // The cursor also shows while the sound plays from the buttons, which move the focus to the
    // graph: otherwise the class would never see it move.
    connect(WindowsMediaPlayer1, &MediaPlayer::PlayStateChange, this, [this](int state) {
        if (state == MediaPlayer::Playing) cursor_.FocusGained(graphWidth(), WindowsMediaPlayer1->duration());
        showCursor();
    });

    connect(findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, [this] { playButton(false); });
    connect(findChild<QPushButton*>("Command4"), &QPushButton::clicked, this, [this] {
        if (!doc_.loaded) return;
        Picture2->setFocus();
        WindowsMediaPlayer1->play();
        setPlayButtonsEnabled(false);
    });
    connect(findChild<QPushButton*>("Command9"), &QPushButton::clicked, this, [this] { playButton(true); });
    connect(findChild<QPushButton*>("Command2"), &QPushButton::clicked, this, [this] {
        Picture2->setFocus();
        if (!doc_.loaded || !selection_.windowReady()) return;
        WindowsMediaPlayer1->pause();
        setPlayButtonsEnabled(false);
    });
    connect(findChild<QPushButton*>("Command3"), &QPushButton::clicked, this, [this] {
        if (!doc_.loaded) return;
        Picture2->setFocus();
        WindowsMediaPlayer1->pause();
        setPlayButtonsEnabled(true);
    });
}

void WavForm::playButton(bool fromSelectionStart)
{
    Picture2->setFocus();
    if (fromSelectionStart) {
        // "&Loop" plays from the selection's start.
        const double initial = general::Val(selection_.readout().initialSample);
        WindowsMediaPlayer1->setCurrentPosition(PlaybackCursor::LoopStartSeconds(initial, doc_.sampleRate()));
        WindowsMediaPlayer1->play();
        return;
    }
    if (!doc_.loaded) return;
    // Play opens the sound afresh, from its start. The file is the one drawn: the caption no
    // longer holds the bare path once the sound was saved under another name.
    WindowsMediaPlayer1->setURL("file:\\\\" + doc_.samplesFile);
    WindowsMediaPlayer1->play();
    setPlayButtonsEnabled(false);
}

void WavForm::setPlayButtonsEnabled(bool on)
{
    findChild<QPushButton*>("Command1")->setEnabled(on);
    findChild<QPushButton*>("Command4")->setEnabled(on);
}

void WavForm::showCursor()
{
    Text1->setText(cursor_.Text1());
    Text2->setText(cursor_.Text2());
    const bool visible = cursor_.linesVisible();
    for (const char* name : {"Line1", "Line2", "Line3", "Line4"}) {
        QFrame* line = findChild<QFrame*>(name);
        layout_->move(line, cursor_.x(), 0);
        line->setVisible(visible && !line->parentWidget()->isHidden());
    }
}
