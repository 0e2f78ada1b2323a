#include "recorder/frmSettings.h"

#include "platform/ui/BusyPointer.h"
#include "platform/ui/FrameServices.h"
#include "recorder/mci/MediaControl.h"
#include "platform/system/Process.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/ToolLinks.h"
#include "platform/ui/TwipLayout.h"
#include "recorder/RecordingDevice.h"
#include "recorder/RecordingNames.h"
#include "recorder/modWave.h"
#include "text/LoadText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {
QPointer<frmSettings> g_window;

// Flags of the recorder's file dialogs, as designed: overwrite confirmation among them.
constexpr long kDialogFlags = 1026;
constexpr int kButtonHeight = 420;

// Texts keep their CRLF line ends; a label shows plain line breaks.
QString shown(QString text) { return text.replace("\r\n", "\n"); }
}

frmSettings::frmSettings(QWidget* parent)
    : QWidget(parent),
      session_(modWave::Module(), [] { return QDateTime::currentDateTime(); }, [] { return MusicFolder(); })
{
    setObjectName("frmSettings");
    setWindowTitle(LoadText(333));
    if (FrameServices* frame = FrameServices::Instance(); frame && frame->frameWindow())
        setWindowIcon(frame->frameWindow()->windowIcon());
    layout_ = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    resize(layout_->normalPixelSize());
    build();
    Timer2.setParent(this);   // found by its name, as every control
    Timer2.setObjectName("Timer2");
    Timer2.setInterval(RecorderSession::CheckIntervalMs);

    session_.wave().tell = [this](const Outcome& message) { messages_ << message; };
    // The announcement of a MIDI file is answered before the recording starts.
    session_.wave().announce = [this](const Outcome& message) {
        messages_ << message;
        showMessages();
    };
    connect(&MediaControl::Current(), &MediaControl::recordingHalted, this,
            [this](const QString& alias, MediaControl::Halt why) {
                if (alias == "capture") run([&] { session_.Halted(why); });
            });
    connectControls();
    run([this] { session_.Load(); });
}

frmSettings::~frmSettings()
{
    if (g_window == this) g_window = nullptr;
    session_.wave().tell = nullptr;
    session_.wave().announce = nullptr;
}

frmSettings* frmSettings::Instance()
{
    if (!g_window) {
        InstallRecordingDevice();
        g_window = new frmSettings;
        if (FrameServices* frame = FrameServices::Instance()) {
            if (QMdiSubWindow* sub = frame->addChild(g_window))
                sub->resize(sub->sizeHint().expandedTo(g_window->layout_->normalPixelSize() + QSize(12, 40)));
        }
    }
    return g_window;
}

QPushButton* frmSettings::button(const char* name, int text, int tip, int left, int top, int width)
{
    auto* b = new QPushButton(LoadText(text), this);
    b->setObjectName(name);
    if (tip) b->setToolTip(LoadText(tip));
    layout_->place(b, left, top, width, kButtonHeight);
    return b;
}

QGroupBox* frmSettings::frame(const char* name, int text, int left, int top, int width, int height)
{
    auto* box = new QGroupBox(LoadText(text), this);
    box->setObjectName(name);
    layout_->place(box, left, top, width, height);
    return box;
}

QRadioButton* frmSettings::option(QGroupBox* frame, const char* name, const QString& caption, int top)
{
    auto* o = new QRadioButton(caption, frame);
    o->setObjectName(name);
    layout_->place(o, 150, top, 2100, 300);
    return o;
}

