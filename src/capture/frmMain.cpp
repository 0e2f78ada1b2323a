#include "capture/frmMain.h"

#include "capture/CaptureLayout.h"
#include "capture/CaptureSettings.h"
#include "capture/ChooseAudioFormat.h"
#include "capture/DriverMenu.h"
#include "capture/OpenSoundInAnalyser.h"
#include "capture/device/CapturePreview.h"
#include "general/General.h"
#include "platform/ui/FrameServices.h"
#include "platform/system/Process.h"
#include "platform/ui/Prompts.h"
#include "platform/system/Settings.h"
#include "platform/ui/ToolLinks.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ChildWindow.h"
#include "platform/ui/WindowPlacement.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

namespace {
QPointer<frmMain> g_window;
using Tool = FrameServices::Tool;
}

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), main_([] { return QDateTime::currentDateTime(); }), client_(new QWidget(this)),
      Picture1_(new QLabel(client_))
{
    setObjectName("frmMain");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LoadText(200));
    if (FrameServices* frame = FrameServices::Instance(); frame && frame->frameWindow())
        setWindowIcon(frame->frameWindow()->windowIcon());
    client_->setObjectName("client");
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    Picture1_->setObjectName("Picture1");
    Picture1_->hide();
    buildMenus();
    resize(capture::MinimumClient + QSize(0, menuBar()->sizeHint().height()));
}

frmMain::~frmMain()
{
    main_.Close();
}

frmMain* frmMain::Instance() { return g_window; }

frmMain* frmMain::Load(bool show)
{
    if (!g_window) {
        g_window = new frmMain;
        if (FrameServices* frame = FrameServices::Instance())
            if (QMdiSubWindow* sub = frame->addChild(g_window)) sub->hide();
        frmMain* w = g_window;
        w->setBackColour(general::Val(capture::CapturePreferences::Load().backcolor));
        w->outerWindow()->setWindowState(Qt::WindowNoState);
        w->placeWindow();
        w->openCapture(show);
    } else if (show && !g_window->capwnd()) {
        g_window->openCapture(true);
    }
    frmMain* w = g_window;
    if (show && w) {
        QWidget* outer = w->outerWindow();
        outer->show();
        w->show();
        // Sized again now that its frame is shown, and placed with that size the first time.
        if (w->capwnd()) w->resizeToCapture();
        if (!w->shownOnce_) w->placeWindow();
        w->shownOnce_ = true;
        outer->raise();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(outer); sub && sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
    }
    return w;
}

QAction* frmMain::item(QMenu* menu, const char* name, int text)
{
    QAction* a = menu->addAction(LoadText(text));
    a->setObjectName(name);
    return a;
}

QMenu* frmMain::submenu(QMenu* parent, const char* name, int text)
{
    QMenu* m = parent ? parent->addMenu(LoadText(text)) : menuBar()->addMenu(LoadText(text));
    m->setObjectName(name);
    return m;
}

