#include "sound/WavForm.h"

#include "imaging/SavePictureAs.h"
#include "platform/BusyPointer.h"
#include "platform/ChildWindow.h"
#include "platform/CommonDialog.h"
#include "platform/ControlTable.h"
#include "platform/FrameServices.h"
#include "platform/MediaPlayer.h"
#include "platform/PictureBox.h"
#include "platform/Process.h"
#include "platform/Prompts.h"
#include "platform/Settings.h"
#include "platform/TemporaryFiles.h"
#include "platform/ToolLinks.h"
#include "platform/TwipLayout.h"
#include "sound/DecodeMp3.h"
#include "sound/OpenSoundWindow.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
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
constexpr int kGraphHeight = GraphWave::StereoBoxHeight;
}

WavForm::WavForm(int windowCounter, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("WavForm");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    buildMenus();
    connectControls();
    connectPlayback();

    // The window's load.
    setWindowTitle(LoadText(169));
    FrameServices* frame = FrameServices::Instance();
    if (frame) setWindowIcon(frame->frameWindow()->windowIcon());
    bothOption_->setChecked(true);
    Frame2->hide();
    layout_->resize(Frame1, layout_->twips(Frame1).width(), 800);
    if (frame) analyser_->LoadOptions(frame->showAmplitude(), frame->equaliseAmplitude());
    InitStart();
    if (windowCounter == 0) {
        hide();
        QTimer::singleShot(0, this, &WavForm::openOther);
    }
}

WavForm::~WavForm() = default;

