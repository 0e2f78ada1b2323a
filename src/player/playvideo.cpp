#include "player/playvideo.h"

#include "general/General.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/FrameServices.h"
#include "platform/video/MediaPlayer.h"
#include "platform/system/Process.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/ToolLinks.h"
#include "platform/ui/Twips.h"
#include "player/ClipFileLabels.h"
#include "player/ClipRouting.h"
#include "player/FrameStepper.h"
#include "player/OpenVideoWindow.h"
#include "player/PlayerSizing.h"
#include "text/LoadText.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

// The controls keep their twip places whatever the window's size: the component below them is
// sized in twips too, and neither scales with the window.
void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(width),
                         twips::ToPixels(height));
}

constexpr int kTextLeft = 1050;
constexpr int kTextWidth = 900;
constexpr int kRowTop = 540;
}

playvideo::playvideo(int windowCounter, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("playvideo");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    buildMenus();
    // The window's load.
    setWindowTitle(LoadText(516));
    if (FrameServices* frame = FrameServices::Instance()) {
        if (QWidget* main = frame->frameWindow()) setWindowIcon(main->windowIcon());
        setPlaybackChoice(frame->playbackChoice());
    }
    if (windowCounter == 0) {
        // The default window only asks for a clip; the clip opens in a window of its own.
        hide();
        QTimer::singleShot(0, this, [this] {
            openClip();
            close();
        });
    }
}

playvideo::~playvideo() = default;

void playvideo::buildControls()
{
    surface_ = new QWidget(this);
    surface_->setObjectName("playvideoSurface");
    setCentralWidget(surface_);
    auto button = [this](const char* name, const QString& text, int left, int width) {
        auto* b = new QPushButton(text, surface_);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::TabFocus);
        Place(b, left, 80, width, 345);
        return b;
    };
    cmdopen = button("cmdopen", LoadText(129), 50, 650);
    cmdpreviousframe = button("cmdpreviousframe", LoadText(700), 740, 800);
    cmdnextframe = button("cmdnextframe", LoadText(701), 1580, 650);
    Command6 = button("Command6", LoadText(137), 2270, 650);
    Command7 = button("Command7", LoadText(138), 2960, 800);
    Closebutton = button("Closebutton", LoadText(134), 3800, 650);
    timeLabel_ = new QLabel(LoadText(550), surface_);
    timeLabel_->setObjectName("lblTime");
    Place(timeLabel_, 50, kRowTop, kTextLeft - 50, 300);
    Text1 = new QLineEdit("0", surface_);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Place(Text1, kTextLeft, kRowTop, kTextWidth, 300);
    dateLabel_ = new QLabel(surface_);
    dateLabel_->setObjectName("lblDate");
    sizeLabel_ = new QLabel(surface_);
    sizeLabel_->setObjectName("lblSize");

    WindowsMediaPlayer1 = new MediaPlayer(surface_);
    ActiveMovie1 = new MediaPlayer(surface_);
    ActiveMovie1->setObjectName("ActiveMovie1");
    ActiveMovie1->setControlsVisible(false);
    ActiveMovie1->hide();
    for (MediaPlayer* player : {WindowsMediaPlayer1, ActiveMovie1}) {
        // A clip starts playing as soon as it opens.
        player->setAutoStart(true);
        player->Move(player_sizing::ComponentLeft, player_sizing::ComponentTop, 4800, 3600);
        connectComponent(player);
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &playvideo::showTime);

    connect(cmdopen, &QPushButton::clicked, this, &playvideo::openClip);
    connect(cmdnextframe, &QPushButton::clicked, this, [this] { StepFrame(+1, false); });
    connect(cmdpreviousframe, &QPushButton::clicked, this, [this] { StepFrame(-1, false); });
    connect(Command6, &QPushButton::clicked, this, &playvideo::Zoom);
    connect(Command7, &QPushButton::clicked, this, &playvideo::Restore);
    connect(Closebutton, &QPushButton::clicked, this, &playvideo::closeWindow);
    // The window at its first size, before a clip has sized it: a 320 x 240 picture's.
    const PlayerLayout first = player_sizing::InitStartLayout(true, QSize(320, 240), twips::PerPixel,
                                                              twips::PerPixel);
    resize(twips::ToPixels(first.window.width()), twips::ToPixels(first.window.height()));
}

