#include "app/MDIMain.h"

#include "app/StartSysInfo.h"
#include "app/Startup.h"
#include "app/frm_about.h"
#include "capture/ChooseAudioFormat.h"
#include "capture/ShowCapture.h"
#include "imaging/window/ShowImageProcessor.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/ChildWindow.h"
#include "platform/system/Process.h"
#include "platform/ui/Prompts.h"
#include "platform/system/Settings.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WindowPlacement.h"
#include "live/ShowLive.h"
#include "player/OpenVideoWindow.h"
#include "recorder/ShowRecorder.h"
#include "platform/audio/DecodeMp3.h"
#include "sound/OpenSoundWindow.h"
#include "spectrum/OpenSpectrum.h"
#include "text/LoadText.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>

namespace {
const QString kApp = "KIVRA";
const QString kPreferences = "preferences";
const QString kAudioClipFilter = "mp3 Files (*.mp3)|*.mp3|wave files (*.wav)|*.wav|others|*.*";

// Menu captions by object name: the menus and their items in display order.
struct Caption {
    const char* name;
    int text;
};
const Caption kCaptions[] = {
    {"mnuFile", 101}, {"mnuOpenItem", 102}, {"mnuotheraudio", 103}, {"mnuopenvideo", 104},
    {"mnuExitItem", 105}, {"mnuvideo", 106}, {"mnugrabvideo", 107}, {"mnuplayvideo", 108},
    {"mnusound", 109}, {"mnuwindowsoundrecorder", 110}, {"mnurecordsound", 111},
    {"mnusoundanalyser", 112}, {"mnulivesound", 720}, {"mnuimage", 113}, {"mnuimageprocessor", 114},
    {"mnuoptions", 116}, {"mnuvolumecontrol", 117}, {"mnuequaliseamp", 118},
    {"mnushowaudioamp", 119}, {"mnuaudiosettings", 120}, {"mnuvp", 121}, {"mnusettinga", 122},
    {"mnusettingwmp", 123}, {"mnusettingamp", 124}, {"mnuhelp", 125}, {"mnusysteminfo", 126},
    {"mnuabout", 127},
};
}

MDIMain::MDIMain(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this))
{
    setObjectName("MDIMain");
    area_->setObjectName("mdiArea");
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    resize(twips::ToPixels(DesignWidth), twips::ToPixels(DesignHeight));
    buildMenus();
    FrameServices::SetInstance(this);
}

MDIMain::~MDIMain()
{
    if (FrameServices::Instance() == this) FrameServices::SetInstance(nullptr);
}

