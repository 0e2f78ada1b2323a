#include "sound/WavForm.h"

#include "imaging/file/SavePictureAs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/ChildWindow.h"
#include "platform/ui/FrameServices.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/PictureBox.h"
#include "platform/system/Process.h"
#include "platform/ui/Prompts.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/ui/ToolLinks.h"
#include "platform/ui/TwipLayout.h"
#include "platform/audio/DecodeMp3.h"
#include "sound/AnalyserReadoutText.h"
#include "sound/OpenSoundWindow.h"
#include "text/LoadText.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <QSlider>
#include <QTimer>
#include <cmath>

WavForm::WavForm(int windowCounter, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("WavForm");
    setAttribute(Qt::WA_DeleteOnClose);
    ui_.Build(this);
    analyser_ = std::make_unique<SoundAnalyser>(ui_.Canvas());
    buildMenus();
    connectControls();
    connectPlayback();

    // The window's load.
    setWindowTitle(LoadText(169));
    FrameServices* frame = FrameServices::Instance();
    if (frame) setWindowIcon(frame->frameWindow()->windowIcon());
    if (frame) analyser_->LoadOptions(frame->showAmplitude(), frame->equaliseAmplitude());
    InitStart();
    if (windowCounter == 0) {
        hide();
        QTimer::singleShot(0, this, &WavForm::openOther);
    }
}

void WavForm::connectControls()
{
    connect(ui_.zoomButton, &QPushButton::clicked, this, &WavForm::Zoom);
    connect(ui_.restoreButton, &QPushButton::clicked, this, &WavForm::Restore);
    connect(ui_.saveWholeButton, &QPushButton::clicked, this, &WavForm::saveWhole);
    connect(ui_.saveSelectedButton, &QPushButton::clicked, this, &WavForm::saveSelected);
    connect(ui_.pasteButton, &QPushButton::clicked, this, &WavForm::pasteNew);
    connect(ui_.closeButton, &QPushButton::clicked, this, &WavForm::closeWindow);
    LinkTool(ui_.recordButton, FrameServices::Tool::Recorder, [](FrameServices& f) { f.showRecorder(); });
    connect(ui_.showampCheck, &QCheckBox::clicked, this, [this](bool ticked) {
        analyser_->ShowAmplitudeBoxClicked(ticked);
        showSelection();
    });
    connect(ui_.cancelButton, &QPushButton::clicked, this, [this] {
        analyser_->Cancel();
        ui_.Picture2->setFocus();
        showSelection();
    });
    connect(ui_.Textcycle, &QLineEdit::textChanged, this, [this](const QString& text) {
        analyser_->CycleCountChanged(text);
        showSelection();
    });
    ui_.amp->installEventFilter(this);
    for (PictureBox* graph : {ui_.Picture2, ui_.Picture4, ui_.Picture5}) graph->installEventFilter(this);
    // Space on a focused button or box still presses it, as before Space played the selection.
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->installEventFilter(this);
    connect(ui_.viewScroll, &QScrollBar::valueChanged, this, [this](int value) {
        ViewSpan span = analyser_->viewSpan();
        span.start = value;
        if (analyser_->ShowView(span)) showAll();
    });
    // The true envelope of a long stretch replaces its quick drawing when it is ready.
    connect(&analyser_->envelopeTask(), &EnvelopeTask::done, this, [this](const WaveEnvelope& envelope) {
        analyser_->ApplyEnvelope(envelope);
        for (PictureBox* box : {ui_.Picture2, ui_.Picture4, ui_.Picture5, ui_.Picture7}) box->update();
    });

    // The mouse on the graphs. Presses inside the lower graph's shading (ui_.Picture7) do nothing.
    using G = Selection::Graph;
    using E = Selection::Event;
    const std::pair<PictureBox*, G> graphs[] = {{ui_.Picture2, G::Upper}, {ui_.Picture4, G::UpperShading},
                                               {ui_.Picture5, G::Lower}};
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
    // Copy puts the read-outs on the clipboard as text.
    on(menuItem(edit, "mnucopy", 139), [this] {
        const QString text = AnalyserReadoutText(*analyser_, ui_.Textcycle->text());
        if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    });
    on(menuItem(edit, "mnupaste", 140), &WavForm::pasteNew);

    QMenu* run = menu("mnurun", 141);
    on(menuItem(run, "mnuplay", 142, QKeySequence("Ctrl+P")), [this] {
        analyser_->EndStretch();
        ui_.WindowsMediaPlayer1->play();
    });
    on(menuItem(run, "mnuhalt", 143, QKeySequence("Ctrl+H")), [this] { ui_.WindowsMediaPlayer1->pause(); });
    on(menuItem(run, "mnustop", 144), [this] {
        analyser_->EndStretch();
        ui_.WindowsMediaPlayer1->stop();
    });
    on(menuItem(run, "mnuplayselection", 804, QKeySequence(Qt::Key_Space)), [this] { playStretch(false); });
    on(menuItem(run, "mnuloopselection", 805, QKeySequence(Qt::SHIFT | Qt::Key_Space)), [this] { playStretch(true); });
    LinkTool(menuItem(run, "mnurecord", 145, QKeySequence("Ctrl+R")), Tool::Recorder,
             [](FrameServices& f) { f.showRecorder(); });
    on(menuItem(run, "mnuwindowrecorder", 146), [] { platform::StartProgram("SoundRecorder.exe"); });
    LinkTool(menuItem(run, "mnulivesound", 720), Tool::LiveSound, [](FrameServices& f) { f.showLiveSound(); });
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
        {ui_.fileName, &d.fileNameText},         {ui_.size, &d.sizeText},
        {ui_.modified, &d.modifiedText},         {ui_.viewStartTicks, &d.viewStartTicksText},
        {ui_.totalSamples, &d.totalSamplesText}, {ui_.viewSamples, &d.viewSamplesText},
        {ui_.sampleRate, &d.sampleRateText},     {ui_.channels, &d.channelsText},
        {ui_.bits, &d.bitsText},                 {ui_.dataStart, &d.dataStartText},
        {ui_.blockAlign, &d.blockAlignText},     {ui_.dataSize, &d.dataSizeText},
        {ui_.duration, &d.durationText},         {ui_.totalDuration, &d.totalDurationText},
        {ui_.viewDuration, &d.viewDurationText}, {ui_.viewStartSample, &d.viewStartSampleText}};
    for (auto [label, text] : values) label->setText(*text);
    ui_.channels->setProperty("Tag", d.channelModeTag);
    ui_.dataStart->setProperty("Tag", d.columnTableBaseTag);
}

