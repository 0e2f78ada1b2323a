// The analyser window's playback: the play buttons, the media player, and the play cursor that
// follows the sound over the graph with the time and sample read-outs. The cursor maths is
// PlaybackCursor's; this file feeds it the player's position and moves the lines.
#include "sound/WavForm.h"

#include "general/General.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/TwipLayout.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
// The cursor is refreshed about as often as the screen is; the position read-outs with it.
constexpr int kCursorRefreshMs = 16;
}

void WavForm::connectPlayback()
{
    // The timer runs while the sound plays: a window that shows a sound costs nothing at rest.
    ui_.Timer1->setInterval(kCursorRefreshMs);
    MediaPlayer* player = ui_.WindowsMediaPlayer1;

    connect(ui_.Timer1, &QTimer::timeout, this, [this, player] {
        if (!player->Visible()) return;
        switch (analyser_->CursorTick(player->currentPosition())) {
        case StretchPlayback::Step::Go: break;
        case StretchPlayback::Step::Stop:
            // The selection has played: the player waits at its end, where the cursor stands.
            player->pause();
            player->setCurrentPosition(analyser_->stretchPlayback().stretch().end);
            setPlayButtonsEnabled(true);
            break;
        case StretchPlayback::Step::Rewind:
            player->setCurrentPosition(analyser_->stretchPlayback().stretch().start);
            break;
        }
        showCursor();
    });
    connect(player, &MediaPlayer::PositionChange, this, [this, player](double, double now) {
        analyser_->CursorMoved(now, player->duration());
        showCursor();
    });
    connect(player, &MediaPlayer::GotFocus, this, [this, player] {
        analyser_->PlayerFocus(true, player->duration());
        showCursor();
    });
    connect(player, &MediaPlayer::LostFocus, this, [this, player] {
        analyser_->PlayerFocus(false, player->duration());
        showCursor();
    });
    // The cursor also shows while the sound plays from the buttons, which move the focus to the
    // graph: otherwise the class would never see it move.
    connect(player, &MediaPlayer::PlayStateChange, this, [this, player](int state) {
        if (state == MediaPlayer::Playing) analyser_->PlayerFocus(true, player->duration());
        state == MediaPlayer::Playing ? ui_.Timer1->start() : ui_.Timer1->stop();
        showCursor();
    });

    connect(ui_.playButton, &QPushButton::clicked, this, [this] { play(false); });
    connect(ui_.loopButton, &QPushButton::clicked, this, [this] { play(true); });
    connect(ui_.continueButton, &QPushButton::clicked, this, [this, player] {
        if (!document().loaded) return;
        analyser_->EndStretch();
        ui_.Picture2->setFocus();
        player->play();
        setPlayButtonsEnabled(false);
    });
    connect(ui_.haltButton, &QPushButton::clicked, this, [this, player] {
        ui_.Picture2->setFocus();
        if (!document().loaded || !analyser_->selection().windowReady()) return;
        player->pause();
        setPlayButtonsEnabled(false);
    });
    connect(ui_.stopButton, &QPushButton::clicked, this, [this, player] {
        if (!document().loaded) return;
        analyser_->EndStretch();
        ui_.Picture2->setFocus();
        player->pause();
        setPlayButtonsEnabled(true);
    });
}

void WavForm::play(bool fromSelectionStart)
{
    ui_.Picture2->setFocus();
    analyser_->EndStretch();
    if (fromSelectionStart) {
        // "&Loop" plays from the selection's start.
        const double initial = general::Val(analyser_->selection().readout().initialSample);
        ui_.WindowsMediaPlayer1->setCurrentPosition(
            PlaybackCursor::LoopStartSeconds(initial, document().sampleRate()));
        ui_.WindowsMediaPlayer1->play();
        return;
    }
    if (!document().loaded) return;
    // Play opens the sound afresh, from its start. The file is the one drawn: the caption no
    // longer holds the bare path once the sound was saved under another name.
    ui_.WindowsMediaPlayer1->setURL("file:\\\\" + document().samplesFile);
    ui_.WindowsMediaPlayer1->play();
    setPlayButtonsEnabled(false);
}

void WavForm::playStretch(bool loop)
{
    if (!document().loaded) return;
    MediaPlayer* player = ui_.WindowsMediaPlayer1;
    if (analyser_->stretchPlayback().active() && player->playState() == MediaPlayer::Playing) {
        analyser_->EndStretch();
        player->pause();
        setPlayButtonsEnabled(true);
        return;
    }
    const StretchPlayback::Stretch stretch = analyser_->StartStretch(loop);
    if (!analyser_->stretchPlayback().active()) return;
    if (player->URL().isEmpty()) player->setURL("file:\\\\" + document().samplesFile);
    player->setCurrentPosition(stretch.start);
    player->play();
    setPlayButtonsEnabled(false);
    showCursor();
}

void WavForm::setPlayButtonsEnabled(bool on)
{
    ui_.playButton->setEnabled(on);
    ui_.continueButton->setEnabled(on);
}

void WavForm::showCursor()
{
    const PlaybackCursor& cursor = analyser_->cursor();
    ui_.Text1->setText(cursor.Text1());
    ui_.Text2->setText(cursor.Text2());
    for (QFrame* line : ui_.cursorLines) {
        ui_.layout->move(line, cursor.x(), 0);
        line->setVisible(cursor.linesVisible() && !line->parentWidget()->isHidden());
    }
}