QAction* MDIMain::item(QMenu* menu, const char* name, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

QAction* MDIMain::toolItem(QMenu* menu, const char* name, Tool tool, void (MDIMain::*open)())
{
    QAction* action = item(menu, name);
    action->setEnabled(offers(tool));
    connect(action, &QAction::triggered, this, open);
    return action;
}

void MDIMain::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QString());
    file->setObjectName("mnuFile");
    connect(item(file, "mnuOpenItem", QKeySequence("Ctrl+O")), &QAction::triggered, this,
            &MDIMain::openAudio);
    toolItem(file, "mnuotheraudio", Tool::VideoWindow, &MDIMain::askAudioClip);
    toolItem(file, "mnuopenvideo", Tool::VideoWindow, &MDIMain::askVideo);
    file->addSeparator()->setObjectName("mnuSepr");
    connect(item(file, "mnuExitItem", QKeySequence("Ctrl+X")), &QAction::triggered, this,
            &MDIMain::exitNow);

    QMenu* video = menuBar()->addMenu(QString());
    video->setObjectName("mnuvideo");
    connect(item(video, "mnuvideocapture"), &QAction::triggered, this,
            [] { platform::StartProgram(platform::VideoCaptureProgram); });
    toolItem(video, "mnugrabvideo", Tool::Capture, &MDIMain::showCapture);
    toolItem(video, "mnuplayvideo", Tool::VideoWindow, &MDIMain::askVideo);

    QMenu* sound = menuBar()->addMenu(QString());
    sound->setObjectName("mnusound");
    connect(item(sound, "mnuwindowsoundrecorder"), &QAction::triggered, this,
            [] { platform::StartProgram("soundrecorder.exe"); });
    toolItem(sound, "mnurecordsound", Tool::Recorder, &MDIMain::showRecorder);
    connect(item(sound, "mnusoundanalyser"), &QAction::triggered, this, &MDIMain::openAudio);
    toolItem(sound, "mnulivesound", Tool::LiveSound, &MDIMain::showLiveSound);

    QMenu* image = menuBar()->addMenu(QString());
    image->setObjectName("mnuimage");
    toolItem(image, "mnuimageprocessor", Tool::ImageProcessor, &MDIMain::showImageProcessor);
    jpegQualityItem_ = item(image, "mnujpegquality");
    connect(jpegQualityItem_, &QAction::triggered, this, &MDIMain::askJpegQuality);

    QMenu* options = menuBar()->addMenu(QString());
    options->setObjectName("mnuoptions");
    connect(item(options, "mnuvolumecontrol"), &QAction::triggered, this,
            [] { platform::StartProgram("sndvol.exe"); });
    equaliseItem_ = item(options, "mnuequaliseamp");
    equaliseItem_->setCheckable(true);
    showAmplitudeItem_ = item(options, "mnushowaudioamp");
    showAmplitudeItem_->setCheckable(true);
    connect(item(options, "mnuaudiosettings"), &QAction::triggered, this, [this] { ChooseAudioFormat(this); });
    QMenu* player = options->addMenu(QString());
    player->setObjectName("mnuvp");
    auto* players = new QActionGroup(this);
    automaticItem_ = item(player, "mnusettinga");
    mediaPlayerItem_ = item(player, "mnusettingwmp");
    activeMovieItem_ = item(player, "mnusettingamp");
    for (QAction* a : {automaticItem_, mediaPlayerItem_, activeMovieItem_}) {
        a->setCheckable(true);
        players->addAction(a);
    }
    mediaPlayerItem_->setChecked(true);
    activeMovieItem_->setEnabled(false);

    QMenu* help = menuBar()->addMenu(QString());
    help->setObjectName("mnuhelp");
    connect(item(help, "mnusysteminfo"), &QAction::triggered, this, &MDIMain::startSysInfo);
    toolItem(help, "mnuabout", Tool::About, &MDIMain::showAbout);
}

void MDIMain::setCaptions()
{
    setWindowTitle("KIVRA");
    for (const Caption& c : kCaptions) {
        if (auto* menu = findChild<QMenu*>(c.name))
            menu->setTitle(LoadText(c.text));
        else if (auto* action = findChild<QAction*>(c.name))
            action->setText(LoadText(c.text));
    }
    // The system's own video capture program has no entry of the text table.
    findChild<QAction*>("mnuvideocapture")->setText("Windows Video &Capture");
    jpegQualityItem_->setText(LoadText(115) + " (85%)");
}

void MDIMain::placeFrame()
{
    showNormal();
    const QScreen* screen = QApplication::primaryScreen();
    const QSize px = screen ? screen->geometry().size() : QSize(1024, 768);
    StoredPlacement stored;
    auto read = [](const char* key, QString& value, bool& present) {
        const QString missing = QStringLiteral("\x01missing");
        value = platform::GetSetting(kApp, kPreferences, key, missing);
        present = value != missing;
    };
    read("mdileft", stored.left, stored.hasLeft);
    read("mditop", stored.top, stored.hasTop);
    read("mdiwidth", stored.width, stored.hasWidth);
    read("mdiheight", stored.height, stored.hasHeight);
    const FramePlacement p = ComputeFramePlacement(twips::FromPixels(px.width()), twips::FromPixels(px.height()),
                                                   DesignWidth, DesignHeight, stored);
    // A stored size larger than the screen, or a place past its edges, is brought onto the
    // part of the screen that panels leave free.
    const QRect visible = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), px);
    const QSize size = QSize(std::max(1, twips::ToPixels(p.width)), std::max(1, twips::ToPixels(p.height)))
                           .boundedTo(visible.size());
    move(KeepInside({twips::ToPixels(p.left), twips::ToPixels(p.top)}, size, visible));
    resize(size);
}

