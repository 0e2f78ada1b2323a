#include "live/LiveSoundWindow.h"

#include "imaging/file/SavePictureAs.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/Prompts.h"
#include "platform/system/TemporaryFiles.h"
#include "platform/audio/WaveRecorder.h"
#include "text/LoadText.h"

#include <QAudioDevice>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace live;

const int LiveSoundWindow::kRates[] = {8000, 11025, 22050, 44100, 48000};

namespace {
template <class T> T* Named(T* control, const char* name)
{
    control->setObjectName(name);
    return control;
}

QComboBox* Combo(const char* name, std::initializer_list<std::pair<QString, QVariant>> items)
{
    auto* c = Named(new QComboBox, name);
    for (const auto& [text, data] : items) c->addItem(text, data);
    return c;
}

QLabel* Readout(const char* name)
{
    auto* l = Named(new QLabel, name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

void SelectData(QComboBox* c, const QVariant& data)
{
    const int i = c->findData(data);
    if (i >= 0) c->setCurrentIndex(i);
}
}

LiveSoundWindow::LiveSoundWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("LiveSoundWindow");
    setWindowTitle(LoadText(721));
    input_ = new WaveRecorder(this);
    build();
    building_ = false;
    settingsChanged();
    connect(input_, &WaveRecorder::halted, this, [this](WaveRecorder::Halt, const QString& detail) {
        ReportFailure(session_.inputLost(detail));
        refresh();
    });
    auto* devices = new QMediaDevices(this);
    connect(devices, &QMediaDevices::audioInputsChanged, this, &LiveSoundWindow::fillInputs);
    redraw_.setInterval(1000 / RedrawsPerSecond);
    connect(&redraw_, &QTimer::timeout, this, &LiveSoundWindow::refresh);
    redraw_.start();
    resize(860, 600);
}

LiveSoundWindow::~LiveSoundWindow() { input_->stop(); }

void LiveSoundWindow::build()
{
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(LoadText(731)));
    cboInput_ = Named(new QComboBox, "cboInput");
    cboInput_->setMinimumContentsLength(18);
    cboInput_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(cboInput_, 1);
    top->addWidget(new QLabel(LoadText(732)));
    cboRate_ = Named(new QComboBox, "cboRate");
    for (int r : kRates) cboRate_->addItem(QString::number(r), r);
    SelectData(cboRate_, 44100);
    top->addWidget(cboRate_);
    cmdFreeze_ = Named(new QPushButton(LoadText(727)), "cmdFreeze");
    cmdFreeze_->setCheckable(true);
    cmdOpenInAnalyser_ = Named(new QPushButton(LoadText(728)), "cmdOpenInAnalyser");
    cmdSavePicture_ = Named(new QPushButton(LoadText(729)), "cmdSavePicture");
    cmdCopyValues_ = Named(new QPushButton(LoadText(730)), "cmdCopyValues");
    for (QPushButton* b : {cmdFreeze_, cmdOpenInAnalyser_, cmdSavePicture_, cmdCopyValues_}) top->addWidget(b);
    column->addLayout(top);

    tabViews_ = Named(new QTabWidget, "tabViews");
    tabViews_->addTab(buildScope(), LoadText(722));
    tabViews_->addTab(buildSpectrum(), LoadText(723));
    tabViews_->addTab(buildSpectrogram(), LoadText(724));
    tabViews_->addTab(buildLevel(), LoadText(725));
    tabViews_->addTab(buildStopwatch(), LoadText(726));
    column->addWidget(tabViews_, 1);
    setCentralWidget(central);
    lblStatus_ = Readout("lblStatus");
    statusBar()->addWidget(lblStatus_, 1);

    fillInputs();
    connect(cboInput_, &QComboBox::activated, this, [this] { listen(); });
    connect(cboRate_, &QComboBox::activated, this, [this] {
        settingsChanged();
        listen();
    });
    connect(cmdFreeze_, &QPushButton::toggled, this, [this](bool on) {
        session_.setFrozen(on);
        refresh();
    });
    connect(cmdOpenInAnalyser_, &QPushButton::clicked, this, [this] { openInAnalyser(); });
    connect(cmdSavePicture_, &QPushButton::clicked, this, &LiveSoundWindow::savePicture);
    connect(cmdCopyValues_, &QPushButton::clicked, this, &LiveSoundWindow::copyValues);
    connect(tabViews_, &QTabWidget::currentChanged, this, [this] { refresh(); });
}