void frmSettings::build()
{
    Frame1_ = frame("Frame1", 577, 120, 120, 2400, 2040);
    optRate6000_ = option(Frame1_, "optRate6000", "6000", 300);
    optRate8000_ = option(Frame1_, "optRate8000", "8000", 630);
    optRate11025_ = option(Frame1_, "optRate11025", "11025", 960);
    optRate22050_ = option(Frame1_, "optRate22050", "22050", 1290);
    optRate44100_ = option(Frame1_, "optRate44100", "44100", 1620);
    Frame2_ = frame("Frame2", 347, 120, 2250, 2400, 1050);
    optMono_ = option(Frame2_, "optMono", LoadText(401), 300);
    optStereo_ = option(Frame2_, "optStereo", LoadText(400), 630);
    Frame3_ = frame("Frame3", 360, 120, 3390, 2400, 1050);
    opt8bits_ = option(Frame3_, "opt8bits", LoadText(579), 300);
    opt16bits_ = option(Frame3_, "opt16bits", LoadText(578), 630);

    Frame6_ = frame("Frame6", 335, 2640, 120, 3600, 1050);
    optRecordImmediate_ = option(Frame6_, "optRecordImmediate", LoadText(336), 300);
    optRecordProgrammed_ = option(Frame6_, "optRecordProgrammed", LoadText(337), 630);
    layout_->resize(optRecordImmediate_, 3300, 300);
    layout_->resize(optRecordProgrammed_, 3300, 300);
    frmTimes_ = frame("frmTimes", 338, 2640, 1260, 3600, 840);
    cmdStartTime_ = new QPushButton(LoadText(339), frmTimes_);
    cmdStartTime_->setObjectName("cmdStartTime");
    layout_->place(cmdStartTime_, 150, 330, 1575, 390);
    cmdStopTime_ = new QPushButton(LoadText(341), frmTimes_);
    cmdStopTime_->setObjectName("cmdStopTime");
    layout_->place(cmdStopTime_, 1875, 330, 1575, 390);
    frmManualAuto_ = frame("frmManualAuto", 581, 2640, 2190, 3600, 1200);
    cmdFileName_ = new QPushButton(LoadText(580), frmManualAuto_);
    cmdFileName_->setObjectName("cmdFileName");
    layout_->place(cmdFileName_, 150, 330, 1200, 390);
    Option10_ = option(frmManualAuto_, "Option10", LoadText(344), 300);
    Option11_ = option(frmManualAuto_, "Option11", LoadText(345), 660);
    layout_->place(Option10_, 1500, 300, 1950, 300);
    layout_->place(Option11_, 1500, 660, 1950, 300);
    lblTimes_ = new QLabel(this);
    lblTimes_->setObjectName("lblTimes");
    lblTimes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout_->place(lblTimes_, 2640, 3480, 3600, 900);

    cmdRecord_ = button("cmdRecord", 576, 469, 6360, 120, 2520);
    cmdstop_ = button("cmdstop", 510, 470, 6360, 630, 2520);
    cmdPlay_ = button("cmdPlay", 511, 471, 6360, 1140, 2520);
    cmdSave_ = button("cmdSave", 355, 472, 6360, 1650, 2520);
    cmdreset_ = button("cmdreset", 351, 473, 6360, 2160, 2520);
    cmdSettings_ = button("cmdSettings", 358, 474, 6360, 2670, 2520);
    Volumecontrol_ = button("Volumecontrol", 350, 0, 6360, 3180, 2520);
    waveform_ = button("waveform", 359, 0, 6360, 3690, 2520);
    cmdLiveSound_ = button("cmdLiveSound", 720, 0, 6360, 4125, 2520);

    StatisticsLabel_ = new QLabel(this);
    StatisticsLabel_->setObjectName("StatisticsLabel");
    StatisticsLabel_->setToolTip(LoadText(475));
    StatisticsLabel_->setFrameShape(QFrame::StyledPanel);
    StatisticsLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    StatisticsLabel_->setMargin(4);
    StatisticsLabel_->setWordWrap(true);
    layout_->place(StatisticsLabel_, 120, 4560, 8760, 1860);

    cmdMidi_ = button("cmdMidi", 356, 0, 120, 6540, 4200);
    cmdOke_ = button("cmdOke", 357, 0, 7560, 6540, 1320);
}