void MDIMain::Load(const QString& commandLine)
{
    setCaptions();
    placeFrame();
    jpegQualityItem_->setProperty("Tag", "85");
    openStartupFile(commandLine);
}

void MDIMain::openStartupFile(const QString& commandLine)
{
    const StartupFile start =
        ChooseStartupFile(commandLine, platform::GetSetting(kApp, kPreferences, "lastfile", ""),
                          [](const QString& p) { return QFile::exists(p); });
    if (start.path.isEmpty()) return;
    CommonDialog1.FileName = start.path;
    lastFile_ = start.path;
    switch (start.action) {
    case StartupAction::Wave:
        openSoundWindow(start.path, 0);
        break;
    case StartupAction::Mp3: {
        QString wav;
        {
            BusyPointer busy;
            wav = DecodeMp3ToWav(start.path, AskThroughPrompts());
        }
        openSoundWindow(wav, 0);
        break;
    }
    case StartupAction::Video:
        openVideoWindow(start.path);
        break;
    case StartupAction::Image:
        ShowImageProcessor(start.path);
        break;
    case StartupAction::None:
        break;
    }
}

void MDIMain::openAudio()
{
    // With a tool window active that has an Open of its own on Ctrl+O, that Open runs: both
    // carry Ctrl+O, and the frame's shortcut is the one Qt sees. (The player's Open, for clips,
    // has no shortcut: the frame's sound Open stays the frame's.)
    if (QMdiSubWindow* active = area_->activeSubWindow()) {
        auto* open = active->widget()->findChild<QAction*>("mnuopen");
        if (open && open->shortcut() == QKeySequence(QKeySequence::Open)) {
            open->trigger();
            return;
        }
    }
    askSound();
}

void MDIMain::askSound()
{
    if (AskForSoundFile(CommonDialog1).isEmpty()) return;
    BusyPointer busy;
    if (CommonDialog1.FileName.right(4).toLower() == ".mp3")
        CommonDialog1.FileName = DecodeMp3ToWav(CommonDialog1.FileName, AskThroughPrompts());
    lastFile_ = CommonDialog1.FileName;
    openSoundWindow(CommonDialog1.FileName, 0);
}

void MDIMain::askJpegQuality()
{
    const QString answer = Prompts::Current().InputBox(LoadText(396), LoadText(395), QString());
    if (answer.isEmpty()) return;
    jpegQualityItem_->setProperty("Tag", answer);
    jpegQualityItem_->setText("JPEG quality (" + answer + "%)");
}

bool MDIMain::equaliseAmplitude() const
{
    return equaliseItem_->isChecked();
}

void MDIMain::setEqualiseAmplitude(bool on)
{
    equaliseItem_->setChecked(on);
}

bool MDIMain::showAmplitude() const
{
    return showAmplitudeItem_->isChecked();
}

void MDIMain::setShowAmplitude(bool on)
{
    showAmplitudeItem_->setChecked(on);
}

QString MDIMain::jpegQuality() const
{
    return jpegQualityItem_->property("Tag").toString();
}

PlaybackChoice MDIMain::playbackChoice() const
{
    if (automaticItem_->isChecked()) return PlaybackChoice::Automatic;
    if (activeMovieItem_->isChecked()) return PlaybackChoice::ActiveMovie;
    return PlaybackChoice::MediaPlayer;
}

