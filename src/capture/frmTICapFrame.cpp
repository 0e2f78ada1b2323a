#include "capture/frmTICapFrame.h"

#include "capture/CaptureSettings.h"
#include "general/General.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using capture::TimeLapseStep;

frmTICapFrame::frmTICapFrame(CaptureHost& capture)
    : QDialog(capture.hostWindow()), capture_(capture), capwnd_(capture.capwnd()), Timer1_(new QTimer(this))
{
    setObjectName("frmTICapFrame");
    setWindowTitle(LoadText(501));
    build();

    const QString file = capFileGetCaptureFile(capwnd_);
    lblCapFile_->setText(file.isEmpty() ? LoadText(500) : QDir::toNativeSeparators(file));
    lblCapFile_->setToolTip(lblCapFile_->text());

    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(500);
    connect(Timer1_, &QTimer::timeout, this, &frmTICapFrame::tick);
    Timer1_->start();
    tick();
}

frmTICapFrame::~frmTICapFrame()
{
    capCaptureSingleFrameClose(capwnd_);
    // Frames written later by other tools carry no stamp of this run.
    if (capwnd_) capwnd_->setFrameStamp({});
}

void frmTICapFrame::build()
{
    auto* layout = new TwipLayout(this, QSize(DesignWidth, DesignHeight));
    auto label = [layout](QWidget* parent, const QString& text, const QRect& r, const char* name = nullptr) {
        auto* l = new QLabel(text, parent);
        if (name) l->setObjectName(name);
        layout->place(l, r.x(), r.y(), r.width(), r.height());
        return l;
    };
    auto box = [layout](QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
        auto* b = new QLineEdit(text, parent);
        b->setObjectName(name);
        layout->place(b, left, top, width, 330);
        return b;
    };
    auto button = [this, layout](const char* name, int text, int left, int top, int width) {
        auto* b = new QPushButton(LoadText(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        layout->place(b, left, top, width, 390);
        return b;
    };
    // Three hour:min:sec boxes from `left`, with their "Hour:min:sec" label after them.
    auto hms = [&](QWidget* parent, std::array<QLineEdit*, 3>& boxes, const std::array<const char*, 4>& names,
                   const std::array<const char*, 3>& texts, int left, int top) {
        for (int i = 0; i < 3; ++i)
            boxes[size_t(i)] = box(parent, names[size_t(i)], texts[size_t(i)], left + i * 660, top, 600);
        label(parent, LoadText(300), {left + 3 * 660 + 60, top + 30, 1800, 285}, names[3]);
    };

    label(this, LoadText(546), {240, 150, 7920, 285}, "lblPrompt");
    lblCapFile_ = label(this, LoadText(500), {240, 450, 7920, 285}, "lblCapFile");

    label(this, LoadText(301), {240, 900, 4140, 285}, "lblInterval");
    hms(this, interval_, {"Texttihr", "Texttimin", "Texttisec", "lblIntervalUnits"}, {"0", "0", "1"}, 4440, 870);

    optiontime_[0] = new QRadioButton(LoadText(293), this);
    optiontime_[0]->setObjectName("optiontime_0");
    layout->place(optiontime_[0], 240, 1350, 4000, 300);
    auto* Presetframe = new QGroupBox(LoadText(294), this);
    Presetframe->setObjectName("Presetframe");
    layout->place(Presetframe, 240, 1680, 7920, 1260);
    label(Presetframe, LoadText(295), {180, 390, 1500, 285}, "lblStarting");
    Textstarting_ = box(Presetframe, "Textstarting", {}, 1740, 360, 2760);
    label(Presetframe, LoadText(296), {180, 810, 1500, 285}, "lblCompletion");
    Textcompletion_ = box(Presetframe, "Textcompletion", {}, 1740, 780, 2760);
    for (int i = 0; i < 2; ++i) {
        QLabel* hint = label(Presetframe, capture::DateHint, {4620, 390 + i * 420, 3120, 285});
        hint->setObjectName(QString("lblDateHint_%1").arg(i));
        hint->setText(capture::DateHint);
    }

    optiontime_[1] = new QRadioButton(LoadText(297), this);
    optiontime_[1]->setObjectName("optiontime_1");
    layout->place(optiontime_[1], 240, 3060, 4000, 300);
    auto* Immediateframe = new QGroupBox(LoadText(298), this);
    Immediateframe->setObjectName("Immediateframe");
    layout->place(Immediateframe, 240, 3390, 7920, 840);
    label(Immediateframe, LoadText(299), {180, 390, 1500, 285}, "lblDuration");
    hms(Immediateframe, duration_, {"Texthr", "Textmin", "Textsec", "lblDurationUnits"}, {"0", "3", "0"}, 1740, 360);

    label(this, LoadText(302), {240, 4440, 1500, 285}, "Labelcurrenttime");
    Textcurrenttime_ = box(this, "Textcurrenttime", {}, 1800, 4410, 2760);
    Textcurrenttime_->setReadOnly(true);
    lblFrames_ = label(this, LoadText(503), {4740, 4440, 3420, 285}, "lblFrames");

    QPushButton* Cmdcapture = button("Cmdcapture", 305, 240, 4920, 2100);
    QPushButton* cmdstop = button("cmdstop", 306, 2460, 4920, 1800);
    cmdCancel_ = button("cmdCancel", 307, 4380, 4920, 1800);
    QPushButton* Cmdclose = button("Cmdclose", 308, 6360, 4920, 1800);
    QPushButton* cmdvideo = button("cmdvideo", 304, 240, 5400, 2100);
    QPushButton* cmdcompression = button("cmdcompression", 303, 2460, 5400, 1800);
    // Reset has no action in this window.
    button("cmdreset", 309, 6360, 5400, 1800)->setEnabled(false);
    resize(layout->normalPixelSize());

    optiontime_[1]->setChecked(true);
    connect(optiontime_[1], &QRadioButton::toggled, this, [this](bool on) {
        if (on) chooseImmediate();
    });
    connect(Textcompletion_, &QLineEdit::textEdited, this, &frmTICapFrame::completionEdited);
    connect(Cmdcapture, &QPushButton::clicked, this, &frmTICapFrame::startCapture);
    connect(cmdstop, &QPushButton::clicked, this, [this] { schedule_.stop(); });
    connect(cmdCancel_, &QPushButton::clicked, this, &frmTICapFrame::cancel);
    connect(Cmdclose, &QPushButton::clicked, this, &frmTICapFrame::closeWindow);
    connect(cmdvideo, &QPushButton::clicked, this, [this] { capDlgVideoFormat(capwnd_); });
    connect(cmdcompression, &QPushButton::clicked, this, [this] { capDlgVideoCompression(capwnd_); });
}

capture::HmsTexts frmTICapFrame::Texts(const std::array<QLineEdit*, 3>& boxes)
{
    return {boxes[0]->text(), boxes[1]->text(), boxes[2]->text()};
}

void frmTICapFrame::startCapture()
{
    Timer1_->stop();
    const QString startingBefore = Textstarting_->text();
    const capture::TimeLapseBoxes boxes{Texts(interval_), Texts(duration_), Textstarting_->text(),
                                        Textcompletion_->text(), optiontime_[1]->isChecked()};
    capture::TimeLapseRun run = capture::ReadTimeLapseRun(boxes, QDateTime::currentDateTime());
    if (!run.startingText.isEmpty()) Textstarting_->setText(run.startingText);
    if (!run.outcome.ok) {
        // Not armed; the timer stays off until a start succeeds. The capture file is not
        // touched: a mistyped box costs no clip.
        ReportFailure(run.outcome);
        return;
    }
    // A new clip replaces the one in the capture file: the user keeps it, or captures nothing.
    const QPointer<frmTICapFrame> self(this);
    const bool go = capture_.MayReplaceClip();
    if (!self) return;
    if (!go) {
        Textstarting_->setText(startingBefore);
        Timer1_->start();
        return;
    }
    // An immediate run starts when the question is answered (keeping the clip may have taken a
    // while), not when the button was pressed.
    if (boxes.immediate) {
        run = capture::ReadTimeLapseRun(boxes, QDateTime::currentDateTime());
        Textstarting_->setText(run.startingText);
    }
    capCaptureSingleFrameOpen(capwnd_);
    Textcompletion_->setText(run.completionText);
    if (run.duration) {
        duration_[0]->setText(run.duration->hours);
        duration_[1]->setText(run.duration->minutes);
        duration_[2]->setText(run.duration->seconds);
    }
    schedule_.arm(run.start, run.completion, run.intervalSeconds);
    Timer1_->start();
}

void frmTICapFrame::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    Textcurrenttime_->setText(general::DateText(now));
    if (busy_) return;
    switch (schedule_.tick(now)) {
    case TimeLapseStep::Idle:
    case TimeLapseStep::Waiting:
        break;
    case TimeLapseStep::Completed:
        capCaptureSingleFrameClose(capwnd_);
        lblCapFile_->setText(LoadText(502));
        capture_.Picture1()->hide();
        break;
    case TimeLapseStep::TakeFrame:
        takeFrame(now);
        break;
    }
}

void frmTICapFrame::takeFrame(const QDateTime& now)
{
    busy_ = true;
    if (capture_.stampsFrames())
        capture_.StampFrame(general::DateText(now));
    else if (capwnd_)
        capwnd_->setFrameStamp({});
    // The capture waits for the camera's next picture, handling events meanwhile.
    const QDateTime due = schedule_.nextFrameTime();
    const QPointer<frmTICapFrame> self(this);
    const bool taken = capCaptureSingleFrame(capwnd_);
    if (!self) return;
    if (taken) {
        lblFrames_->setText(general::NumText(general::Val(lblFrames_->text()) + 1) + LoadText(503));
        schedule_.frameTaken(due);
    } else {
        // The frame stays due and is tried again on the next tick.
        Prompts::Current().MsgBox(LoadText(504), MsgButtons::OK, capture::App, MsgIcon::Information);
        if (!self) return;
        capture_.Picture1()->hide();
    }
    busy_ = false;
}

void frmTICapFrame::chooseImmediate()
{
    const std::optional<capture::HmsTexts> d =
        capture::DurationFromDates(Textstarting_->text(), Textcompletion_->text());
    if (!d) return;
    duration_[0]->setText(d->hours);
    duration_[1]->setText(d->minutes);
    duration_[2]->setText(d->seconds);
}

void frmTICapFrame::cancel()
{
    // Pressed again once it reads Close, it closes the window as its caption says.
    const bool readsClose = cmdCancel_->text() == LoadText(308);
    schedule_.stop();
    cmdCancel_->setText(LoadText(308));
    if (readsClose) closeWindow();
}

void frmTICapFrame::closeWindow()
{
    Timer1_->stop();
    schedule_.stop();
    cmdCancel_->setText(LoadText(308));
    accept();
}

void frmTICapFrame::completionEdited()
{
    // A run keeps the completion typed while it runs, once the box holds a date-time again.
    if (!schedule_.armed()) return;
    if (const std::optional<QDateTime> when = general::ParseDateText(Textcompletion_->text()))
        schedule_.setCompletion(*when);
}