void WavForm::showAll()
{
    showDocument();
    showGraphs();
    showSelection();
    showViewScroll();
}

void WavForm::showGraphs()
{
    const GraphLayout& g = analyser_->layout();
    const int W = SoundAnalyser::GraphWidth;
    ui_.layout->resize(ui_.Picture2, W, g.upperHeight);
    ui_.Picture5->setVisible(g.lowerVisible);
    if (g.lowerVisible) ui_.layout->resize(ui_.Picture5, W, g.lowerHeight);
    for (PictureBox* box : {ui_.Picture3, ui_.Picture4})
        ui_.layout->resize(box, ui_.layout->twips(box).width(), g.upperHeight);
    for (PictureBox* box : {ui_.Picture6, ui_.Picture7})
        ui_.layout->resize(box, ui_.layout->twips(box).width(), g.lowerHeight);
    for (QFrame* line : {ui_.cursorLines[0], ui_.cursorLines[2]})
        ui_.layout->resize(line, 15, g.monoCursorHeight.value_or(g.upperHeight));
    for (QFrame* line : {ui_.cursorLines[1], ui_.cursorLines[3]}) ui_.layout->resize(line, 15, g.lowerHeight);
    ui_.amp->setProperty("Tag", g.ampTag);
    ui_.timeScale->setText(analyser_->timeScaleCaption());
    for (PictureBox* box : {ui_.Picture2, ui_.Picture4, ui_.Picture5, ui_.Picture7}) box->update();
    ui_.surface->update();
}

void WavForm::showSelection()
{
    const Selection& s = analyser_->selection();
    // The shading strips and their highlight copies, the same on both graphs.
    const std::pair<PictureBox*, PictureBox*> strips[] = {{ui_.Picture3, ui_.Picture4}, {ui_.Picture6, ui_.Picture7}};
    const SelectionShading shadings[] = {s.upperShading(), s.lowerShading()};
    for (int i = 0; i < 2; ++i) {
        auto [strip, copy] = strips[i];
        const SelectionShading& shading = shadings[i];
        const int height = ui_.layout->twips(i == 0 ? ui_.Picture2 : ui_.Picture5).height();
        ui_.layout->place(strip, int(std::lround(shading.left)), 0, int(std::lround(shading.width)), height);
        ui_.layout->place(copy, int(std::lround(shading.copyLeft())), 0, SoundAnalyser::GraphWidth, height);
        strip->setVisible(shading.visible && shading.width > 0);
        copy->setVisible(shading.copyVisible);
    }
    const SelectionReadout& r = s.readout();
    const QString* values[] = {&r.initialTime,   &r.finalTime,   &r.intervalTime,
                               &r.initialSample, &r.finalSample, &r.selectedSamples};
    for (size_t i = 0; i < 6; ++i) ui_.selectionValues[i]->setText(*values[i]);
    ui_.draggedCount->setText(s.draggedSampleCount());
    const Qt::CursorShape pointer = s.resizePointer() ? Qt::SizeHorCursor : Qt::ArrowCursor;
    ui_.Picture2->setCursor(pointer);
    ui_.Picture4->setCursor(pointer);
    if (!s.period().periodCaption().isEmpty()) ui_.period->setText(s.period().periodCaption());
    if (!s.period().frequencyCaption().isEmpty()) ui_.frequency->setText(s.period().frequencyCaption());

    const AmplitudeReadout& a = s.amplitude();
    ui_.amp->setText(a.caption());
    if (!a.toolTip().isEmpty()) ui_.amp->setToolTip(a.toolTip());
    ui_.amp->setVisible(a.readoutVisible());
    ui_.levels->setText(analyser_->levelsCaption());
    ui_.showampCheck->setChecked(a.showAmplitudeBoxChecked());
    ui_.showampCheck->setEnabled(a.showAmplitudeBoxEnabled());
    showAmpItem_->setChecked(a.showAmplitudeMenuChecked());
    equaliseItem_->setChecked(a.equaliseChecked());
}

