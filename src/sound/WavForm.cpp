#include "sound/WavForm.h"

#include "sound/DecodeMp3.h"
#include "general/General.h"
#include "imaging/SavePictureAs.h"
#include "platform/BusyPointer.h"
#include "platform/CommonDialog.h"
#include "platform/FrameServices.h"
#include "platform/MediaPlayer.h"
#include "platform/PictureBox.h"
#include "platform/Process.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"
#include "platform/TemporaryFiles.h"
#include "platform/ToolLinks.h"
#include "platform/Twips.h"
#include "platform/TwipLayout.h"
#include "sound/DrawTickMarks.h"
#include "sound/GraphWave.h"
#include "sound/OpenSoundWindow.h"
#include "sound/SelectedStretch.h"
#include "sound/WaveFile.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <cmath>

namespace {
const QString kSoundFilter =
    "Wave Files (*.wav)|*.wav|mp3 Files (*.mp3)|*.mp3|Wave/mp3 files|*.wav;*.mp3";
constexpr int kGraphWidth = 10092;        // Picture2 and Picture5, twips
constexpr int kGraphBorder = 32;          // box height/width less its inner drawing area
constexpr int kLowerGraphTop = 1928;


// Captions of the window's labels and buttons, by object name.
struct Caption {
    const char* name;
    int text;
};
const Caption kCaptions[] = {
    {"Label5", 539}, {"Label7", 526}, {"Label16_11", 525}, {"Label16_9", 184},
    {"Label16_8", 528}, {"Label16_7", 183}, {"Label16_10", 185}, {"Label16_0", 186},
    {"Label18", 507}, {"Label20", 527}, {"Label21", 524}, {"Label22", 523}, {"Label23", 521},
    {"Labelperiod", 519}, {"timescalelabel", 522}, {"showampCheck", 425},
    {"Option1", 161}, {"Option2", 163}, {"Option3", 162}, {"Command1", 511}, {"Command2", 509},
    {"Command3", 510}, {"Command4", 508}, {"Command5", 175}, {"Command6", 137},
    {"Command7", 195}, {"Command8", 252}, {"Command9", 505}, {"saveselectedaudio", 174},
    {"savewholeaudio", 173}, {"record", 145}, {"Closebutton", 134},
};

PictureBox* graphBox(const QString& name, QWidget* parent)
{
    auto* box = new PictureBox(parent);
    box->setObjectName(name);
    return box;
}
}

WavForm::WavForm(int windowCounter, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("WavForm");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    buildMenus();

    // The window's load.
    setCaptions();
    setWindowTitle(LoadText(169));
    scratchFolder_ = platform::ScratchFolder();
    if (FrameServices* frame = FrameServices::Instance())
        setWindowIcon(frame->frameWindow()->windowIcon());
    findChild<QRadioButton*>("Option1")->setChecked(true);
    Frame2->hide();
    layout_->resize(Frame1, layout_->twips(Frame1).width(), 800);
    connectGraphs();
    connectPlayback();
    if (FrameServices* frame = FrameServices::Instance())
        selection_.amplitude().Load(frame->showAmplitude(), frame->equaliseAmplitude());
    InitStart();
    syncSelection();
    if (windowCounter == 0) {
        hide();
        QTimer::singleShot(0, this, &WavForm::openOther);
    }
}

WavForm::~WavForm() = default;

QLabel* WavForm::label(const QString& name, int left, int top, int width, int height, QWidget* parent)
{
    auto* l = new QLabel(parent ? parent : canvasBox_);
    l->setObjectName(name);
    layout_->place(l, left, top, width, height);
    return l;
}

QPushButton* WavForm::button(const QString& name, int left, int top, int width, int height,
                             QWidget* parent)
{
    auto* b = new QPushButton(parent ? parent : canvasBox_);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::TabFocus);
    layout_->place(b, left, top, width, height);
    return b;
}