QWidget* LiveSoundWindow::buildScope()
{
    auto* page = Named(new QWidget, "pageScope");
    auto* column = new QVBoxLayout(page);
    scope_ = Named(new LiveScopePlot, "picScope");
    column->addWidget(scope_, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(LoadText(733)));
    cboEdge_ = Combo("cboEdge", {{LoadText(734), int(TriggerEdge::Rising)}, {LoadText(735), int(TriggerEdge::Falling)}});
    row->addWidget(cboEdge_);
    cboMode_ = Combo("cboTriggerMode", {{LoadText(737), int(TriggerMode::Auto)}, {LoadText(738), int(TriggerMode::Normal)},
                                        {LoadText(739), int(TriggerMode::Single)}});
    row->addWidget(cboMode_);
    row->addWidget(new QLabel(LoadText(736)));
    spnLevel_ = Named(new QDoubleSpinBox, "spnTriggerLevel");
    spnLevel_->setRange(-1, 1);
    spnLevel_->setSingleStep(0.05);
    spnLevel_->setDecimals(2);
    row->addWidget(spnLevel_);
    row->addWidget(new QLabel(LoadText(740)));
    cboTimeBase_ = Named(new QComboBox, "cboTimeBase");
    for (double ms : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) cboTimeBase_->addItem(QString::number(ms), ms);
    SelectData(cboTimeBase_, 1.0);
    row->addWidget(cboTimeBase_);
    chkAutoRange_ = Named(new QCheckBox(LoadText(741)), "chkAutoRange");
    chkAutoRange_->setChecked(true);
    row->addWidget(chkAutoRange_);
    row->addStretch(1);
    column->addLayout(row);
    auto* readouts = new QHBoxLayout;
    lblCursors_ = Readout("lblCursors");
    lblTrigger_ = Readout("lblTrigger");
    readouts->addWidget(lblCursors_, 1);
    readouts->addWidget(lblTrigger_);
    column->addLayout(readouts);

    for (QComboBox* c : {cboEdge_, cboMode_, cboTimeBase_}) connect(c, &QComboBox::activated, this, &LiveSoundWindow::settingsChanged);
    connect(cboMode_, &QComboBox::activated, this, [this] { session_.armSingle(); });
    connect(spnLevel_, &QDoubleSpinBox::valueChanged, this, &LiveSoundWindow::settingsChanged);
    connect(chkAutoRange_, &QCheckBox::toggled, this, &LiveSoundWindow::settingsChanged);
    connect(scope_, &LiveScopePlot::cursorMoved, this, [this](int which, double ms) {
        session_.setCursor(which, ms);
        lblCursors_->setText(session_.view().cursorText);
        scope_->update();
    });
    return page;
}

QWidget* LiveSoundWindow::buildSpectrum()
{
    auto* page = Named(new QWidget, "pageSpectrum");
    auto* column = new QVBoxLayout(page);
    spectrum_ = Named(new LiveSpectrumPlot, "picSpectrum");
    column->addWidget(spectrum_, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(LoadText(743)));
    cboPoints_ = Named(new QComboBox, "cboPoints");
    for (int n = LiveSession::MinFftSize; n <= LiveSession::MaxFftSize; n *= 2) cboPoints_->addItem(QString::number(n), n);
    SelectData(cboPoints_, 16384);
    row->addWidget(cboPoints_);
    row->addWidget(new QLabel(LoadText(744)));
    cboWindow_ = Combo("cboWindow", {{LoadText(745), int(WindowShape::Hann)}, {LoadText(746), int(WindowShape::Rectangular)},
                                     {LoadText(747), int(WindowShape::Hamming)}, {LoadText(748), int(WindowShape::BlackmanHarris)}});
    row->addWidget(cboWindow_);
    chkDecibels_ = Named(new QCheckBox(LoadText(749)), "chkDecibels");
    chkDecibels_->setChecked(true);
    chkLogFrequency_ = Named(new QCheckBox(LoadText(750)), "chkLogFrequency");
    chkPeakHold_ = Named(new QCheckBox(LoadText(751)), "chkPeakHold");
    for (QCheckBox* c : {chkDecibels_, chkLogFrequency_, chkPeakHold_}) {
        row->addWidget(c);
        connect(c, &QCheckBox::toggled, this, &LiveSoundWindow::settingsChanged);
    }
    row->addStretch(1);
    column->addLayout(row);
    auto* readouts = new QHBoxLayout;
    lblPeak_ = Readout("lblPeak");
    lblFundamental_ = Readout("lblFundamental");
    readouts->addWidget(lblPeak_, 1);
    readouts->addWidget(lblFundamental_, 1);
    column->addLayout(readouts);
    for (QComboBox* c : {cboPoints_, cboWindow_}) connect(c, &QComboBox::activated, this, &LiveSoundWindow::settingsChanged);
    return page;
}

