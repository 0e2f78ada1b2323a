// The sound analyser window: its controls wired to the analyser, the menus, what the analyser
// holds shown in the controls, playback through the media player, and export.
#include "sound/WavForm.h"

#include "imaging/file/SavePictureAs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/ChildWindow.h"
#include "platform/ui/CommonDialog.h"
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
#include "sound/AnalyserView.h"
#include "sound/ExportName.h"
#include "sound/OpenSoundWindow.h"
#include "text/LoadText.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
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
    connect(ui_.saveWholeButton, &QPushButton::clicked, this, [this] { saveExport(false); });
    connect(ui_.saveSelectedButton, &QPushButton::clicked, this, [this] { saveExport(true); });
    connect(ui_.pasteButton, &QPushButton::clicked, this, &WavForm::pasteNew);
    connect(ui_.closeButton, &QPushButton::clicked, this, &WavForm::closeWindow);
    LinkTool(ui_.recordButton, FrameServices::Tool::Recorder, [](FrameServices& f) { f.showRecorder(); });
    connect(ui_.showampCheck, &QCheckBox::clicked, this, [this](bool ticked) {
        analyser_->ShowAmplitudeBoxClicked(ticked);
        present(Show::Selection);
    });
    connect(ui_.cancelButton, &QPushButton::clicked, this, [this] {
        analyser_->Cancel();
        ui_.Picture2->setFocus();
        present(Show::Selection);
    });
    connect(ui_.Textcycle, &QLineEdit::textChanged, this, [this](const QString& text) {
        analyser_->CycleCountChanged(text);
        present(Show::Selection);
    });
    ui_.amp->installEventFilter(this);
    for (PictureBox* graph : {ui_.Picture2, ui_.Picture4, ui_.Picture5}) graph->installEventFilter(this);
    // Space on a focused button or box still presses it, as before Space played the selection.
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->installEventFilter(this);
    connect(ui_.viewScroll, &QScrollBar::valueChanged, this, [this](int value) {
        ViewSpan span = analyser_->viewSpan();
        span.start = value;
        if (analyser_->ShowView(span)) present(Show::All);
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
            present(Show::Selection);
        };
        connect(box, &PictureBox::mousePressed, this,
                [send](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { send(E::Press, b, p); });
        connect(box, &PictureBox::mouseMoved, this,
                [send](Qt::MouseButtons b, Qt::KeyboardModifiers, QPointF p) { send(E::Move, b, p); });
        connect(box, &PictureBox::mouseReleased, this,
                [send](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { send(E::Release, b, p); });
    }
}

void WavForm::buildMenus()
{
    ui_.BuildMenus(this);
    using Tool = FrameServices::Tool;
    auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };
    on(ui_.mnuopen, &WavForm::openOther);
    on(ui_.mnuaudiosavewhole, [this] { saveExport(false); });
    on(ui_.mnuaudiosaveselected, [this] { saveExport(true); });
    on(ui_.mnuimagesavewhole, &WavForm::saveImage);
    on(ui_.mnuclose, &WavForm::closeWindow);
    on(ui_.mnuexit, &WavForm::exitProgram);
    on(ui_.mnuzoom, &WavForm::Zoom);
    on(ui_.mnurestore, &WavForm::Restore);
    // Copy puts the read-outs on the clipboard as text.
    on(ui_.mnucopy, [this] {
        const QString text = AnalyserReadoutText(*analyser_, ui_.Textcycle->text());
        if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    });
    on(ui_.mnupaste, &WavForm::pasteNew);
    on(ui_.mnuplay, [this] {
        analyser_->EndStretch();
        ui_.WindowsMediaPlayer1->play();
    });
    on(ui_.mnuhalt, [this] { ui_.WindowsMediaPlayer1->pause(); });
    on(ui_.mnustop, [this] {
        analyser_->EndStretch();
        ui_.WindowsMediaPlayer1->stop();
    });
    on(ui_.mnuplayselection, [this] { playStretch(false); });
    on(ui_.mnuloopselection, [this] { playStretch(true); });
    LinkTool(ui_.mnurecord, Tool::Recorder, [](FrameServices& f) { f.showRecorder(); });
    on(ui_.mnuwindowrecorder, [] { platform::StartProgram("SoundRecorder.exe"); });
    LinkTool(ui_.mnulivesound, Tool::LiveSound, [](FrameServices& f) { f.showLiveSound(); });
    LinkTool(ui_.mnufft, Tool::Spectrum, [this](FrameServices& f) {
        f.showSpectrum(document().windowNumber, document().samplesFile, windowTitle());
    });
    LinkTool(ui_.mnugrabvideo, Tool::Capture, [](FrameServices& f) { f.showCapture(); });
    LinkTool(ui_.mnuplayvideo, Tool::VideoWindow, [](FrameServices& f) { f.openVideoWindow(QString()); });
    LinkTool(ui_.mnuimageprocessor, Tool::ImageProcessor, [](FrameServices& f) { f.showImageProcessor(); });
    on(ui_.mnuvolumecontrol, [] { platform::StartProgram("sndvol.exe"); });
    // The amplitude switches are the frame's options too.
    on(ui_.mnuequaliseamp, [this] {
        const bool checked = analyser_->EqualiseMenuClicked();
        if (FrameServices* frame = FrameServices::Instance()) frame->setEqualiseAmplitude(checked);
        present(Show::Selection);
    });
    on(ui_.mnushowamp, [this] {
        const bool checked = analyser_->ShowAmplitudeMenuClicked();
        if (FrameServices* frame = FrameServices::Instance()) frame->setShowAmplitude(checked);
        present(Show::Selection);
    });
    on(ui_.mnunormal, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showNormal();
    });
    on(ui_.mnumaximum, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMaximized();
    });
    LinkTool(ui_.mnuabout, Tool::About, [](FrameServices& f) { f.showAbout(); });
}