void WavForm::buildControls()
{
    canvasBox_ = new PictureBox(this);
    canvasBox_->setObjectName("WavFormSurface");
    canvasBox_->surface().Resize(DesignWidth, DesignHeight);
    canvasBox_->surface().SetBackColor(palette().color(QPalette::Window));
    setCentralWidget(canvasBox_);
    layout_ = new TwipLayout(canvasBox_, QSize(DesignWidth, DesignHeight));

    // File values above the graph; the time scale's ticks stand between them and the graph.
    label("Label1", 300, 20, 6600);
    label("Label2", 7000, 20, 1900);
    label("Label3", 7000, 230, 3900);
    label("Label14", 300, 230, 3000);
    label("timescalelabel", 3500, 230, 2600);

    // The graph container, its two graphs, their selection strips and highlight copies.
    auto* container = new QFrame(canvasBox_);
    container->setObjectName("Picture1");
    container->setFrameShape(QFrame::Panel);
    container->setFrameShadow(QFrame::Sunken);
    Picture1 = container;
    layout_->place(Picture1, 300, 600, 10104, 3900);
    Picture2 = graphBox("Picture2", Picture1);
    Picture3 = graphBox("Picture3", Picture2);
    Picture4 = graphBox("Picture4", Picture3);
    Picture5 = graphBox("Picture5", Picture1);
    Picture6 = graphBox("Picture6", Picture5);
    Picture7 = graphBox("Picture7", Picture6);
    layout_->place(Picture2, 0, 0, kGraphWidth, GraphWave::StereoBoxHeight);
    layout_->place(Picture5, 0, kLowerGraphTop, kGraphWidth, GraphWave::StereoBoxHeight);
    layout_->place(Picture3, 0, 0, 0, GraphWave::StereoBoxHeight);
    layout_->place(Picture6, 0, 0, 0, GraphWave::StereoBoxHeight);
    layout_->place(Picture4, 0, 0, kGraphWidth, GraphWave::StereoBoxHeight);
    layout_->place(Picture7, 0, 0, kGraphWidth, GraphWave::StereoBoxHeight);
    Picture2->setFocusPolicy(Qt::StrongFocus);
    for (PictureBox* box : {Picture2, Picture4, Picture5, Picture7})
        box->surface().Resize(kGraphWidth - kGraphBorder, GraphWave::StereoBoxHeight - kGraphBorder);
    // The play cursor: one line in each graph and in each highlight copy, at the same x.
    const std::pair<const char*, PictureBox*> lines[] = {
        {"Line1", Picture2}, {"Line2", Picture5}, {"Line3", Picture4}, {"Line4", Picture7}};
    for (auto [name, graph] : lines) {
        auto* line = new QFrame(graph);
        line->setObjectName(name);
        line->setFrameShape(QFrame::VLine);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->hide();
        layout_->place(line, 0, 0, 15, GraphWave::StereoBoxHeight);
    }

    // The sound's values.
    label("Label7", 300, 4600, 1900);
    label("Label8", 2200, 4600, 1300);
    label("Label5", 300, 4850, 1900);
    label("Label6_0", 2200, 4850, 1300);
    label("Label10", 300, 5100, 900);
    label("Label9", 1300, 5100, 900);
    label("Label12", 2200, 5100, 500)->setToolTip("Block align");
    label("Label13", 2700, 5100, 800)->setToolTip("Data size");
    // Labels that only hold values for the view and the selection.
    for (const char* name : {"Label4", "Label6_1", "Label11", "Label15_0", "Label15_1", "Label17", "Label19"})
        label(name, 0, 0, 15, 15)->hide();

    // The selection read-out grid.
    label("Label16_8", 3700, 4600, 3500);
    label("Label16_11", 4650, 4850, 880);
    label("Label16_7", 5550, 4850, 880);
    label("Label16_9", 6450, 4850, 880);
    label("Label16_0", 3700, 5100, 950);
    label("Label16_10", 3700, 5350, 950);
    for (int i = 1; i <= 6; ++i) {
        QLabel* value = label(QString("Label16_%1").arg(i), 4650 + ((i - 1) % 3) * 900,
                              i <= 3 ? 5100 : 5350, 880);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
    }
    label("Label23", 3700, 5700, 1500);
    Textcycle = new QLineEdit("0", canvasBox_);
    Textcycle->setObjectName("Textcycle");
    layout_->place(Textcycle, 5250, 5670, 800, 285);
    label("Labelperiod", 3700, 6000, 3500);
    label("Labelfrequency", 3700, 6250, 3500);
    showampCheck = new QCheckBox(canvasBox_);
    showampCheck->setObjectName("showampCheck");
    layout_->place(showampCheck, 3700, 6550, 1100, 285);
    amp = label("amp", 4850, 6550, 1500, 285);
    amp->setFrameShape(QFrame::Panel);
    amp->setFrameShadow(QFrame::Sunken);
    label("Label18", 300, 5450, 1900)->hide();

    // Saving and the channel choice.
    Frame1 = new QGroupBox(canvasBox_);
    Frame1->setObjectName("Frame1");
    layout_->place(Frame1, 7400, 4550, 3400, 800);
    label("Label20", 120, 300, 1000, 225, Frame1);
    button("savewholeaudio", 1150, 250, 1000, 345, Frame1);
    button("saveselectedaudio", 2200, 250, 1100, 345, Frame1);
    Frame2 = new QGroupBox(Frame1);
    Frame2->setObjectName("Frame2");
    layout_->place(Frame2, 120, 700, 3160, 1000);
    for (int i = 1; i <= 3; ++i) {
        auto* option = new QRadioButton(Frame2);
        option->setObjectName(QString("Option%1").arg(i));
        layout_->place(option, 120 + (i - 1) * 1000, 350, 1000, 300);
    }

    // Editing, playback and the volume.
    button("Command5", 300, 5750, 2400);
    button("Command6", 300, 6150, 1150);
    button("Command7", 1550, 6150, 1150);
    button("Command8", 300, 6550, 1150);
    button("record", 1550, 6550, 1150);
    button("Command1", 7400, 6450, 800);
    button("Command2", 8250, 6450, 800);
    button("Command3", 9100, 6450, 800);
    button("Command4", 9950, 6450, 850);
    button("Command9", 7400, 6850, 800);
    Slider1 = new QSlider(Qt::Horizontal, canvasBox_);
    Slider1->setObjectName("Slider1");
    Slider1->setRange(-50, 100);
    Slider1->setValue(0);
    layout_->place(Slider1, 8250, 6870, 2550, 300);
    label("Label21", 300, 7000, 1500);
    Text1 = new QLineEdit("0", canvasBox_);
    Text1->setObjectName("Text1");
    layout_->place(Text1, 1800, 6970, 1000, 285);
    label("Label22", 3000, 7000, 1300);
    Text2 = new QLineEdit("0", canvasBox_);
    Text2->setObjectName("Text2");
    layout_->place(Text2, 4300, 6970, 1200, 285);
    button("Closebutton", 9950, 7050, 850, 345);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");

    connect(findChild<QPushButton*>("Command6"), &QPushButton::clicked, this, &WavForm::Zoom);
    connect(findChild<QPushButton*>("savewholeaudio"), &QPushButton::clicked, this, &WavForm::saveWhole);
    connect(findChild<QPushButton*>("saveselectedaudio"), &QPushButton::clicked, this,
            &WavForm::saveSelected);
    connect(findChild<QPushButton*>("Command5"), &QPushButton::clicked, this, &WavForm::pasteNew);
    connect(findChild<QPushButton*>("Command7"), &QPushButton::clicked, this, &WavForm::Restore);
    connect(findChild<QPushButton*>("Closebutton"), &QPushButton::clicked, this, &WavForm::closeWindow);
    LinkTool(findChild<QPushButton*>("record"), FrameServices::Tool::Recorder,
             [](FrameServices& f) { f.showRecorder(); });
    connect(showampCheck, &QCheckBox::clicked, this, [this](bool ticked) {
        selection_.amplitude().ShowAmplitudeBoxClicked(ticked);
        syncSelection();
    });
    connect(findChild<QPushButton*>("Command8"), &QPushButton::clicked, this, [this] {
        selection_.Cancel();
        Picture2->setFocus();
        syncSelection();
    });
    connect(Textcycle, &QLineEdit::textChanged, this, [this](const QString& text) {
        selection_.CycleCountChanged(text);
        syncSelection();
    });
    amp->installEventFilter(this);
}