QWidget* LiveSoundWindow::buildSpectrogram()
{
    auto* page = Named(new QWidget, "pageSpectrogram");
    auto* column = new QVBoxLayout(page);
    spectrogram_ = Named(new LiveSpectrogramPlot, "picSpectrogram");
    column->addWidget(spectrogram_, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(LoadText(756)));
    cboColours_ = Combo("cboColours", {{LoadText(757), int(ColourScale::Heat)}, {LoadText(758), int(ColourScale::Grey)}});
    row->addWidget(cboColours_);
    row->addWidget(new QLabel(LoadText(759)));
    cboUpTo_ = Named(new QComboBox, "cboUpTo");
    for (int hz : {1000, 2000, 5000, 10000, 20000}) cboUpTo_->addItem(QString::number(hz), hz);
    SelectData(cboUpTo_, 5000);
    row->addWidget(cboUpTo_);
    row->addWidget(new QLabel(LoadText(760)));
    cboFloor_ = Named(new QComboBox, "cboFloor");
    for (int db : {-60, -80, -100, -120}) cboFloor_->addItem(QString::number(db), db);
    SelectData(cboFloor_, -100);
    row->addWidget(cboFloor_);
    row->addStretch(1);
    column->addLayout(row);
    for (QComboBox* c : {cboColours_, cboUpTo_, cboFloor_}) connect(c, &QComboBox::activated, this, &LiveSoundWindow::settingsChanged);
    connect(spectrogram_, &LiveSpectrogramPlot::pictureSize, this, [this](int columns, int rows) {
        session_.setSpectrogramSize(columns, rows);
    });
    return page;
}

QWidget* LiveSoundWindow::buildLevel()
{
    auto* page = Named(new QWidget, "pageLevel");
    auto* column = new QVBoxLayout(page);
    level_ = Named(new LiveLevelPlot, "picLevel");
    column->addWidget(level_, 1);
    auto* row = new QHBoxLayout;
    lblRms_ = Readout("lblRms");
    lblPeakLevel_ = Readout("lblPeakLevel");
    lblClip_ = Readout("lblClip");
    lblClip_->setStyleSheet("color: #d00000; font-weight: bold");
    for (QLabel* l : {lblRms_, lblPeakLevel_, lblClip_}) row->addWidget(l, 1);
    column->addLayout(row);
    return page;
}

QWidget* LiveSoundWindow::buildStopwatch()
{
    auto* page = Named(new QWidget, "pageStopwatch");
    auto* column = new QVBoxLayout(page);
    lblStopwatch_ = Readout("lblStopwatch");
    QFont big = lblStopwatch_->font();
    big.setPointSizeF(big.pointSizeF() * 4);
    big.setBold(true);
    lblStopwatch_->setFont(big);
    lblStopwatch_->setAlignment(Qt::AlignCenter);
    lblStopwatchState_ = Readout("lblStopwatchState");
    lblStopwatchState_->setAlignment(Qt::AlignCenter);
    column->addStretch(1);
    column->addWidget(lblStopwatch_);
    column->addWidget(lblStopwatchState_);
    column->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(LoadText(764)));
    spnThreshold_ = Named(new QDoubleSpinBox, "spnThreshold");
    spnThreshold_->setRange(-90, 0);
    spnThreshold_->setDecimals(1);
    spnThreshold_->setValue(-20);
    row->addWidget(spnThreshold_);
    cmdResetStopwatch_ = Named(new QPushButton(LoadText(765)), "cmdResetStopwatch");
    row->addWidget(cmdResetStopwatch_);
    row->addStretch(1);
    column->addLayout(row);
    connect(spnThreshold_, &QDoubleSpinBox::valueChanged, this, &LiveSoundWindow::settingsChanged);
    connect(cmdResetStopwatch_, &QPushButton::clicked, this, [this] {
        session_.resetStopwatch();
        refresh();
    });
    return page;
}