void frmSettings::connectControls()
{
    struct Rate {
        QRadioButton* option;
        std::int32_t rate;
    };
    for (Rate r : {Rate{optRate6000_, 6000}, Rate{optRate8000_, 8000}, Rate{optRate11025_, 11025},
                   Rate{optRate22050_, 22050}, Rate{optRate44100_, 44100}})
        connect(r.option, &QRadioButton::toggled, this, [this, r](bool on) {
            if (on && !applying_) session_.ChooseRate(r.rate);
        });
    auto choose = [this](QRadioButton* o, auto&& chosen) {
        connect(o, &QRadioButton::toggled, this, [this, chosen](bool on) {
            if (on && !applying_) chosen();
        });
    };
    choose(optMono_, [this] { session_.ChooseChannels(1); });
    choose(optStereo_, [this] { session_.ChooseChannels(2); });
    choose(opt8bits_, [this] { session_.ChooseBits(8); });
    choose(opt16bits_, [this] { session_.ChooseBits(16); });
    choose(Option10_, [this] { session_.ChooseAutoSave(false); });
    choose(Option11_, [this] { session_.ChooseAutoSave(true); });
    choose(optRecordImmediate_, [this] { run([this] { session_.ChooseManual(); }); });
    choose(optRecordProgrammed_, [this] { run([this] { session_.ChooseProgrammed(); }); });

    connect(cmdRecord_, &QPushButton::clicked, this, [this] { run([this] { session_.Record(); }); });
    connect(cmdstop_, &QPushButton::clicked, this, [this] { run([this] { session_.Stop(); }); });
    connect(cmdPlay_, &QPushButton::clicked, this, [this] { run([this] { session_.Play(); }); });
    connect(cmdSave_, &QPushButton::clicked, this, &frmSettings::save);
    connect(cmdreset_, &QPushButton::clicked, this, [this] { run([this] { session_.Reset(); }); });
    connect(cmdSettings_, &QPushButton::clicked, this, &frmSettings::chooseSettings);
    connect(cmdMidi_, &QPushButton::clicked, this, &frmSettings::chooseMidi);
    connect(cmdOke_, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdFileName_, &QPushButton::clicked, this, &frmSettings::askFileName);
    connect(cmdStartTime_, &QPushButton::clicked, this, &frmSettings::askStartTime);
    connect(cmdStopTime_, &QPushButton::clicked, this, &frmSettings::askStopTime);
    // The volume control is started when it is installed; nothing happens otherwise.
    connect(Volumecontrol_, &QPushButton::clicked, this, [] { platform::StartProgram("sndvol.exe"); });
    LinkTool(waveform_, FrameServices::Tool::SoundWindow, [this](FrameServices&) { openInAnalyser(); });
    LinkTool(cmdLiveSound_, FrameServices::Tool::LiveSound, [](FrameServices& f) { f.showLiveSound(); });
    connect(&Timer2, &QTimer::timeout, this, [this] { run([this] { session_.Tick(); }); });
}

template <class Event> void frmSettings::run(Event&& event)
{
    event();
    apply();
    showMessages();
}

void frmSettings::apply()
{
    applying_ = true;
    const RecorderSession::View& v = session_.view();
    cmdRecord_->setEnabled(v.canRecord);
    cmdstop_->setEnabled(v.canStop);
    cmdPlay_->setEnabled(v.canPlay);
    cmdSave_->setEnabled(v.canSave);
    (v.programmedChosen ? optRecordProgrammed_ : optRecordImmediate_)->setChecked(true);
    // The options show the format the next recording uses; a rate that is none of the five
    // selects none of them.
    bool rateShown = false;
    for (QRadioButton* o : {optRate6000_, optRate8000_, optRate11025_, optRate22050_, optRate44100_}) {
        if (o->text().toInt() != v.rate) continue;
        o->setChecked(true);
        rateShown = true;
    }
    if (!rateShown) {
        for (QRadioButton* o : {optRate6000_, optRate8000_, optRate11025_, optRate22050_, optRate44100_}) {
            o->setAutoExclusive(false);
            o->setChecked(false);
            o->setAutoExclusive(true);
        }
    }
    if (v.channels == 1) optMono_->setChecked(true);
    if (v.channels == 2) optStereo_->setChecked(true);
    if (v.bits == 8) opt8bits_->setChecked(true);
    if (v.bits == 16) opt16bits_->setChecked(true);
    (v.autoSave ? Option11_ : Option10_)->setChecked(true);
    frmManualAuto_->setVisible(v.programmedChosen);
    frmTimes_->setVisible(v.programmedChosen);
    lblTimes_->setVisible(v.timesShown);
    if (!v.title.isEmpty() && windowTitle() != v.title) setWindowTitle(v.title);
    StatisticsLabel_->setText(shown(v.statistics));
    lblTimes_->setText(shown(v.times));
    if (v.checking && !Timer2.isActive()) Timer2.start();
    if (!v.checking) Timer2.stop();
    applying_ = false;
}