QAction* WavForm::menuItem(QMenu* menu, const char* name, int text, const QKeySequence& key)
{
    QAction* a = menu->addAction(LoadText(text));
    a->setObjectName(name);
    if (!key.isEmpty()) {
        // The window's own shortcuts: active while the focus is anywhere in this window, so
        // two analyser windows do not compete for them.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        // Ctrl+O stays the frame's, which hands it to the active window's Open: two live
        // shortcuts for one key would cancel each other.
        if (key != QKeySequence(QKeySequence::Open)) addAction(a);
    }
    return a;
}

void WavForm::buildMenus()
{
    auto menu = [this](const char* name, int text) {
        QMenu* m = menuBar()->addMenu(LoadText(text));
        m->setObjectName(name);
        return m;
    };
    QMenu* file = menu("mnufile", 101);
    connect(menuItem(file, "mnuopen", 129, QKeySequence("Ctrl+O")), &QAction::triggered, this,
            &WavForm::openOther);
    connect(menuItem(file, "mnuaudiosavewhole", 535), &QAction::triggered, this, &WavForm::saveWhole);
    connect(menuItem(file, "mnuaudiosaveselected", 536), &QAction::triggered, this,
            &WavForm::saveSelected);
    connect(menuItem(file, "mnuimagesavewhole", 537), &QAction::triggered, this, &WavForm::saveImage);
    menuItem(file, "mnuimagesaveselected", 538);
    connect(menuItem(file, "mnuclose", 134), &QAction::triggered, this, &WavForm::closeWindow);
    connect(menuItem(file, "mnuexit", 206), &QAction::triggered, this, &WavForm::exitProgram);

    QMenu* edit = menu("mnuedit", 136);
    connect(menuItem(edit, "mnuzoom", 137), &QAction::triggered, this, &WavForm::Zoom);
    connect(menuItem(edit, "mnurestore", 138), &QAction::triggered, this, &WavForm::Restore);
    menuItem(edit, "mnucopy", 139);
    connect(menuItem(edit, "mnupaste", 140), &QAction::triggered, this, &WavForm::pasteNew);

    QMenu* run = menu("mnurun", 141);
    connect(menuItem(run, "mnuplay", 142, QKeySequence("Ctrl+P")), &QAction::triggered, this,
            [this] { WindowsMediaPlayer1->play(); });
    connect(menuItem(run, "mnuhalt", 143, QKeySequence("Ctrl+H")), &QAction::triggered, this,
            [this] { WindowsMediaPlayer1->pause(); });
    connect(menuItem(run, "mnustop", 144), &QAction::triggered, this,
            [this] { WindowsMediaPlayer1->stop(); });
    using Tool = FrameServices::Tool;
    LinkTool(menuItem(run, "mnurecord", 145, QKeySequence("Ctrl+R")), Tool::Recorder,
             [](FrameServices& f) { f.showRecorder(); });
    connect(menuItem(run, "mnuwindowrecorder", 146), &QAction::triggered, this,
            [] { platform::StartProgram("SoundRecorder.exe"); });
    LinkTool(menuItem(run, "mnufft", 147, QKeySequence("Ctrl+A")), Tool::Spectrum,
             [this](FrameServices& f) { f.showSpectrum(doc_.windowNumber, doc_.samplesFile, windowTitle()); });
    run->addSeparator()->setObjectName("mnurunspace1");
    LinkTool(menuItem(run, "mnugrabvideo", 148), Tool::Capture, [](FrameServices& f) { f.showCapture(); });
    LinkTool(menuItem(run, "mnuplayvideo", 149), Tool::VideoWindow,
             [](FrameServices& f) { f.openVideoWindow(QString()); });
    LinkTool(menuItem(run, "mnuimageprocessor", 540), Tool::ImageProcessor,
             [](FrameServices& f) { f.showImageProcessor(); });

    QMenu* settings = menu("mnusettings", 156);
    connect(menuItem(settings, "mnuvolumecontrol", 157), &QAction::triggered, this,
            [] { platform::StartProgram("sndvol.exe"); });
    QAction* equalise = menuItem(settings, "mnuequaliseamp", 158);
    equalise->setCheckable(true);
    connect(equalise, &QAction::triggered, this, &WavForm::toggleEqualise);
    QAction* show = menuItem(settings, "mnushowamp", 159);
    show->setCheckable(true);
    connect(show, &QAction::triggered, this, &WavForm::toggleShowAmp);
    QMenu* channels = settings->addMenu(LoadText(541));
    channels->setObjectName("mnuaudiochannels");
    channels->menuAction()->setObjectName("mnuaudiochannels");
    menuItem(channels, "mnuboth", 542);
    menuItem(channels, "mnuleft", 543);
    menuItem(channels, "mnuright", 544);

    QMenu* windows = menu("mnuwindows", 164);
    connect(menuItem(windows, "mnunormal", 545), &QAction::triggered, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showNormal();
    });
    connect(menuItem(windows, "mnumaximum", 560), &QAction::triggered, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMaximized();
    });
    QMenu* help = menu("mnuhelp", 167);
    LinkTool(menuItem(help, "mnuabout", 168), Tool::About, [](FrameServices& f) { f.showAbout(); });
}