void frmMain::buildMenus()
{
    QMenu* file = submenu(nullptr, "mnufile", 201);
    connect(item(file, "mnuLoadPal", 587), &QAction::triggered, this, &frmMain::loadPalette);
    connect(item(file, "mnuSavePalette", 586), &QAction::triggered, this, &frmMain::savePalette);
    connect(item(file, "mnuSaveFileAs", 204), &QAction::triggered, this, &frmMain::saveFileAs);
    connect(item(file, "mnuSaveFrame", 585), &QAction::triggered, this, &frmMain::saveFrame);
    file->addSeparator();
    connect(item(file, "mnuexit", 206), &QAction::triggered, this, &QWidget::close);

    QMenu* action = submenu(nullptr, "mnuaction", 207);
    QMenu* edit = submenu(action, "mnuedit", 208);
    connect(item(edit, "mnucopy", 209), &QAction::triggered, this, [this] { capEditCopy(capwnd()); });
    // Pasting a palette has no action in this window.
    item(edit, "mnupaste", 210)->setEnabled(false);
    QMenu* sound = submenu(action, "mnusound", 109);
    connect(item(sound, "mnuAudioFmt", 120), &QAction::triggered, this, [this] {
        ChooseAudioFormat(this, [this] { return capwnd(); });
    });
    connect(item(sound, "mnuvolumecontrol", 117), &QAction::triggered, this,
            [] { platform::StartProgram("sndvol.exe"); });
    QPointer<frmMain> self(this);
    LinkTool(item(sound, "mnurecordsound", 111), Tool::Recorder, [self](FrameServices& f) {
        f.showRecorder();
        if (self) self->close();
    });
    LinkTool(item(sound, "mnusoundanalyser", 112), Tool::SoundWindow,
             [](FrameServices&) { OpenSoundInAnalyser(); });
    QMenu* image = submenu(action, "mnuimage", 215);
    LinkTool(item(image, "mnushowip", 216), Tool::ImageProcessor, [self](FrameServices& f) {
        f.showImageProcessor();
        if (self) self->close();
    });
    connect(item(action, "mnuPreferences", 217), &QAction::triggered, this, &frmMain::preferences);

    QMenu* options = submenu(nullptr, "mnuOptions", 230);
    connect(item(options, "mnuSetCapFile", 231), &QAction::triggered, this, &frmMain::setCaptureFile);
    connect(item(options, "mnuAllocFileSpace", 232), &QAction::triggered, this, &frmMain::allocateFileSpace);
    mnuDisplay_ = item(options, "mnuDisplay", 584);
    connect(mnuDisplay_, &QAction::triggered, this, [this] { capDlgVideoDisplay(capwnd()); });
    mnuaddtimestamp_ = item(options, "mnuaddtimestamp", 234);
    mnuaddtimestamp_->setCheckable(true);
    mnuaddtimestamp_->setChecked(true);
    mnuFormat_ = item(options, "mnuFormat", 235);
    connect(mnuFormat_, &QAction::triggered, this, [this] { capDlgVideoFormat(capwnd()); });
    mnuSource_ = item(options, "mnuSource", 236);
    connect(mnuSource_, &QAction::triggered, this, [this] { capDlgVideoSource(capwnd()); });
    connect(item(options, "mnuCompression", 237), &QAction::triggered, this,
            [this] { capDlgVideoCompression(capwnd()); });

    mnuCapture_ = submenu(nullptr, "mnuCapture", 281);
    mnuOverlay_ = item(mnuCapture_, "mnuOverlay", 282);
    mnuOverlay_->setCheckable(true);
    connect(mnuOverlay_, &QAction::triggered, this, [this](bool on) { capOverlay(capwnd(), on); });
    mnuPreview_ = item(mnuCapture_, "mnuPreview", 283);
    mnuPreview_->setCheckable(true);
    connect(mnuPreview_, &QAction::triggered, this, [this](bool on) { main_.SetPreview(on); });
    LinkTool(item(mnuCapture_, "mnuplayvideo", 284), Tool::VideoWindow, [self](FrameServices& f) {
        if (self) f.openVideoWindow(capFileGetCaptureFile(self->capwnd()));
    });
    mnuCapture_->addSeparator();
    connect(item(mnuCapture_, "mnuCapFrame", 285), &QAction::triggered, this, &frmMain::grabFrame);
    connect(item(mnuCapture_, "mnuCapFrames", 286), &QAction::triggered, this, &frmMain::captureFrames);
    connect(item(mnuCapture_, "mnutimeintervalcapture", 287), &QAction::triggered, this,
            &frmMain::timeIntervalCapture);
    connect(item(mnuCapture_, "mnuCapVid", 583), &QAction::triggered, this, &frmMain::captureVideo);
    connect(item(mnuCapture_, "mnuCapPal", 582), &QAction::triggered, this, &frmMain::capturePalette);
    mnuCapture_->addSeparator();
    drivers_ = std::make_unique<DriverMenu>(mnuCapture_, [this](int index) { chooseDriver(index); });

    QMenu* help = submenu(nullptr, "mnuhelp", 125);
    connect(item(help, "mnuSysInfo", 126), &QAction::triggered, this, &frmMain::systemInfo);
    LinkTool(item(help, "mnuabout", 127), Tool::About, [](FrameServices& f) { f.showAbout(); });
}

QAction* frmMain::driverItem(int index) const { return drivers_->item(index); }

void frmMain::showView()
{
    const CaptureMainSession::View& v = main_.view();
    drivers_->show(v);
    mnuPreview_->setChecked(v.previewChecked);
    mnuSource_->setEnabled(v.sourceEnabled);
    mnuFormat_->setEnabled(v.formatEnabled);
    mnuDisplay_->setEnabled(v.displayEnabled);
    mnuOverlay_->setEnabled(v.overlayEnabled);
    mnuaddtimestamp_->setProperty("Tag", v.stampTag);
    if (!v.title.isEmpty()) setWindowTitle(v.title);
    if (v.pictureChanges != pictureChangesShown_) {
        pictureChangesShown_ = v.pictureChanges;
        resizeToCapture();
    }
}

void frmMain::statusReported(int number, const QString& text)
{
    const Outcome outcome = main_.Status(number, text);
    showView();
    Report(outcome);
}

void frmMain::setBackColour(double storedValue)
{
    QPalette p = client_->palette();
    p.setColor(QPalette::Window,
               capture::ColourOfValue(storedValue, QApplication::palette().color(QPalette::Window)));
    client_->setPalette(p);
}