void WavForm::present(Show what)
{
    const AnalyserView v = ViewOfAnalyser(*analyser_);
    QLabel* const values[] = {ui_.fileName,     ui_.size,       ui_.modified,   ui_.viewStartTicks,
                              ui_.totalSamples, ui_.viewSamples, ui_.sampleRate, ui_.channels,
                              ui_.bits,         ui_.dataStart,  ui_.blockAlign, ui_.dataSize,
                              ui_.duration,     ui_.totalDuration, ui_.viewDuration, ui_.viewStartSample};
    for (std::size_t i = 0; i < v.values.size(); ++i) values[i]->setText(v.values[i]);
    ui_.channels->setProperty("Tag", v.channelsTag);
    ui_.dataStart->setProperty("Tag", v.dataStartTag);
    if (what == Show::All) {
        TwipLayout& l = *ui_.layout;
        l.resize(ui_.Picture2, SoundAnalyser::GraphWidth, v.upperHeight);
        ui_.Picture5->setVisible(v.lowerVisible);
        if (v.lowerVisible) l.resize(ui_.Picture5, SoundAnalyser::GraphWidth, v.lowerHeight);
        for (PictureBox* box : {ui_.Picture3, ui_.Picture4}) l.resize(box, l.twips(box).width(), v.upperHeight);
        for (PictureBox* box : {ui_.Picture6, ui_.Picture7}) l.resize(box, l.twips(box).width(), v.lowerHeight);
        for (QFrame* line : {ui_.cursorLines[0], ui_.cursorLines[2]}) l.resize(line, 15, v.upperCursorHeight);
        for (QFrame* line : {ui_.cursorLines[1], ui_.cursorLines[3]}) l.resize(line, 15, v.lowerHeight);
        ui_.amp->setProperty("Tag", v.ampTag);
        ui_.timeScale->setText(v.timeScale);
    }
    // The shading strips and their highlight copies, the same on both graphs.
    const std::pair<PictureBox*, PictureBox*> strips[] = {{ui_.Picture3, ui_.Picture4}, {ui_.Picture6, ui_.Picture7}};
    for (int i = 0; i < 2; ++i) {
        auto [strip, copy] = strips[i];
        const AnalyserView::Strip& s = v.strips[std::size_t(i)];
        const int height = ui_.layout->twips(i == 0 ? ui_.Picture2 : ui_.Picture5).height();
        ui_.layout->place(strip, s.left, 0, s.width, height);
        ui_.layout->place(copy, s.copyLeft, 0, SoundAnalyser::GraphWidth, height);
        strip->setVisible(s.visible);
        copy->setVisible(s.copyVisible);
    }
    for (std::size_t i = 0; i < 6; ++i) ui_.selectionValues[i]->setText(v.readout[i]);
    ui_.draggedCount->setText(v.draggedCount);
    const Qt::CursorShape pointer = v.resizePointer ? Qt::SizeHorCursor : Qt::ArrowCursor;
    ui_.Picture2->setCursor(pointer);
    ui_.Picture4->setCursor(pointer);
    if (!v.period.isEmpty()) ui_.period->setText(v.period);
    if (!v.frequency.isEmpty()) ui_.frequency->setText(v.frequency);
    ui_.amp->setText(v.amp);
    if (!v.ampToolTip.isEmpty()) ui_.amp->setToolTip(v.ampToolTip);
    ui_.amp->setVisible(v.ampVisible);
    ui_.levels->setText(v.levels);
    ui_.showampCheck->setChecked(v.showAmpChecked);
    ui_.showampCheck->setEnabled(v.showAmpEnabled);
    ui_.mnushowamp->setChecked(v.showAmpMenuChecked);
    ui_.mnuequaliseamp->setChecked(v.equaliseChecked);
    if (what != Show::Selection) {
        QScrollBar* bar = ui_.viewScroll;
        const QSignalBlocker quiet(bar);
        bar->setVisible(v.scrollVisible);
        bar->setRange(0, v.scrollMaximum);
        bar->setPageStep(v.scrollPage);
        bar->setSingleStep(v.scrollStep);
        bar->setValue(v.scrollValue);
    }
    if (what != Show::Selection) {
        for (PictureBox* box : {ui_.Picture2, ui_.Picture4, ui_.Picture5, ui_.Picture7}) box->update();
        ui_.surface->update();
    }
}