void WavForm::setCaptions()
{
    for (const Caption& c : kCaptions) {
        QWidget* w = findChild<QWidget*>(c.name);
        if (auto* l = qobject_cast<QLabel*>(w)) l->setText(LoadText(c.text));
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(LoadText(c.text));
    }
    findChild<QLabel*>("Labelfrequency")->setText(LoadText(193) + "= ");
    Frame1->setTitle(LoadText(506));
    Frame2->setTitle(LoadText(176));
    Textcycle->setToolTip(LoadText(422));
    findChild<QLabel*>("Labelperiod")->setToolTip(LoadText(520));
    findChild<QLabel*>("Labelfrequency")->setToolTip(LoadText(518));
    amp->setToolTip(LoadText(517));
    showampCheck->setToolTip(LoadText(421));
    Slider1->setToolTip(LoadText(423));
}

void WavForm::toggleShowAmp()
{
    const bool on = selection_.amplitude().ShowAmplitudeMenuClicked();
    if (FrameServices* frame = FrameServices::Instance()) frame->setShowAmplitude(on);
    syncSelection();
}

void WavForm::toggleEqualise()
{
    const bool on = selection_.amplitude().EqualiseMenuClicked();
    if (FrameServices* frame = FrameServices::Instance()) frame->setEqualiseAmplitude(on);
    syncSelection();
}