void MDIMain::setPlaybackChoice(PlaybackChoice choice)
{
    QAction* item = choice == PlaybackChoice::Automatic     ? automaticItem_
                    : choice == PlaybackChoice::ActiveMovie ? activeMovieItem_
                                                            : mediaPlayerItem_;
    item->setChecked(true);
}

bool MDIMain::offers(Tool) const
{
    return true;   // this build has every tool
}

void MDIMain::openSoundWindow(const QString& path, int channelChoice)
{
    if (path.isEmpty()) askSound();
    else OpenSoundWindow(path, channelChoice);
}

void MDIMain::showSpectrum(int windowNumber, const QString& fileName, const QString& analyserCaption)
{
    ShowSpectrumOf(windowNumber, fileName, analyserCaption);
}

void MDIMain::openVideoWindow(const QString& path)
{
    OpenVideoWindow(path);
}

void MDIMain::askVideo() { askClip(VideoFileFilter()); }

void MDIMain::askAudioClip() { askClip(kAudioClipFilter); }

void MDIMain::askClip(const QString& filter)
{
    CommonDialog1.Filter = filter;
    CommonDialog1.FilterIndex = 1;
    CommonDialog1.DialogTitle.clear();
    CommonDialog1.CancelError = true;
    if (!CommonDialog1.ShowOpen() || CommonDialog1.FileName.isEmpty()) return;
    lastFile_ = CommonDialog1.FileName;
    BusyPointer busy;
    OpenVideoWindow(CommonDialog1.FileName);
}

void MDIMain::startSysInfo() { ReportFailure(StartSysInfo()); }

void MDIMain::showAbout()
{
    if (!about_) {
        about_ = new frm_about(this);
        if (!about_->Load(SystemInfo::Read())) return;   // it has told why and closed
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MDIMain::showRecorder() { ShowRecorder(); }

void MDIMain::showLiveSound() { ShowLiveSound(); }

void MDIMain::showCapture() { ShowCapture(); }


void MDIMain::showImageProcessor() { ShowImageProcessor(); }

void MDIMain::chooseAudioFormat(QWidget* owner) { ChooseAudioFormat(owner); }

QMdiSubWindow* MDIMain::addChild(QWidget* window)
{
    QMdiSubWindow* sub = area_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A tool window's normal size is its design size, also when it opens among maximised
    // windows and is restored later; it is fitted into the area when it shows and when it
    // returns to its normal size.
    sub->resize(sub->sizeHint());
    sub->installEventFilter(this);
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [sub](Qt::WindowStates, Qt::WindowStates now) {
                if (!(now & (Qt::WindowMaximized | Qt::WindowMinimized))) FitChildWindow(sub);
            });
    return sub;
}

void MDIMain::exitProgram(bool recordLastFile)
{
    if (recordLastFile && !lastFile_.isEmpty() && QFile::exists(lastFile_))
        platform::SaveSetting(kApp, kPreferences, "lastfile", lastFile_);
    exitNow();
}

void MDIMain::exitNow()
{
    // Exit ends the program at once: the closing steps (recording the last file) do not run.
    // A recording not yet saved is the one thing it asks about. The capture window closes first,
    // so that it stores its own settings.
    if (!RecorderAgreesToClose()) return;
    CloseCapture();
    exiting_ = true;
    QApplication::quit();
}

bool MDIMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched)) FitChildWindow(sub);
    return QMainWindow::eventFilter(watched, event);
}

void MDIMain::closeEvent(QCloseEvent* event)
{
    if (!exiting_) {
        if (!lastFile_.isEmpty() && QFile::exists(lastFile_))
            platform::SaveSetting(kApp, kPreferences, "lastfile", lastFile_);
        area_->closeAllSubWindows();
        // A window that would not close (the recorder keeping its recording) keeps KIVRA open.
        for (QMdiSubWindow* sub : area_->subWindowList())
            if (sub->isVisible()) {
                event->ignore();
                return;
            }
    }
    event->accept();
    QApplication::quit();
}