QRect frmMain::visibleArea()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow()); sub && sub->mdiArea())
        return VisibleChildArea(sub->mdiArea());
    if (const QScreen* screen = QApplication::primaryScreen()) return screen->availableGeometry();
    return {};
}

void frmMain::placeWindow()
{
    QWidget* outer = outerWindow();
    const QRect visible = visibleArea();
    auto toTwips = [](QSize s) { return QSize(twips::FromPixels(s.width()), twips::FromPixels(s.height())); };
    const QRect visibleTwips(QPoint(twips::FromPixels(visible.x()), twips::FromPixels(visible.y())),
                             toTwips(visible.size()));
    const QPoint p = capture::OpeningPosition(
        platform::GetSetting(capture::App, "preferences", "left"),
        platform::GetSetting(capture::App, "preferences", "top"), visibleTwips, toTwips(outer->size()));
    // Whole pixels may round a twips position just past the edge: kept inside once more.
    outer->move(KeepInside({twips::ToPixels(p.x()), twips::ToPixels(p.y())}, outer->size(), visible));
}

void frmMain::openCapture(bool messages)
{
    const Outcome opened = main_.Open([this] { return makeSession(); });
    showView();
    if (opened.ok && capwnd()) {
        capSetCallbackOnStatus(capwnd(), [this](int number, const QString& text) { statusReported(number, text); });
        capSetCallbackOnError(capwnd(), [](int, const Outcome& outcome) { ReportFailure(outcome); });
    }
    if (messages) Report(opened);
}

CapWnd frmMain::makeSession()
{
    auto* session = new CaptureSession(this);
    session->setAsk(AskThroughPrompts());
    preview_ = new CapturePreview(session, client_);
    preview_->setGeometry(0, 0, 160, 120);
    preview_->show();
    connect(session, &CaptureSession::driverChanged, this, [this](int index) {
        main_.DriverChanged(index);
        showView();
    });
    connect(session, &CaptureSession::formatChanged, this, [this] {
        main_.FormatChanged();
        showView();
    });
    return session;
}

QWidget* frmMain::outerWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

// The frame's sub-window keeps its borders and title bar as its contents margins.
int frmMain::XBorder() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? sub->contentsMargins().left() : 0;
}

int frmMain::YBorder() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? sub->contentsMargins().bottom() : 0;
}

int frmMain::CaptionHeight() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? sub->contentsMargins().top() - YBorder() : 0;
}

int frmMain::MenuHeight() const { return menuBar()->sizeHint().height(); }

void frmMain::resizeToPicture(QSize picture)
{
    const capture::FrameMetrics frame{XBorder(), YBorder(), CaptionHeight(), MenuHeight()};
    QWidget* outer = outerWindow();
    auto* sub = qobject_cast<QMdiSubWindow*>(outer);
    const QRect visible = sub && sub->mdiArea() ? visibleArea() : QRect();
    // A picture too large for the frame is shown smaller, so the whole window stays in view.
    const QSize shown = visible.isEmpty() ? picture : capture::FitPicture(picture, visible.size(), frame);
    if (preview_) preview_->resize(shown);
    outer->resize(capture::WindowSizeForPicture(shown, frame));
    if (!visible.isEmpty()) outer->move(KeepInside(outer->pos(), outer->size(), visible));
    layoutClient();
}

void frmMain::layoutClient()
{
    const capture::FrameMetrics frame{XBorder(), YBorder(), CaptionHeight(), MenuHeight()};
    QWidget* outer = outerWindow();
    const QSize sprung = capture::SpringBack(outer->size(), client_->size(), frame);
    if (sprung != outer->size() && outer->isVisible()) outer->resize(sprung);
    CaptureSession::Status status;
    if (preview_ && capGetStatus(capwnd(), status))
        preview_->move(capture::CentredPicture(client_->size(), preview_->size()));
}

void frmMain::resizeToCapture()
{
    CaptureSession::Status status;
    if (capGetStatus(capwnd(), status) && status.imageWidth > 0 && status.imageHeight > 0)
        resizeToPicture(QSize(status.imageWidth, status.imageHeight));
    else
        layoutClient();
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutClient();
}

bool frmMain::stampsFrames() const { return mnuaddtimestamp_->isChecked(); }

void frmMain::closeEvent(QCloseEvent* event)
{
    QWidget* outer = outerWindow();
    // A window only loaded unseen (to choose a sound format) has no place of its own to keep.
    if (shownOnce_ && !(outer->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        platform::SaveSetting(capture::App, "preferences", "left", QString::number(twips::FromPixels(outer->x())));
        platform::SaveSetting(capture::App, "preferences", "top", QString::number(twips::FromPixels(outer->y())));
    }
    main_.Close();
    delete preview_;
    preview_ = nullptr;
    // The window goes (it is deleted on closing): the next one asked for is a new one.
    if (g_window == this) g_window = nullptr;
    event->accept();
}