double WavForm::graphWidth() const { return Picture2->surface().ScaleWidth(); }

SelectionView WavForm::currentView() const
{
    SelectionView view;
    view.sampleRate = doc_.sampleRate();
    view.viewSamples = doc_.viewSamples();
    view.viewDuration = doc_.viewDuration();
    view.viewStartSample = doc_.viewStartSample();
    view.viewStartTicks = doc_.viewStartTicks();
    return view;
}

void WavForm::connectGraphs()
{
    using G = Selection::Graph;
    using E = Selection::Event;
    auto wire = [this](PictureBox* box, G graph) {
        connect(box, &PictureBox::mousePressed, this,
                [this, graph](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) {
                    selection_.Mouse(graph, E::Press, b, p.x(), graphWidth());
                    syncSelection();
                });
        connect(box, &PictureBox::mouseMoved, this,
                [this, graph](Qt::MouseButtons b, Qt::KeyboardModifiers, QPointF p) {
                    selection_.Mouse(graph, E::Move, b, p.x(), graphWidth());
                    syncSelection();
                });
        connect(box, &PictureBox::mouseReleased, this,
                [this, graph](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) {
                    selection_.Mouse(graph, E::Release, b, p.x(), graphWidth());
                    syncSelection();
                });
    };
    wire(Picture2, G::Upper);
    wire(Picture4, G::UpperShading);
    wire(Picture5, G::Lower);
    // Presses inside the lower graph's shading (on Picture7) have no function.
}