bool WavForm::wheel(PictureBox* graph, QWheelEvent* event)
{
    // The highlight copy shares the graph's coordinates.
    const QPoint delta = event->angleDelta();
    if (analyser_->WheelTurned(graph->toTwips(event->position()).x(), delta.x(), delta.y(),
                               event->modifiers() & Qt::ControlModifier))
        present(Show::All);
    event->accept();
    return true;
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
        present(Show::Selection);
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
    present(Show::Reset);
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
    present(Show::Selection);
    if (!result.ok()) {
        // The design's one word, and beside it (kept after the reset) what is wrong.
        ui_.loadProblem->setText(LoadText(402) + ": " + result.detail);
        ui_.loadProblem->setToolTip(fileName);
        ui_.loadProblem->show();
        Prompts::Current().MsgBox("Error!!", MsgButtons::OK, QApplication::applicationName());
        InitStart();
        return;
    }
    present(Show::All);
    const bool stereo = document().stereo();
    ui_.Frame2->setVisible(stereo);
    ui_.mnuaudiochannels->menuAction()->setEnabled(stereo);
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
        present(Show::All);
        break;
    }
    ui_.Picture2->setFocus();
}

void WavForm::Restore()
{
    BusyPointer busy;
    if (analyser_->Restore()) present(Show::All);
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

// Playback: the play buttons, the media player, and the play cursor that follows the sound over
// the graph with the time and sample read-outs. The analyser decides; the player obeys.
void WavForm::connectPlayback()
{
    // The cursor is refreshed about as often as the screen is, while the sound plays: a window
    // that shows a sound costs nothing at rest.
    ui_.Timer1->setInterval(16);
    MediaPlayer* player = ui_.WindowsMediaPlayer1;
    connect(ui_.Timer1, &QTimer::timeout, this, [this, player] {
        if (player->Visible()) obey(analyser_->PlayerTick(player->currentPosition()));
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
    connect(ui_.playButton, &QPushButton::clicked, this, [this] { obey(analyser_->PlayPressed(false)); });
    connect(ui_.loopButton, &QPushButton::clicked, this, [this] { obey(analyser_->PlayPressed(true)); });
    connect(ui_.continueButton, &QPushButton::clicked, this, [this] { obey(analyser_->ContinuePressed()); });
    connect(ui_.haltButton, &QPushButton::clicked, this, [this] { obey(analyser_->HaltPressed()); });
    connect(ui_.stopButton, &QPushButton::clicked, this, [this] { obey(analyser_->StopPressed()); });
}

void WavForm::playStretch(bool loop)
{
    MediaPlayer* player = ui_.WindowsMediaPlayer1;
    obey(analyser_->PlaySelectionPressed(loop, player->playState() == MediaPlayer::Playing, !player->URL().isEmpty()));
}

void WavForm::obey(const PlayerOrder& order)
{
    MediaPlayer* player = ui_.WindowsMediaPlayer1;
    if (order.focusGraph) ui_.Picture2->setFocus();
    if (order.url) player->setURL(*order.url);
    if (order.pause) player->pause();
    if (order.seek) player->setCurrentPosition(*order.seek);
    if (order.play) player->play();
    if (order.playButtons) {
        ui_.playButton->setEnabled(*order.playButtons);
        ui_.continueButton->setEnabled(*order.playButtons);
    }
    if (order.showCursor) showCursor();
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

// Export: the whole sound or the selected clip saved under a name the dialog asks for, and the
// clip pasted into a new window.
void WavForm::saveExport(bool selected)
{
    if (selected && !selectionReady("No Selection Made!")) return;
    CommonDialog& dialog = FrameServices::Dialog();
    const ChannelChoice channel = channelChoice();
    if (selected) dialog.DialogTitle = analyser_->clipSaveTitle(channel);
    const std::optional<ExportName> name = analyser_->AskExportName(dialog);
    if (!name) return;
    BusyPointer busy;
    const Outcome saved = selected ? analyser_->SaveSelected(*name, channel, AskThroughPrompts())
                                   : analyser_->SaveWhole(*name, AskThroughPrompts());
    if (!saved.ok) return ReportFailure(saved);
    setWindowTitle(analyser_->savedCaption());
    ui_.fileName->setText(document().fileNameText);
    Tag = "saved";
}

ChannelChoice WavForm::channelChoice() const
{
    return analyser_->ChannelOf(ui_.leftOption->isChecked(), ui_.rightOption->isChecked());
}

bool WavForm::selectionReady(const QString& noSelection)
{
    if (!analyser_->ready()) {
        ui_.Picture2->setFocus();
        return false;
    }
    if (!analyser_->hasSelection())
        Prompts::Current().MsgBox(noSelection, MsgButtons::OK, QApplication::applicationName());
    return analyser_->hasSelection();
}

void WavForm::pasteNew()
{
    if (!selectionReady(LoadText(607))) return;
    BusyPointer busy;
    const SoundAnalyser::Pasted pasted = analyser_->PasteNew(SoundWindowCounter() + 1, ui_.Slider1->value(), channelChoice());
    if (!pasted.outcome.ok) return ReportFailure(pasted.outcome);
    OpenSoundWindow(pasted.path, pasted.channelChoice);
}