bool WavForm::wheel(PictureBox* graph, QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    bool changed = false;
    if (event->modifiers() & Qt::ControlModifier) {
        // Zoom about the pointer; the highlight copy shares the graph's coordinates.
        const double x = graph->toTwips(event->position()).x();
        changed = analyser_->WheelZoom(x, delta.y() / 120.0);
    } else {
        // The wheel turned towards the user, or pushed right, moves on through the sound.
        const int along = delta.x() != 0 ? delta.x() : delta.y();
        changed = analyser_->WheelScroll(-along / 120.0);
    }
    if (changed) showAll();
    event->accept();
    return true;
}

void WavForm::showViewScroll()
{
    const ViewSpan span = analyser_->viewSpan();
    const std::int64_t total = document().loaded ? document().totalSamples() : 0;
    QScrollBar* bar = ui_.viewScroll;
    const QSignalBlocker quiet(bar);
    bar->setVisible(total > 0 && span.frames < total);
    bar->setRange(0, int(std::max<std::int64_t>(0, total - span.frames)));
    bar->setPageStep(int(std::max<std::int64_t>(1, span.frames)));
    bar->setSingleStep(int(std::max<std::int64_t>(1, span.frames / 10)));
    bar->setValue(int(span.start));
}

bool WavForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QAbstractButton*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) event->accept();
        return false;
    }
    if (event->type() == QEvent::Wheel) {
        for (PictureBox* graph : {ui_.Picture2, ui_.Picture4, ui_.Picture5})
            if (watched == graph) return wheel(graph, static_cast<QWheelEvent*>(event));
    }
    if (watched == ui_.amp && event->type() == QEvent::MouseButtonDblClick) {
        analyser_->AmpDoubleClick();
        showSelection();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void WavForm::InitStart()
{
    setWindowTitle(QString());
    PlaceChildWindow(this, QPoint(80, 50));
    analyser_->Reset();
    for (PictureBox* strip : {ui_.Picture3, ui_.Picture6}) ui_.layout->resize(strip, 0, ui_.layout->twips(strip).height());
    showDocument();
    showSelection();
    showViewScroll();
    for (PictureBox* box : {ui_.Picture2, ui_.Picture5, ui_.Picture4, ui_.Picture7}) box->update();
    ui_.surface->update();
}

void WavForm::LoadFileData(int windowNumber, const QString& fileName, int channelChoice)
{
    ui_.loadProblem->hide();
    InitStart();
    SoundDocument::LoadResult result;
    {
        BusyPointer busy;
        result = analyser_->Load(fileName, windowNumber, channelChoice);
    }
    setWindowTitle(document().caption);
    showDocument();
    if (!result.ok()) {
        // The design's one word, and beside it (kept after the reset) what is wrong.
        ui_.loadProblem->setText(LoadText(402) + ": " + result.detail);
        ui_.loadProblem->setToolTip(fileName);
        ui_.loadProblem->show();
        Prompts::Current().MsgBox("Error!!", MsgButtons::OK, QApplication::applicationName());
        InitStart();
        return;
    }
    showAll();
    const bool stereo = document().stereo();
    ui_.Frame2->setVisible(stereo);
    channelsMenu_->menuAction()->setEnabled(stereo);
    ui_.layout->resize(ui_.Frame1, ui_.layout->twips(ui_.Frame1).width(),
                      stereo ? AnalyserUi::SaveBoxStereoHeight : AnalyserUi::SaveBoxMonoHeight);
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
        showAll();
        break;
    }
    ui_.Picture2->setFocus();
}

void WavForm::Restore()
{
    BusyPointer busy;
    if (analyser_->Restore()) showAll();
    ui_.Picture2->setFocus();
}

void WavForm::saveImage()
{
    if (!ui_.Frame2->isHidden()) {
        const bool right = ui_.rightOption->isChecked();
        const bool left = ui_.leftOption->isChecked();
        const bool both = !right && !left;
        if (left || both) SavePictureAs(ui_.Picture2->picture(), LoadText(406));
        if (right || both) SavePictureAs(ui_.Picture5->picture(), LoadText(407));
    } else {
        SavePictureAs(ui_.Picture2->picture(), LoadText(408));
    }
}

void WavForm::openOther()
{
    QString path = AskForSoundFile(FrameServices::Dialog());
    if (path.isEmpty()) return;
    if (FrameServices* frame = FrameServices::Instance()) frame->noteOpened(path);
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