// Messages are shown after each event, one box at a time. The schedule check goes on while a box
// waits for someone to press OK, so a programmed recording still stops on time; what it tells
// meanwhile waits its turn behind the box already open.
void frmSettings::showMessages()
{
    if (showing_) return;
    showing_ = true;
    while (!messages_.isEmpty()) {
        Report(messages_.takeFirst());
    }
    showing_ = false;
}

void frmSettings::audiostatistics()
{
    run([this] { session_.audiostatistics(); });
}

void frmSettings::save()
{
    CommonDialog1.FileName = session_.ProposedSaveName();
    CommonDialog1.Filter = LoadText(610) + "  (*.wav*)|*.wav";
    CommonDialog1.FilterIndex = 1;
    CommonDialog1.Flags = kDialogFlags;
    CommonDialog1.DefaultExt = "wav";
    CommonDialog1.CancelError = true;
    if (!CommonDialog1.ShowSave()) return;
    run([this] { session_.SaveAs(CommonDialog1.FileName); });
}

void frmSettings::chooseSettings()
{
    if (Prompts::Current().MsgBox(LoadText(593), MsgButtons::OKCancel, QCoreApplication::applicationName()) !=
        Answer::OK)
        return;
    run([this] {
        session_.Settings([this] {
            if (FrameServices* frame = FrameServices::Instance()) frame->chooseAudioFormat(this);
        });
    });
}

void frmSettings::chooseMidi()
{
    CommonDialog1.Filter = LoadText(619) + " (*.mid*)|*.mid";
    CommonDialog1.FilterIndex = 1;
    CommonDialog1.Flags = kDialogFlags;
    CommonDialog1.DefaultExt.clear();
    CommonDialog1.CancelError = true;
    if (!CommonDialog1.ShowOpen()) return;
    session_.wave().MidiFileName = modWave::GetShortName(CommonDialog1.FileName);
}

void frmSettings::askFileName()
{
    session_.FileNameAnswered(
        Prompts::Current().InputBox(LoadText(476), LoadText(477), session_.wave().WaveFileName));
}

void frmSettings::askStartTime()
{
    const QString answer = Prompts::Current().InputBox(LoadText(340), LoadText(339), session_.StartTimeOffered());
    run([&] { session_.StartTimeAnswered(answer); });
}

void frmSettings::askStopTime()
{
    const QString answer = Prompts::Current().InputBox(LoadText(342), LoadText(341), session_.StopTimeOffered());
    run([&] { session_.StopTimeAnswered(answer); });
}

void frmSettings::openInAnalyser()
{
    if (session_.SaveNeededBeforeAnalyser()) save();
    run([this] {
        session_.HandToAnalyser([](const QString& path) {
            BusyPointer busy;
            if (FrameServices* frame = FrameServices::Instance()) frame->openSoundWindow(path, 0);
        });
    });
}

frmSettings* frmSettings::Existing() { return g_window; }

bool frmSettings::agreesToClose()
{
    if (!session_.HoldsUnsavedRecording()) return true;
    return Prompts::Current().MsgBox(LoadText(593), MsgButtons::OKCancel, QCoreApplication::applicationName()) ==
           Answer::OK;
}

void frmSettings::closeEvent(QCloseEvent* event)
{
    // The recording goes with the device: a recording not yet saved is kept unless the user
    // agrees to lose it, and the window then stays as it is.
    if (!agreesToClose()) {
        event->ignore();
        return;
    }
    // The check stops before the device closes, so no tick asks a closed device.
    Timer2.stop();
    run([this] { session_.Close(); });
    // The window stays, hidden, with its state: the next showing brings it back as it was.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->hide();
    else
        hide();
    event->ignore();
}

void frmSettings::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    run([this] { session_.Shown(); });
}