void playvideo::connectComponent(MediaPlayer* player)
{
    connect(player, &MediaPlayer::PlayStateChange, this, [this](int state) {
        // The read-out follows the clip while it plays; pauses and seeks update it themselves.
        if (state == MediaPlayer::Playing) Timer1->start();
        else Timer1->stop();
        showTime();
    });
    connect(player, &MediaPlayer::PositionChange, this, &playvideo::showTime);
    connect(player, &MediaPlayer::MediaChange, this, &playvideo::InitStart);
    connect(player, &MediaPlayer::DurationUnitChange, this, [](int unit) {
        Prompts::Current().MsgBox(QString::number(unit), MsgButtons::OK, "New duration unit",
                                  MsgIcon::Information);
    });
}

QAction* playvideo::menuItem(QMenu* menu, const char* name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void playvideo::buildMenus()
{
    auto menu = [this](const char* name, int text) {
        QMenu* m = menuBar()->addMenu(LoadText(text));
        m->setObjectName(name);
        return m;
    };
    using Tool = FrameServices::Tool;
    QMenu* file = menu("mnufile", 101);
    connect(menuItem(file, "mnuopen", LoadText(129)), &QAction::triggered, this, &playvideo::openClip);
    menuItem(file, "mnuaudiosavewhole", LoadText(553));
    connect(menuItem(file, "mnuimagesavewhole", LoadText(554)), &QAction::triggered, this, [this] {
        SavePictureAs(pictureShown(), QString(LoadText(554)).remove('&'));
    });
    connect(menuItem(file, "mnuclose", LoadText(134)), &QAction::triggered, this, &playvideo::closeWindow);
    connect(menuItem(file, "mnuexit", LoadText(135)), &QAction::triggered, this, &playvideo::exitProgram);

    QMenu* edit = menu("mnuedit", 136);
    connect(menuItem(edit, "mnucopy", LoadText(139)), &QAction::triggered, this, [this] {
        const QImage picture = pictureShown();
        if (!picture.isNull()) QGuiApplication::clipboard()->setImage(picture);
    });
    menuItem(edit, "mnupaste", LoadText(140));

    QMenu* run = menu("mnurun", 141);
    connect(menuItem(run, "mnuplay", LoadText(142)), &QAction::triggered, this, &playvideo::play);
    connect(menuItem(run, "mnufullscreen", LoadText(555)), &QAction::triggered, this, &playvideo::Zoom);
    connect(menuItem(run, "mnurestore", LoadText(138)), &QAction::triggered, this, &playvideo::Restore);
    connect(menuItem(run, "mnuhalt", LoadText(143)), &QAction::triggered, this, [this] {
        if (MediaPlayer* c = component()) c->pause();
    });
    connect(menuItem(run, "mnustop", LoadText(144)), &QAction::triggered, this, [this] {
        if (MediaPlayer* c = component()) c->stop();
    });
    connect(menuItem(run, "mnupreviousframe", LoadText(702)), &QAction::triggered, this,
            [this] { StepFrame(-1, true); });
    connect(menuItem(run, "mnunextframe", LoadText(703)), &QAction::triggered, this,
            [this] { StepFrame(+1, true); });
    run->addSeparator();
    LinkTool(menuItem(run, "mnusoundanalyser", LoadText(556)), Tool::SoundWindow,
             [](FrameServices& f) { f.openSoundWindow(QString()); });
    LinkTool(menuItem(run, "mnurecordsound", LoadText(557)), Tool::Recorder,
             [](FrameServices& f) { f.showRecorder(); });
    connect(menuItem(run, "mnuwindowssoundrecorder", LoadText(146)), &QAction::triggered, this,
            [] { platform::StartProgram("soundrecorder.exe"); });
    LinkTool(menuItem(run, "mnugrabvideo", LoadText(107)), Tool::Capture,
             [](FrameServices& f) { f.showCapture(); });
    LinkTool(menuItem(run, "mnuimageprocessor", LoadText(558)), Tool::ImageProcessor,
             [](FrameServices& f) { f.showImageProcessor(); });

    QMenu* setting = menu("mnusetting", 156);
    auto* choices = new QActionGroup(this);
    mnusettinga = menuItem(setting, "mnusettinga", LoadText(122));
    mnusettingwmp = menuItem(setting, "mnusettingwmp", LoadText(123));
    mnusettingamp = menuItem(setting, "mnusettingamp", LoadText(124));
    const std::pair<QAction*, PlaybackChoice> items[] = {{mnusettinga, PlaybackChoice::Automatic},
                                                         {mnusettingwmp, PlaybackChoice::MediaPlayer},
                                                         {mnusettingamp, PlaybackChoice::ActiveMovie}};
    for (auto [item, choice] : items) {
        item->setCheckable(true);
        choices->addAction(item);
        connect(item, &QAction::triggered, this, [this, choice = choice] { choose(choice); });
    }
    mnusettingwmp->setChecked(true);

    QMenu* windows = menu("mnuwindows", 164);
    connect(menuItem(windows, "mnumaximum", LoadText(560)), &QAction::triggered, this,
            [this] { outer()->showMaximized(); });
    connect(menuItem(windows, "mnunormal", LoadText(545)), &QAction::triggered, this,
            [this] { outer()->showNormal(); });
    QMenu* help = menu("mnuhelp", 167);
    LinkTool(menuItem(help, "mnuabout", LoadText(168)), Tool::About, [](FrameServices& f) { f.showAbout(); });
}

PlaybackChoice playvideo::playbackChoice() const
{
    if (mnusettinga->isChecked()) return PlaybackChoice::Automatic;
    if (mnusettingamp->isChecked()) return PlaybackChoice::ActiveMovie;
    return PlaybackChoice::MediaPlayer;
}

void playvideo::setPlaybackChoice(PlaybackChoice choice)
{
    mnusettinga->setChecked(choice == PlaybackChoice::Automatic);
    mnusettingwmp->setChecked(choice == PlaybackChoice::MediaPlayer);
    mnusettingamp->setChecked(choice == PlaybackChoice::ActiveMovie);
}

void playvideo::choose(PlaybackChoice choice)
{
    // Clips opened from now on follow the choice; the clip open here keeps its component.
    setPlaybackChoice(choice);
    if (FrameServices* frame = FrameServices::Instance()) frame->setPlaybackChoice(choice);
}

QImage playvideo::pictureShown() const
{
    MediaPlayer* c = component();
    return c ? c->videoSink()->videoFrame().toImage() : QImage();
}

MediaPlayer* playvideo::component() const
{
    if (WindowsMediaPlayer1->Visible()) return WindowsMediaPlayer1;
    if (ActiveMovie1->Visible()) return ActiveMovie1;
    return nullptr;
}

void playvideo::Route(const QString& path)
{
    const bool second = RouteClip(playbackChoice(), path) == ClipComponent::ActiveMovie;
    MediaPlayer* shown = second ? ActiveMovie1 : WindowsMediaPlayer1;
    MediaPlayer* hidden = second ? WindowsMediaPlayer1 : ActiveMovie1;
    hidden->hide();
    shown->show();
    stepper_.reset();
    stepperTried_ = false;
    shown->setURL(path);
}

void playvideo::LoadFileData(const QString& path, int windowNumber)
{
    path_ = path;
    number_ = windowNumber;
    const ClipFileLabels labels = ClipFileLabels::Read(path);
    setWindowTitle(labels.caption);
    // The date stands 50 twips right of the time box, the size right after the date.
    const int dateLeft = kTextLeft + kTextWidth + 50;
    auto textWidth = [](QLabel* label, const QString& text) {
        return twips::FromPixels(label->fontMetrics().horizontalAdvance(text) + 6);
    };
    dateLabel_->setText(labels.date);
    const int dateWidth = textWidth(dateLabel_, labels.date);
    Place(dateLabel_, dateLeft, kRowTop, dateWidth, 300);
    sizeLabel_->setText(labels.size);
    Place(sizeLabel_, dateLeft + dateWidth + 50, kRowTop, textWidth(sizeLabel_, labels.size), 300);
    ReportFailure(labels.outcome);
}

void playvideo::play()
{
    MediaPlayer* c = component();
    if (!c) return;
    c->play();
    Prompts::Current().MsgBox(general::NumText(c->encodedFrameRate()), MsgButtons::OK,
                              "Encoded Framerate", MsgIcon::Information);
}

void playvideo::openClip()
{
    FrameServices* frame = FrameServices::Instance();
    CommonDialog local;
    CommonDialog& dialog = frame ? frame->openDialog() : local;
    dialog.Filter = VideoFileFilter();
    dialog.FilterIndex = 1;
    dialog.DialogTitle.clear();
    dialog.CancelError = true;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty()) return;
    if (frame) frame->noteOpened(dialog.FileName);
    BusyPointer busy;
    OpenVideoWindow(dialog.FileName);
}

void playvideo::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
    else close();
}

void playvideo::exitProgram()
{
    if (FrameServices* frame = FrameServices::Instance()) frame->exitProgram();
    else QApplication::quit();
}