void WavForm::syncSelection()
{
    // The shading strips and their highlight copies, the same on both graphs.
    const std::pair<PictureBox*, PictureBox*> strips[] = {{Picture3, Picture4}, {Picture6, Picture7}};
    const SelectionShading shadings[] = {selection_.upperShading(), selection_.lowerShading()};
    for (int i = 0; i < 2; ++i) {
        auto [strip, copy] = strips[i];
        const SelectionShading& s = shadings[i];
        const int height = layout_->twips(i == 0 ? Picture2 : Picture5).height();
        layout_->place(strip, int(std::lround(s.left)), 0, int(std::lround(s.width)), height);
        layout_->place(copy, int(std::lround(s.copyLeft())), 0, kGraphWidth, height);
        strip->setVisible(s.visible && s.width > 0);
        copy->setVisible(s.copyVisible);
    }
    const SelectionReadout& r = selection_.readout();
    const QString values[] = {r.initialTime, r.finalTime, r.intervalTime,
                              r.initialSample, r.finalSample, r.selectedSamples};
    for (int i = 0; i < 6; ++i)
        findChild<QLabel*>(QString("Label16_%1").arg(i + 1))->setText(values[i]);
    findChild<QLabel*>("Label19")->setText(selection_.draggedSampleCount());
    doc_.selectionStartTicks = selection_.selectionStartTicks();
    doc_.selectionEndTicks = selection_.selectionEndTicks();
    const Qt::CursorShape pointer = selection_.resizePointer() ? Qt::SizeHorCursor : Qt::ArrowCursor;
    Picture2->setCursor(pointer);
    Picture4->setCursor(pointer);

    if (!selection_.period().periodCaption().isEmpty())
        findChild<QLabel*>("Labelperiod")->setText(selection_.period().periodCaption());
    if (!selection_.period().frequencyCaption().isEmpty())
        findChild<QLabel*>("Labelfrequency")->setText(selection_.period().frequencyCaption());

    const AmplitudeReadout& a = selection_.amplitude();
    amp->setText(a.caption());
    if (!a.toolTip().isEmpty()) amp->setToolTip(a.toolTip());
    amp->setVisible(a.readoutVisible());
    showampCheck->setChecked(a.showAmplitudeBoxChecked());
    showampCheck->setEnabled(a.showAmplitudeBoxEnabled());
    findChild<QAction*>("mnushowamp")->setChecked(a.showAmplitudeMenuChecked());
    findChild<QAction*>("mnuequaliseamp")->setChecked(a.equaliseChecked());
}

bool WavForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == amp && event->type() == QEvent::MouseButtonDblClick) {
        selection_.AmpDoubleClick();
        syncSelection();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void WavForm::applyDocumentLabels()
{
    for (const auto& [name, text] : doc_.LabelTexts())
        if (auto* l = findChild<QLabel*>(name)) l->setText(text);
    findChild<QLabel*>("Label9")->setProperty("Tag", doc_.channelModeTag);
    findChild<QLabel*>("Label11")->setProperty("Tag", doc_.columnTableBaseTag);
}

void WavForm::hideSelectionStrips()
{
    for (PictureBox* strip : {Picture3, Picture6}) {
        strip->hide();
        layout_->resize(strip, 0, layout_->twips(strip).height());
    }
}

void WavForm::clearGraphs()
{
    for (PictureBox* box : {Picture2, Picture5, Picture4, Picture7}) {
        box->surface().Cls();
        box->update();
    }
}

void WavForm::InitStart()
{
    setWindowTitle(QString());
    canvasBox_->surface().Cls();
    canvasBox_->update();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (!sub->isMaximized() && !sub->isMinimized()) {
            // The design places the window at 80, 50 twips; it is sized so that its inner area
            // has the design size whatever the title and menu bars measure.
            sub->move(twips::ToPixels(80), twips::ToPixels(50));
            const QSize inner = layout_->normalPixelSize();
            const QSize extra = sub->size() - canvasBox_->size();
            sub->resize(inner + (sub->isVisible() ? extra : QSize(12, 60)));
        }
    }
    doc_.InitStart();
    selection_.InitStart();
    hideSelectionStrips();
    clearGraphs();
    for (const char* name : {"Label1", "Label2", "Label3", "Label6_0", "Label6_1", "Label8", "Label9",
                             "Label10", "Label11", "Label12", "Label13", "Label14", "Label19",
                             "Label16_1", "Label16_2", "Label16_3", "Label16_4", "Label16_5",
                             "Label16_6"})
        findChild<QLabel*>(name)->clear();
}