void WavForm::buildControls()
{
    canvasBox_ = new PictureBox(this);
    canvasBox_->setObjectName("WavFormSurface");
    canvasBox_->surface().Resize(DesignWidth, DesignHeight);
    canvasBox_->surface().SetBackColor(palette().color(QPalette::Window));
    setCentralWidget(canvasBox_);
    layout_ = new TwipLayout(canvasBox_, QSize(DesignWidth, DesignHeight));

    using R = ControlRow;
    const int W = SoundAnalyser::GraphWidth;
    const QRect hidden(0, 0, 15, 15);
    BuildControls(canvasBox_, *layout_, {
        // File values above the graph; the time scale's ticks stand between them and the graph.
        {"Label1", &fileName_, {300, 20, 6600, 225}},
        {"Label2", &size_, {7000, 20, 1900, 225}},
        {"Label3", &modified_, {7000, 230, 3900, 225}},
        {"Label14", &duration_, {300, 230, 3000, 225}},
        {"timescalelabel", &timeScale_, {3500, 230, 2600, 225}, 522},
        // The graph container, its two graphs, their selection strips and highlight copies.
        {"Picture1", &Picture1, SoundAnalyser::Container, 0, nullptr, R::Sunken},
        {"Picture2", &Picture2, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture1},
        {"Picture3", &Picture3, {0, 0, 0, kGraphHeight}, 0, (QWidget**)&Picture2},
        {"Picture4", &Picture4, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture3},
        {"Picture5", &Picture5, {0, SoundAnalyser::LowerGraphTop, W, kGraphHeight}, 0, (QWidget**)&Picture1},
        {"Picture6", &Picture6, {0, 0, 0, kGraphHeight}, 0, (QWidget**)&Picture5},
        {"Picture7", &Picture7, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture6},
        // The play cursor: one line in each graph and in each highlight copy, at the same x.
        {"Line1", &cursorLines_[0], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture2, R::VerticalLine | R::Hidden},
        {"Line2", &cursorLines_[1], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture5, R::VerticalLine | R::Hidden},
        {"Line3", &cursorLines_[2], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture4, R::VerticalLine | R::Hidden},
        {"Line4", &cursorLines_[3], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture7, R::VerticalLine | R::Hidden},
        // The sound's values.
        {"Label7", Caption, {300, 4600, 1900, 225}, 526},
        {"Label8", &sampleRate_, {2200, 4600, 1300, 225}},
        {"Label5", Caption, {300, 4850, 1900, 225}, 539},
        {"Label6_0", &totalSamples_, {2200, 4850, 1300, 225}},
        {"Label10", &bits_, {300, 5100, 900, 225}},
        {"Label9", &channels_, {1300, 5100, 900, 225}},
        {"Label12", &blockAlign_, {2200, 5100, 500, 225}},
        {"Label13", &dataSize_, {2700, 5100, 800, 225}},
        // Labels that only hold values for the view and the selection.
        {"Label4", &viewStartTicks_, hidden, 0, nullptr, R::Hidden},
        {"Label6_1", &viewSamples_, hidden, 0, nullptr, R::Hidden},
        {"Label11", &dataStart_, hidden, 0, nullptr, R::Hidden},
        {"Label15_0", &totalDuration_, hidden, 0, nullptr, R::Hidden},
        {"Label15_1", &viewDuration_, hidden, 0, nullptr, R::Hidden},
        {"Label17", &viewStartSample_, hidden, 0, nullptr, R::Hidden},
        {"Label19", &draggedCount_, hidden, 0, nullptr, R::Hidden},
        // The selection read-out grid.
        {"Label16_8", Caption, {3700, 4600, 3500, 225}, 528},
        {"Label16_11", Caption, {4650, 4850, 880, 225}, 525},
        {"Label16_7", Caption, {5550, 4850, 880, 225}, 183},
        {"Label16_9", Caption, {6450, 4850, 880, 225}, 184},
        {"Label16_0", Caption, {3700, 5100, 950, 225}, 186},
        {"Label16_10", Caption, {3700, 5350, 950, 225}, 185},
        {"Label16_1", &selectionValues_[0], {4650, 5100, 880, 225}, 0, nullptr, R::Sunken},
        {"Label16_2", &selectionValues_[1], {5550, 5100, 880, 225}, 0, nullptr, R::Sunken},
        {"Label16_3", &selectionValues_[2], {6450, 5100, 880, 225}, 0, nullptr, R::Sunken},
        {"Label16_4", &selectionValues_[3], {4650, 5350, 880, 225}, 0, nullptr, R::Sunken},
        {"Label16_5", &selectionValues_[4], {5550, 5350, 880, 225}, 0, nullptr, R::Sunken},
        {"Label16_6", &selectionValues_[5], {6450, 5350, 880, 225}, 0, nullptr, R::Sunken},
        {"Label23", Caption, {3700, 5700, 1500, 225}, 521},
        {"Textcycle", &Textcycle, {5250, 5670, 800, 285}},
        {"Labelperiod", &period_, {3700, 6000, 3500, 225}, 519},
        {"Labelfrequency", &frequency_, {3700, 6250, 3500, 225}},
        {"showampCheck", &showampCheck, {3700, 6550, 1100, 285}, 425},
        {"amp", &amp, {4850, 6550, 1500, 285}, 0, nullptr, R::Sunken},
        {"Label18", Caption, {300, 5450, 1900, 225}, 507, nullptr, R::Hidden},
        // Saving and the channel choice.
        {"Frame1", &Frame1, {7400, 4550, 3400, 800}, 506},
        {"Label20", Caption, {120, 300, 1000, 225}, 527, (QWidget**)&Frame1},
        {"savewholeaudio", &saveWholeButton_, {1150, 250, 1000, 345}, 173, (QWidget**)&Frame1},
        {"saveselectedaudio", &saveSelectedButton_, {2200, 250, 1100, 345}, 174, (QWidget**)&Frame1},
        {"Frame2", &Frame2, {120, 700, 3160, 1000}, 176, (QWidget**)&Frame1},
        {"Option1", &bothOption_, {120, 350, 1000, 300}, 161, (QWidget**)&Frame2},
        {"Option2", &rightOption_, {1120, 350, 1000, 300}, 163, (QWidget**)&Frame2},
        {"Option3", &leftOption_, {2120, 350, 1000, 300}, 162, (QWidget**)&Frame2},
        // Editing, playback and the level.
        {"Command5", &pasteButton_, {300, 5750, 2400, 345}, 175},
        {"Command6", &zoomButton_, {300, 6150, 1150, 345}, 137},
        {"Command7", &restoreButton_, {1550, 6150, 1150, 345}, 195},
        {"Command8", &cancelButton_, {300, 6550, 1150, 345}, 252},
        {"record", &recordButton_, {1550, 6550, 1150, 345}, 145},
        {"Command1", &playButton_, {7400, 6450, 800, 345}, 511},
        {"Command2", &haltButton_, {8250, 6450, 800, 345}, 509},
        {"Command3", &stopButton_, {9100, 6450, 800, 345}, 510},
        {"Command4", &continueButton_, {9950, 6450, 850, 345}, 508},
        {"Command9", &loopButton_, {7400, 6850, 800, 345}, 505},
        {"Slider1", &Slider1, {8250, 6870, 2550, 300}},
        {"Label21", Caption, {300, 7000, 1500, 225}, 524},
        {"Text1", &Text1, {1800, 6970, 1000, 285}},
        {"Label22", Caption, {3000, 7000, 1300, 225}, 523},
        {"Text2", &Text2, {4300, 6970, 1200, 285}},
        {"Closebutton", &closeButton_, {9950, 7050, 850, 345}, 134},
    });
    for (QLineEdit* edit : {Textcycle, Text1, Text2}) edit->setText("0");
    Slider1->setRange(-50, 100);
    Slider1->setValue(0);
    Picture2->setFocusPolicy(Qt::StrongFocus);
    blockAlign_->setToolTip("Block align");
    dataSize_->setToolTip("Data size");
    frequency_->setText(LoadText(193) + "= ");
    Textcycle->setToolTip(LoadText(422));
    period_->setToolTip(LoadText(520));
    frequency_->setToolTip(LoadText(518));
    amp->setToolTip(LoadText(517));
    showampCheck->setToolTip(LoadText(421));
    Slider1->setToolTip(LoadText(423));
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");

    const QColor background = palette().color(QPalette::Window);
    analyser_ = std::make_unique<SoundAnalyser>(AnalyserCanvas{
        Picture2->surface(), Picture4->surface(), Picture5->surface(), Picture7->surface(),
        canvasBox_->surface(), background, palette().color(QPalette::Button),
        palette().color(QPalette::WindowText)});
}

