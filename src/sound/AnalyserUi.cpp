#include "sound/AnalyserUi.h"

#include "platform/ui/ControlTable.h"
#include "platform/video/MediaPlayer.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/TwipLayout.h"
#include "sound/GraphWave.h"
#include "sound/SoundAnalyser.h"
#include "text/LoadText.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

namespace {
constexpr int kGraphHeight = GraphWave::StereoBoxHeight;
}

void AnalyserUi::Build(QMainWindow* window)
{
    surface = new PictureBox(window);
    surface->setObjectName("WavFormSurface");
    surface->surface().Resize(Design.width(), Design.height());
    surface->surface().SetBackColor(window->palette().color(QPalette::Window));
    window->setCentralWidget(surface);
    layout = new TwipLayout(surface, Design);

    using R = ControlRow;
    const int W = SoundAnalyser::GraphWidth;
    const QRect hidden(0, 0, 15, 15);
    BuildControls(surface, *layout, {
        // File values above the graph; the time scale's ticks stand between them and the graph.
        {"Label1", &fileName, {300, 20, 6600, 225}},
        {"Label2", &size, {7000, 20, 3900, 225}},
        {"Label3", &modified, {7000, 230, 3900, 225}},
        {"Label14", &duration, {300, 230, 3000, 225}},
        {"timescalelabel", &timeScale, {3500, 230, 2600, 225}, 522},
        // The graph container, its two graphs, their selection strips and highlight copies.
        {"Picture1", &Picture1, SoundAnalyser::Container, 0, nullptr, R::Sunken},
        {"Picture2", &Picture2, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture1},
        {"Picture3", &Picture3, {0, 0, 0, kGraphHeight}, 0, (QWidget**)&Picture2},
        {"Picture4", &Picture4, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture3},
        {"Picture5", &Picture5, {0, SoundAnalyser::LowerGraphTop, W, kGraphHeight}, 0, (QWidget**)&Picture1},
        {"Picture6", &Picture6, {0, 0, 0, kGraphHeight}, 0, (QWidget**)&Picture5},
        {"Picture7", &Picture7, {0, 0, W, kGraphHeight}, 0, (QWidget**)&Picture6},
        // The play cursor: one line in each graph and in each highlight copy, at the same x.
        {"Line1", &cursorLines[0], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture2, R::VerticalLine | R::Hidden},
        {"Line2", &cursorLines[1], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture5, R::VerticalLine | R::Hidden},
        {"Line3", &cursorLines[2], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture4, R::VerticalLine | R::Hidden},
        {"Line4", &cursorLines[3], {0, 0, 15, kGraphHeight}, 0, (QWidget**)&Picture7, R::VerticalLine | R::Hidden},
        // The sound's values.
        {"Label7", Caption, {300, 4600, 1900, 225}, 526},
        {"Label8", &sampleRate, {2200, 4600, 1300, 225}},
        {"Label5", Caption, {300, 4850, 1900, 225}, 539},
        {"Label6_0", &totalSamples, {2200, 4850, 1300, 225}},
        {"Label10", &bits, {300, 5100, 900, 225}},
        {"Label9", &channels, {1300, 5100, 900, 225}},
        {"Label12", &blockAlign, {2200, 5100, 300, 225}},
        {"Label13", &dataSize, {2500, 5100, 1150, 225}},
        // Labels that only hold values for the view and the selection.
        {"Label4", &viewStartTicks, hidden, 0, nullptr, R::Hidden},
        {"Label6_1", &viewSamples, hidden, 0, nullptr, R::Hidden},
        {"Label11", &dataStart, hidden, 0, nullptr, R::Hidden},
        {"Label15_0", &totalDuration, hidden, 0, nullptr, R::Hidden},
        {"Label15_1", &viewDuration, hidden, 0, nullptr, R::Hidden},
        {"Label17", &viewStartSample, hidden, 0, nullptr, R::Hidden},
        {"Label19", &draggedCount, hidden, 0, nullptr, R::Hidden},
        // The selection read-out grid.
        {"Label16_8", Caption, {3700, 4600, 3500, 225}, 528},
        {"Label16_11", Caption, {4480, 4850, 1160, 225}, 525},
        {"Label16_7", Caption, {5660, 4850, 1160, 225}, 183},
        {"Label16_9", Caption, {6840, 4850, 1160, 225}, 184},
        {"Label16_0", Caption, {3700, 5100, 780, 225}, 186},
        {"Label16_10", Caption, {3700, 5350, 780, 225}, 185},
        {"Label16_1", &selectionValues[0], {4480, 5100, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label16_2", &selectionValues[1], {5660, 5100, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label16_3", &selectionValues[2], {6840, 5100, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label16_4", &selectionValues[3], {4480, 5350, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label16_5", &selectionValues[4], {5660, 5350, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label16_6", &selectionValues[5], {6840, 5350, 1160, 225}, 0, nullptr, R::Sunken},
        {"Label23", Caption, {3700, 5700, 1500, 225}, 521},
        {"Textcycle", &Textcycle, {5250, 5670, 800, 285}},
        {"Labelperiod", &period, {3700, 6000, 3500, 225}, 519},
        {"Labelfrequency", &frequency, {3700, 6250, 3500, 225}},
        {"showampCheck", &showampCheck, {3700, 6550, 1100, 285}, 425},
        {"amp", &amp, {4850, 6550, 1500, 285}, 0, nullptr, R::Sunken},
        {"lblLevels", &levels, {300, 7290, 6600, 240}},
        {"lblLoadProblem", &loadProblem, {300, 230, 6600, 225}, 0, nullptr, R::Hidden},
        {"Label18", Caption, {300, 5450, 1900, 225}, 507, nullptr, R::Hidden},
        // Saving and the channel choice.
        {"Frame1", &Frame1, {8040, 4550, 2960, SaveBoxMonoHeight}, 506},
        {"Label20", Caption, {120, 250, 2720, 225}, 527, (QWidget**)&Frame1},
        {"savewholeaudio", &saveWholeButton, {120, 500, 1100, 345}, 173, (QWidget**)&Frame1},
        {"saveselectedaudio", &saveSelectedButton, {1260, 500, 1580, 345}, 174, (QWidget**)&Frame1},
        {"Frame2", &Frame2, {50, 900, 2860, 760}, 176, (QWidget**)&Frame1, R::Hidden},
        {"Option1", &bothOption, {40, 330, 930, 300}, 161, (QWidget**)&Frame2},
        {"Option2", &rightOption, {970, 330, 930, 300}, 163, (QWidget**)&Frame2},
        {"Option3", &leftOption, {1900, 330, 930, 300}, 162, (QWidget**)&Frame2},
        // Editing, playback and the level.
        {"Command5", &pasteButton, {300, 5750, 2400, 345}, 175},
        {"Command6", &zoomButton, {300, 6150, 1150, 345}, 137},
        {"Command7", &restoreButton, {1550, 6150, 1150, 345}, 195},
        {"Command8", &cancelButton, {300, 6550, 1150, 345}, 252},
        {"record", &recordButton, {1550, 6550, 1150, 345}, 145},
        {"Command1", &playButton, {7400, 6450, 800, 345}, 511},
        {"Command2", &haltButton, {8250, 6450, 800, 345}, 509},
        {"Command3", &stopButton, {9100, 6450, 800, 345}, 510},
        {"Command4", &continueButton, {9950, 6450, 850, 345}, 508},
        {"Command9", &loopButton, {7400, 6850, 800, 345}, 505},
        {"Slider1", &Slider1, {8250, 6870, 2550, 300}},
        {"Label21", Caption, {300, 7000, 1750, 225}, 524},
        {"Text1", &Text1, {2050, 6970, 900, 285}},
        {"Label22", Caption, {3050, 7000, 1550, 225}, 523},
        {"Text2", &Text2, {4600, 6970, 1000, 285}},
        {"Closebutton", &closeButton, {9950, 7050, 850, 345}, 134},
    });
    for (QLineEdit* edit : {Textcycle, Text1, Text2}) edit->setText("0");
    bothOption->setChecked(true);
    Slider1->setRange(-50, 100);
    Slider1->setValue(0);
    Picture2->setFocusPolicy(Qt::StrongFocus);
    blockAlign->setToolTip("Block align");
    dataSize->setToolTip("Data size");
    frequency->setText(LoadText(193) + "= ");
    Textcycle->setToolTip(LoadText(422));
    period->setToolTip(LoadText(520));
    frequency->setToolTip(LoadText(518));
    amp->setToolTip(LoadText(517));
    showampCheck->setToolTip(LoadText(421));
    Slider1->setToolTip(LoadText(423));
    levels->setToolTip(LoadText(803));
    loadProblem->setStyleSheet("color: #c00000");
    // Under the graphs, shown while the view is a part of the sound.
    viewScroll = new QScrollBar(Qt::Horizontal, surface);
    viewScroll->setObjectName("hsbView");
    viewScroll->hide();
    layout->place(viewScroll, SoundAnalyser::Container.left(), SoundAnalyser::Container.bottom() + 1,
                  SoundAnalyser::Container.width(), 120);
    Timer1 = new QTimer(window);
    Timer1->setObjectName("Timer1");
    WindowsMediaPlayer1 = new MediaPlayer(surface);
    WindowsMediaPlayer1->setObjectName("WindowsMediaPlayer1");
    layout->place(WindowsMediaPlayer1, 5600, 6940, 1700, 450);
}

void AnalyserUi::BuildMenus(QMainWindow* window)
{
    QMenu* menu = nullptr;
    auto bar = [&](const char* name, int text) {
        menu = window->menuBar()->addMenu(LoadText(text));
        menu->setObjectName(name);
    };
    auto item = [&](const char* name, int text, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(LoadText(text));
        a->setObjectName(name);
        if (!key.isEmpty()) {
            // The window's own shortcuts: active while the focus is anywhere in this window, so
            // two analyser windows do not compete for them.
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            // Ctrl+O stays the frame's, which hands it to the active window's Open: two live
            // shortcuts for one key would cancel each other.
            if (key != QKeySequence(QKeySequence::Open)) window->addAction(a);
        }
        return a;
    };
    bar("mnufile", 101);
    mnuopen = item("mnuopen", 129, QKeySequence("Ctrl+O"));
    mnuaudiosavewhole = item("mnuaudiosavewhole", 535);
    mnuaudiosaveselected = item("mnuaudiosaveselected", 536);
    mnuimagesavewhole = item("mnuimagesavewhole", 537);
    item("mnuimagesaveselected", 538);
    mnuclose = item("mnuclose", 134);
    mnuexit = item("mnuexit", 206);
    bar("mnuedit", 136);
    mnuzoom = item("mnuzoom", 137);
    mnurestore = item("mnurestore", 138);
    mnucopy = item("mnucopy", 139);
    mnupaste = item("mnupaste", 140);
    bar("mnurun", 141);
    mnuplay = item("mnuplay", 142, QKeySequence("Ctrl+P"));
    mnuhalt = item("mnuhalt", 143, QKeySequence("Ctrl+H"));
    mnustop = item("mnustop", 144);
    mnuplayselection = item("mnuplayselection", 804, QKeySequence(Qt::Key_Space));
    mnuloopselection = item("mnuloopselection", 805, QKeySequence(Qt::SHIFT | Qt::Key_Space));
    mnurecord = item("mnurecord", 145, QKeySequence("Ctrl+R"));
    mnuwindowrecorder = item("mnuwindowrecorder", 146);
    mnulivesound = item("mnulivesound", 720);
    mnufft = item("mnufft", 147, QKeySequence("Ctrl+A"));
    menu->addSeparator()->setObjectName("mnurunspace1");
    mnugrabvideo = item("mnugrabvideo", 148);
    mnuplayvideo = item("mnuplayvideo", 149);
    mnuimageprocessor = item("mnuimageprocessor", 540);
    bar("mnusettings", 156);
    mnuvolumecontrol = item("mnuvolumecontrol", 157);
    mnuequaliseamp = item("mnuequaliseamp", 158);
    mnuequaliseamp->setCheckable(true);
    mnushowamp = item("mnushowamp", 159);
    mnushowamp->setCheckable(true);
    mnuaudiochannels = menu->addMenu(LoadText(541));
    mnuaudiochannels->setObjectName("mnuaudiochannels");
    mnuaudiochannels->menuAction()->setObjectName("mnuaudiochannels");
    menu = mnuaudiochannels;
    item("mnuboth", 542);
    item("mnuleft", 543);
    item("mnuright", 544);
    bar("mnuwindows", 164);
    mnunormal = item("mnunormal", 545);
    mnumaximum = item("mnumaximum", 560);
    bar("mnuhelp", 167);
    mnuabout = item("mnuabout", 168);
}

AnalyserCanvas AnalyserUi::Canvas() const
{
    const QPalette& colours = surface->palette();
    return {Picture2->surface(), Picture4->surface(), Picture5->surface(), Picture7->surface(),
            surface->surface(), colours.color(QPalette::Window), colours.color(QPalette::Button),
            colours.color(QPalette::WindowText)};
}