void WavForm::drawWave(std::int64_t start, std::int32_t frames)
{
    WaveFile file;
    if (file.Open(doc_.samplesFile) != 0) return;
    const QColor background = palette().color(QPalette::Window);
    GraphWave graph(Picture2->surface(), Picture4->surface(), Picture5->surface(),
                    Picture7->surface(), columnTable_);
    const bool rightOnly = !doc_.stereo() && channelChoice_ == 2;
    graph.SetColours(background, rightOnly ? GraphWave::DarkRed() : GraphWave::Blue());
    graph.SetButtonFace(palette().color(QPalette::Button));
    graph.SetBorderTwips(kGraphBorder);
    graph.SetEqualise(selection_.amplitude().equaliseChecked());
    const GraphLayout layout = graph.Draw(file, start, frames, doc_.bitsPerSample(), doc_.channelMode());
    file.Close();

    layout_->resize(Picture2, kGraphWidth, layout.upperHeight);
    for (PictureBox* copy : {Picture3, Picture4})
        layout_->resize(copy, layout_->twips(copy).width(), layout.upperHeight);
    Picture5->setVisible(layout.lowerVisible);
    if (layout.lowerVisible) {
        layout_->resize(Picture5, kGraphWidth, layout.lowerHeight);
        for (PictureBox* copy : {Picture6, Picture7})
            layout_->resize(copy, layout_->twips(copy).width(), layout.lowerHeight);
    }
    for (const char* name : {"Line1", "Line3"})
        layout_->resize(findChild<QFrame*>(name), 15, layout.monoCursorHeight.value_or(layout.upperHeight));
    for (const char* name : {"Line2", "Line4"})
        layout_->resize(findChild<QFrame*>(name), 15, layout.lowerHeight);
    amp->setProperty("Tag", layout.ampTag);
    selection_.amplitude().SetPerColumn(layout.ampTag == "1");
    for (PictureBox* box : {Picture2, Picture4, Picture5, Picture7}) box->update();
}

void WavForm::LoadFileData(int windowNumber, const QString& fileName, int channelChoice)
{
    channelChoice_ = channelChoice;
    InitStart();
    doc_.fileName = fileName;
    doc_.samplesFile = fileName;
    doc_.windowNumber = std::int16_t(windowNumber);

    WaveFile file;
    const SoundDocument::LoadResult result = doc_.LoadFileData(file, fileName, std::int16_t(windowNumber));
    file.Close();
    setWindowTitle(doc_.caption);
    applyDocumentLabels();
    if (!result.ok()) {
        if (!result.errorLabel.isEmpty())
            if (auto* l = findChild<QLabel*>(result.errorLabel)) l->setText(LoadText(402));
        Prompts::Current().MsgBox("Error!!", MsgButtons::OK, QApplication::applicationName());
        InitStart();
        return;
    }

    {
        BusyPointer busy;
        drawWave(doc_.dataStart(), doc_.totalSamples());
        const QRect p1 = layout_->twips(Picture1);
        TickFrame frame{double(p1.left()), double(p1.top()), double(p1.width()),
                        double(p1.height() - kGraphBorder)};
        canvasBox_->surface().SetForeColor(palette().color(QPalette::WindowText));
        findChild<QLabel*>("timescalelabel")
            ->setText(DrawTickMarks(canvasBox_->surface(), frame, doc_,
                                    selection_.amplitude().showAmplitudeBoxChecked()));
        canvasBox_->update();
    }

    doc_.loaded = true;
    const bool stereo = doc_.stereo();
    selection_.SetView(currentView());
    selection_.SetStereo(stereo);
    selection_.amplitude().SetStereo(stereo);
    selection_.SetSelectionTicks(0, doc_.selectionEndTicks);
    selection_.SetLoaded(true);
    syncSelection();
    cursor_.SetSampleRate(doc_.sampleRate());
    cursor_.SetWholeView();
    Frame2->setVisible(stereo);
    findChild<QAction*>("mnuaudiochannels")->setEnabled(stereo);
    layout_->resize(Frame1, layout_->twips(Frame1).width(), stereo ? 1815 : 800);
}