void WavForm::connectControls()
{
    connect(zoomButton_, &QPushButton::clicked, this, &WavForm::Zoom);
    connect(restoreButton_, &QPushButton::clicked, this, &WavForm::Restore);
    connect(saveWholeButton_, &QPushButton::clicked, this, &WavForm::saveWhole);
    connect(saveSelectedButton_, &QPushButton::clicked, this, &WavForm::saveSelected);
    connect(pasteButton_, &QPushButton::clicked, this, &WavForm::pasteNew);
    connect(closeButton_, &QPushButton::clicked, this, &WavForm::closeWindow);
    LinkTool(recordButton_, FrameServices::Tool::Recorder, [](FrameServices& f) { f.showRecorder(); });
    connect(showampCheck, &QCheckBox::clicked, this, [this](bool ticked) {
        analyser_->ShowAmplitudeBoxClicked(ticked);
        showSelection();
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        analyser_->Cancel();
        Picture2->setFocus();
        showSelection();
    });
    connect(Textcycle, &QLineEdit::textChanged, this, [this](const QString& text) {
        analyser_->CycleCountChanged(text);
        showSelection();
    });
    amp->installEventFilter(this);

    // The mouse on the graphs. Presses inside the lower graph's shading (Picture7) do nothing.
    using G = Selection::Graph;
    using E = Selection::Event;
    const std::pair<PictureBox*, G> graphs[] = {{Picture2, G::Upper}, {Picture4, G::UpperShading},
                                               {Picture5, G::Lower}};
    for (auto [box, graph] : graphs) {
        auto send = [this, graph = graph](E event, Qt::MouseButtons buttons, QPointF p) {
            analyser_->Mouse(graph, event, buttons, p.x());
            showSelection();
        };
        connect(box, &PictureBox::mousePressed, this,
                [send](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { send(E::Press, b, p); });
        connect(box, &PictureBox::mouseMoved, this,
                [send](Qt::MouseButtons b, Qt::KeyboardModifiers, QPointF p) { send(E::Move, b, p); });
        connect(box, &PictureBox::mouseReleased, this,
                [send](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { send(E::Release, b, p); });
    }
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
    auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };
    using Tool = FrameServices::Tool;
    QMenu* file = menu("mnufile", 101);
    on(menuItem(file, "mnuopen", 129, QKeySequence("Ctrl+O")), &WavForm::openOther);
    on(menuItem(file, "mnuaudiosavewhole", 535), &WavForm::saveWhole);
    on(menuItem(file, "mnuaudiosaveselected", 536), &WavForm::saveSelected);
    on(menuItem(file, "mnuimagesavewhole", 537), &WavForm::saveImage);
    menuItem(file, "mnuimagesaveselected", 538);
    on(menuItem(file, "mnuclose", 134), &WavForm::closeWindow);
    on(menuItem(file, "mnuexit", 206), &WavForm::exitProgram);

    QMenu* edit = menu("mnuedit", 136);
    on(menuItem(edit, "mnuzoom", 137), &WavForm::Zoom);
    on(menuItem(edit, "mnurestore", 138), &WavForm::Restore);
    menuItem(edit, "mnucopy", 139);
    on(menuItem(edit, "mnupaste", 140), &WavForm::pasteNew);

    QMenu* run = menu("mnurun", 141);
    on(menuItem(run, "mnuplay", 142, QKeySequence("Ctrl+P")), [this] { WindowsMediaPlayer1->play(); });
    on(menuItem(run, "mnuhalt", 143, QKeySequence("Ctrl+H")), [this] { WindowsMediaPlayer1->pause(); });
    on(menuItem(run, "mnustop", 144), [this] { WindowsMediaPlayer1->stop(); });
    LinkTool(menuItem(run, "mnurecord", 145, QKeySequence("Ctrl+R")), Tool::Recorder,
             [](FrameServices& f) { f.showRecorder(); });
    on(menuItem(run, "mnuwindowrecorder", 146), [] { platform::StartProgram("SoundRecorder.exe"); });
    LinkTool(menuItem(run, "mnufft", 147, QKeySequence("Ctrl+A")), Tool::Spectrum, [this](FrameServices& f) {
        f.showSpectrum(document().windowNumber, document().samplesFile, windowTitle());
    });
    run->addSeparator()->setObjectName("mnurunspace1");
    LinkTool(menuItem(run, "mnugrabvideo", 148), Tool::Capture, [](FrameServices& f) { f.showCapture(); });
    LinkTool(menuItem(run, "mnuplayvideo", 149), Tool::VideoWindow,
             [](FrameServices& f) { f.openVideoWindow(QString()); });
    LinkTool(menuItem(run, "mnuimageprocessor", 540), Tool::ImageProcessor,
             [](FrameServices& f) { f.showImageProcessor(); });

    QMenu* settings = menu("mnusettings", 156);
    on(menuItem(settings, "mnuvolumecontrol", 157), [] { platform::StartProgram("sndvol.exe"); });
    equaliseItem_ = menuItem(settings, "mnuequaliseamp", 158);
    equaliseItem_->setCheckable(true);
    on(equaliseItem_, [this] {
        const bool checked = analyser_->EqualiseMenuClicked();
        if (FrameServices* frame = FrameServices::Instance()) frame->setEqualiseAmplitude(checked);
        showSelection();
    });
    showAmpItem_ = menuItem(settings, "mnushowamp", 159);
    showAmpItem_->setCheckable(true);
    on(showAmpItem_, [this] {
        const bool checked = analyser_->ShowAmplitudeMenuClicked();
        if (FrameServices* frame = FrameServices::Instance()) frame->setShowAmplitude(checked);
        showSelection();
    });
    channelsMenu_ = settings->addMenu(LoadText(541));
    channelsMenu_->setObjectName("mnuaudiochannels");
    channelsMenu_->menuAction()->setObjectName("mnuaudiochannels");
    menuItem(channelsMenu_, "mnuboth", 542);
    menuItem(channelsMenu_, "mnuleft", 543);
    menuItem(channelsMenu_, "mnuright", 544);

    QMenu* windows = menu("mnuwindows", 164);
    on(menuItem(windows, "mnunormal", 545), [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showNormal();
    });
    on(menuItem(windows, "mnumaximum", 560), [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMaximized();
    });
    QMenu* help = menu("mnuhelp", 167);
    LinkTool(menuItem(help, "mnuabout", 168), Tool::About, [](FrameServices& f) { f.showAbout(); });
}

void WavForm::showDocument()
{
    const SoundDocument& d = analyser_->document();
    const std::pair<QLabel*, const QString*> values[] = {
        {fileName_, &d.fileNameText},         {size_, &d.sizeText},
        {modified_, &d.modifiedText},         {viewStartTicks_, &d.viewStartTicksText},
        {totalSamples_, &d.totalSamplesText}, {viewSamples_, &d.viewSamplesText},
        {sampleRate_, &d.sampleRateText},     {channels_, &d.channelsText},
        {bits_, &d.bitsText},                 {dataStart_, &d.dataStartText},
        {blockAlign_, &d.blockAlignText},     {dataSize_, &d.dataSizeText},
        {duration_, &d.durationText},         {totalDuration_, &d.totalDurationText},
        {viewDuration_, &d.viewDurationText}, {viewStartSample_, &d.viewStartSampleText}};
    for (auto [label, text] : values) label->setText(*text);
    channels_->setProperty("Tag", d.channelModeTag);
    dataStart_->setProperty("Tag", d.columnTableBaseTag);
}

void WavForm::showGraphs()
{
    const GraphLayout& g = analyser_->layout();
    const int W = SoundAnalyser::GraphWidth;
    layout_->resize(Picture2, W, g.upperHeight);
    Picture5->setVisible(g.lowerVisible);
    if (g.lowerVisible) layout_->resize(Picture5, W, g.lowerHeight);
    for (PictureBox* box : {Picture3, Picture4})
        layout_->resize(box, layout_->twips(box).width(), g.upperHeight);
    for (PictureBox* box : {Picture6, Picture7})
        layout_->resize(box, layout_->twips(box).width(), g.lowerHeight);
    for (QFrame* line : {cursorLines_[0], cursorLines_[2]})
        layout_->resize(line, 15, g.monoCursorHeight.value_or(g.upperHeight));
    for (QFrame* line : {cursorLines_[1], cursorLines_[3]}) layout_->resize(line, 15, g.lowerHeight);
    amp->setProperty("Tag", g.ampTag);
    timeScale_->setText(analyser_->timeScaleCaption());
    for (PictureBox* box : {Picture2, Picture4, Picture5, Picture7}) box->update();
    canvasBox_->update();
}

void WavForm::showSelection()
{
    const Selection& s = analyser_->selection();
    // The shading strips and their highlight copies, the same on both graphs.
    const std::pair<PictureBox*, PictureBox*> strips[] = {{Picture3, Picture4}, {Picture6, Picture7}};
    const SelectionShading shadings[] = {s.upperShading(), s.lowerShading()};
    for (int i = 0; i < 2; ++i) {
        auto [strip, copy] = strips[i];
        const SelectionShading& shading = shadings[i];
        const int height = layout_->twips(i == 0 ? Picture2 : Picture5).height();
        layout_->place(strip, int(std::lround(shading.left)), 0, int(std::lround(shading.width)), height);
        layout_->place(copy, int(std::lround(shading.copyLeft())), 0, SoundAnalyser::GraphWidth, height);
        strip->setVisible(shading.visible && shading.width > 0);
        copy->setVisible(shading.copyVisible);
    }
    const SelectionReadout& r = s.readout();
    const QString* values[] = {&r.initialTime,   &r.finalTime,   &r.intervalTime,
                               &r.initialSample, &r.finalSample, &r.selectedSamples};
    for (size_t i = 0; i < 6; ++i) selectionValues_[i]->setText(*values[i]);
    draggedCount_->setText(s.draggedSampleCount());
    const Qt::CursorShape pointer = s.resizePointer() ? Qt::SizeHorCursor : Qt::ArrowCursor;
    Picture2->setCursor(pointer);
    Picture4->setCursor(pointer);
    if (!s.period().periodCaption().isEmpty()) period_->setText(s.period().periodCaption());
    if (!s.period().frequencyCaption().isEmpty()) frequency_->setText(s.period().frequencyCaption());

    const AmplitudeReadout& a = s.amplitude();
    amp->setText(a.caption());
    if (!a.toolTip().isEmpty()) amp->setToolTip(a.toolTip());
    amp->setVisible(a.readoutVisible());
    showampCheck->setChecked(a.showAmplitudeBoxChecked());
    showampCheck->setEnabled(a.showAmplitudeBoxEnabled());
    showAmpItem_->setChecked(a.showAmplitudeMenuChecked());
    equaliseItem_->setChecked(a.equaliseChecked());
}

bool WavForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == amp && event->type() == QEvent::MouseButtonDblClick) {
        analyser_->AmpDoubleClick();
        showSelection();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void WavForm::InitStart()
{
    setWindowTitle(QString());
    PlaceChildWindow(this, canvasBox_, QPoint(80, 50), layout_->normalPixelSize());
    analyser_->Reset();
    for (PictureBox* strip : {Picture3, Picture6}) layout_->resize(strip, 0, layout_->twips(strip).height());
    showDocument();
    showSelection();
    for (PictureBox* box : {Picture2, Picture5, Picture4, Picture7}) box->update();
    canvasBox_->update();
}

void WavForm::LoadFileData(int windowNumber, const QString& fileName, int channelChoice)
{
    InitStart();
    SoundDocument::LoadResult result;
    {
        BusyPointer busy;
        result = analyser_->Load(fileName, windowNumber, channelChoice);
    }
    setWindowTitle(document().caption);
    showDocument();
    if (!result.ok()) {
        Prompts::Current().MsgBox("Error!!", MsgButtons::OK, QApplication::applicationName());
        InitStart();
        return;
    }
    showGraphs();
    showSelection();
    const bool stereo = document().stereo();
    Frame2->setVisible(stereo);
    channelsMenu_->menuAction()->setEnabled(stereo);
    layout_->resize(Frame1, layout_->twips(Frame1).width(), stereo ? 1815 : 800);
}

void WavForm::Zoom()
{
    BusyPointer busy;
    switch (analyser_->Zoom()) {
    case SoundAnalyser::ZoomResult::NoSelection:
        Prompts::Current().MsgBox(LoadText(609), MsgButtons::OK, QApplication::applicationName());
        return;
    case SoundAnalyser::ZoomResult::NotReady:
        break;
    case SoundAnalyser::ZoomResult::Zoomed:
        showDocument();
        showGraphs();
        showSelection();
        break;
    }
    Picture2->setFocus();
}

void WavForm::Restore()
{
    BusyPointer busy;
    if (analyser_->Restore()) {
        showDocument();
        showGraphs();
        showSelection();
    }
    Picture2->setFocus();
}

void WavForm::saveImage()
{
    if (!Frame2->isHidden()) {
        const bool right = rightOption_->isChecked();
        const bool left = leftOption_->isChecked();
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
    QString path = AskForSoundFile(frame ? frame->openDialog() : local);
    if (path.isEmpty()) return;
    if (frame) frame->noteOpened(path);
    if (path.right(4).toLower() == ".mp3") {
        BusyPointer busy;
        path = DecodeMp3ToWav(path, AskThroughPrompts(), 200);
    }
    OpenSoundWindow(path, 0);
}

void WavForm::exitProgram()
{
    if (FrameServices* frame = FrameServices::Instance())
        frame->exitProgram(true);
    else
        QApplication::quit();
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
    // A pasted clip or a decoder output shown here goes with the window, unless it was saved.
    if (Tag != "saved") platform::DeleteScratchFile(windowTitle());
    event->accept();
}
