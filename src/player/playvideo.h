#pragma once
// The video player window: one per opened clip. A row of buttons and the playing time above the
// picture; steps frame by frame, full screen and native size. It holds two playback components:
// WindowsMediaPlayer1, with its own control bar, and ActiveMovie1, a bare one that the
// Automatic choice sends .avi, .mpg and .asf clips to. The sizing, routing and frame finding are
// plain classes; this window turns events into calls to them.
#include "platform/ui/PlaybackChoice.h"

#include <QImage>
#include <QMainWindow>
#include <memory>

class FrameStepper;
class MediaPlayer;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

class playvideo : public QMainWindow {
    Q_OBJECT
public:
    // windowCounter: the player window counter when the window is made. 0 makes the default
    // window, which is never shown: it asks for a clip, opens it in a new window and closes.
    explicit playvideo(int windowCounter, QWidget* parent = nullptr);
    ~playvideo() override;

    // Opens the clip in the component the window's playback choice routes it to.
    void Route(const QString& path);
    // Keeps the clip's path and the window number; caption, date and size labels.
    void LoadFileData(const QString& path, int windowNumber);
    // Sizes the window to its clip; run when a component has loaded a new clip.
    void InitStart();
    // One frame forward (+1) or back (-1), as the buttons (fromMenu false) or the menus do.
    void StepFrame(int direction, bool fromMenu);
    void Zoom();
    void Restore();

    PlaybackChoice playbackChoice() const;
    void setPlaybackChoice(PlaybackChoice choice);

    // The component showing the clip (the visible one), or null when neither is visible.
    MediaPlayer* component() const;
    // The picture on screen at its own size (what Image Save writes and Copy copies); null when
    // there is none.
    QImage pictureShown() const;
    QString clipPath() const { return path_; }
    int windowNumber() const { return number_; }

    // "resize" once the window has sized itself to its clip: the resize rule applies from then.
    QString Tag;

    MediaPlayer* WindowsMediaPlayer1 = nullptr;
    MediaPlayer* ActiveMovie1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    QAction* menuItem(QMenu* menu, const char* name, const QString& text);
    void connectComponent(MediaPlayer* player);
    void openClip();
    void play();
    void showTime();
    void choose(PlaybackChoice choice);
    void closeWindow();
    void exitProgram();
    // The window's place in the frame (title bar and borders included), in twips.
    QWidget* outer();
    void moveWindow(const QRect& twipRect);
    QSize windowTwips();
    // What the window adds around its client area: borders, title and menu bars.
    QSize frameTwips();
    int controlBarTwips(const MediaPlayer* player) const;
    FrameStepper* stepper();

    QString path_;
    int number_ = 0;
    std::unique_ptr<FrameStepper> stepper_;
    bool stepperTried_ = false;

    QWidget* surface_ = nullptr;
    QPushButton* cmdopen = nullptr;
    QPushButton* cmdpreviousframe = nullptr;
    QPushButton* cmdnextframe = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Closebutton = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QTimer* Timer1 = nullptr;
    QAction* mnusettinga = nullptr;
    QAction* mnusettingwmp = nullptr;
    QAction* mnusettingamp = nullptr;
};