void WavForm::Zoom()
{
    if (doc_.sampleRateText.isEmpty() || !selection_.windowReady()) {
        Picture2->setFocus();
        return;
    }
    if (selection_.readout().initialSample.isEmpty()) {
        Prompts::Current().MsgBox(LoadText(609), MsgButtons::OK, QApplication::applicationName());
        return;
    }
    BusyPointer busy;
    Picture2->setFocus();
    hideSelectionStrips();
    clearGraphs();
    const SelectedStretch stretch = SelectedStretchOf(doc_, selection_.readout());
    if (stretch.start > INT32_MAX || stretch.start < INT32_MIN) return;
    const std::int32_t count = std::int32_t(stretch.frames) + 1;
    doc_.setColumnTableBase(std::int32_t(stretch.firstFrame));
    selection_.HideShading();
    drawWave(stretch.start, count);
    doc_.setViewStartTicks(selection_.selectionStartTicks());
    doc_.setViewSamples(count);
    doc_.setViewDuration(double(count) / doc_.sampleRate());
    doc_.setViewStartSample(std::int32_t(stretch.firstFrame));
    applyDocumentLabels();
    selection_.SetView(currentView());
    selection_.amplitude().SetColumnTableBase(stretch.firstFrame);
    cursor_.SetView(std::int32_t(std::min<std::int64_t>(doc_.viewStartTicks(), INT32_MAX)), doc_.viewDuration());
    syncSelection();
}

void WavForm::Restore()
{
    if (!selection_.windowReady() || selection_.readout().initialSample.isEmpty()) {
        Picture2->setFocus();
        return;
    }
    BusyPointer busy;
    Picture2->setFocus();
    doc_.selectionStartTicks = 0;
    doc_.setViewStartTicks(0);
    doc_.setViewDuration(doc_.totalDuration());
    doc_.setViewSamples(doc_.totalSamples());
    doc_.setViewStartSample(0);
    doc_.setColumnTableBase(0);
    hideSelectionStrips();
    selection_.HideShading();
    clearGraphs();
    drawWave(doc_.dataStart(), doc_.totalSamples());
    doc_.loaded = true;
    applyDocumentLabels();
    selection_.SetSelectionTicks(0, selection_.selectionEndTicks());
    selection_.SetView(currentView());
    selection_.amplitude().SetColumnTableBase(0);
    selection_.SetLoaded(true);
    cursor_.SetWholeView();
    findChild<QPushButton*>("Command8")->click();
}

void WavForm::saveImage()
{
    if (!Frame2->isHidden()) {
        const bool right = findChild<QRadioButton*>("Option2")->isChecked();
        const bool left = findChild<QRadioButton*>("Option3")->isChecked();
        const bool both = !right && !left;
        if (left || both) SavePictureAs(Picture2->picture(), LoadText(406));
        if (right || both) SavePictureAs(Picture5->picture(), LoadText(407));
    } else {
        SavePictureAs(Picture2->picture(), LoadText(408));
    }
}

void WavForm::openOther()
{
    FrameServices* frame = FrameServices::Instance();
    CommonDialog local;
    CommonDialog& dialog = frame ? frame->openDialog() : local;
    dialog.Filter = kSoundFilter;
    dialog.FilterIndex = 1;
    dialog.DialogTitle.clear();   // the dialog may come from a save with its own title
    dialog.CancelError = true;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty()) return;
    QString path = dialog.FileName;
    if (frame) frame->noteOpened(path);
    if (path.right(4).toLower() == ".mp3") {
        BusyPointer busy;
        path = DecodeMp3ToWav(path, AskThroughPrompts(), 200);
    }
    OpenSoundWindow(path, 0);
}

void WavForm::exitProgram()
{
    FrameServices* frame = FrameServices::Instance();
    if (!frame) {
        QApplication::quit();
        return;
    }
    const QString last = frame->lastFile();
    if (!last.isEmpty() && QFile::exists(last))
        platform::SaveSetting("KIVRA", "preferences", "lastfile", last);
    frame->exitProgram();
}

void WavForm::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void WavForm::closeEvent(QCloseEvent* event)
{
    // Pasted clips and decoder outputs are temporary files of this window, unless saved. Only
    // files this run made as such are deleted: a user's own file may carry such a name too.
    const QString path = windowTitle();
    const bool temporaryName = path.contains("Untitled") || path.toLower().contains("_.wav");
    if (Tag != "saved" && temporaryName && platform::IsTemporary(path) && QFileInfo(path).isFile()) {
        QFile::remove(path);
        platform::ForgetTemporary(path);
    }
    event->accept();
}