void LiveSoundWindow::fillInputs()
{
    const QByteArray chosen = cboInput_->currentData().toByteArray();
    const QByteArray fallback = QMediaDevices::defaultAudioInput().id();
    cboInput_->clear();
    for (const QAudioDevice& d : QMediaDevices::audioInputs()) cboInput_->addItem(d.description(), d.id());
    SelectData(cboInput_, cboInput_->findData(chosen) >= 0 ? chosen : fallback);
}

void LiveSoundWindow::settingsChanged()
{
    if (building_) return;
    LiveSettings s = session_.settings();
    s.sampleRate = cboRate_->currentData().toInt();
    s.trigger.edge = TriggerEdge(cboEdge_->currentData().toInt());
    s.triggerMode = TriggerMode(cboMode_->currentData().toInt());
    s.trigger.level = spnLevel_->value();
    s.msPerDivision = cboTimeBase_->currentData().toDouble();
    s.autoRange = chkAutoRange_->isChecked();
    s.fftSize = cboPoints_->currentData().toInt();
    s.shape = WindowShape(cboWindow_->currentData().toInt());
    s.decibels = chkDecibels_->isChecked();
    s.logFrequency = chkLogFrequency_->isChecked();
    s.peakHold = chkPeakHold_->isChecked();
    s.colours = ColourScale(cboColours_->currentData().toInt());
    s.spectrogramToHz = cboUpTo_->currentData().toDouble();
    s.spectrogramFloorDb = cboFloor_->currentData().toDouble();
    s.thresholdDb = spnThreshold_->value();
    session_.setSettings(s);
    refresh();
}

void LiveSoundWindow::listen()
{
    input_->stop();
    const PcmFormat format{session_.settings().sampleRate, 1, 16};
    const auto started = input_->listen(format, cboInput_->currentData().toByteArray(),
                                        [this](const char* data, std::int64_t bytes) { session_.feed(data, bytes); });
    if (started == WaveRecorder::Start::Started) {
        session_.inputStarted();
    } else {
        ReportFailure(session_.inputFailed(input_->errorString()));
    }
    refresh();
}

LiveView LiveSoundWindow::currentView() const { return LiveView(tabViews_->currentIndex()); }

void LiveSoundWindow::refresh()
{
    session_.noteDropped(input_->droppedBytes());
    session_.update(currentView());
    const LiveSession::View& v = session_.view();
    lblStatus_->setText(v.status);
    cmdFreeze_->setChecked(session_.frozen());
    switch (currentView()) {
    case LiveView::Scope:
        lblCursors_->setText(v.cursorText);
        lblTrigger_->setText(v.triggerText);
        scope_->show(&session_);
        break;
    case LiveView::Spectrum:
        lblPeak_->setText(v.peakText);
        lblFundamental_->setText(v.fundamentalText);
        spectrum_->show(&session_);
        break;
    case LiveView::Spectrogram:
        spectrogram_->show(&session_);
        break;
    case LiveView::Level:
        lblRms_->setText(v.rmsText);
        lblPeakLevel_->setText(v.peakLevelText);
        lblClip_->setText(v.clipText);
        level_->show(&session_);
        break;
    case LiveView::Stopwatch:
        lblStopwatch_->setText(v.stopwatchText);
        lblStopwatchState_->setText(v.stopwatchState);
        break;
    }
}

QImage LiveSoundWindow::viewPicture() const
{
    return tabViews_->currentWidget()->grab().toImage();
}

void LiveSoundWindow::savePicture()
{
    SavePictureAs(viewPicture(), LoadText(729));
}

void LiveSoundWindow::copyValues()
{
    QGuiApplication::clipboard()->setText(session_.copyValues());
}

QString LiveSoundWindow::openInAnalyser()
{
    static int taken = 0;
    QString path;
    {
        BusyPointer busy;
        const QDir scratch(platform::ScratchFolder());
        do path = scratch.filePath(QString("Live sound %1.wav").arg(++taken));
        while (QFile::exists(path));
        const Outcome written = session_.writeHeld(path);
        if (!written.ok) {
            ReportFailure(written);
            return {};
        }
    }
    if (FrameServices* frame = FrameServices::Instance()) frame->openSoundWindow(path, 0);
    return path;
}
