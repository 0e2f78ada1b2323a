#include "spectrum/FFTfrm.h"

#include "general/General.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/TwipLayout.h"
#include "platform/ui/BusyPointer.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Prompts.h"
#include "spectrum/SpectrumDrawing.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSaveFile>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kOutputLeft = 720, kOutputTop = 360, kOutputWidth = 10632, kOutputHeight = 6084;
constexpr std::int32_t kMaxBins = 2566000;
const QColor kTrace(0, 0, 0xC0);        // dark blue
const QColor kZoomBox(0xFF, 0xFF, 0xC0); // light yellow
const QColor kTitle(0, 0, 0xFF);

QPointer<FFTfrm> g_window;
}

FFTfrm::FFTfrm(QWidget* parent) : QWidget(parent)
{
    setObjectName("FFTfrm");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LoadText(447));
    if (FrameServices* frame = FrameServices::Instance())
        setWindowIcon(frame->frameWindow()->windowIcon());

    canvas_ = new PictureBox(this);
    canvas_->setObjectName("FFTfrmSurface");
    canvas_->surface().Resize(DesignWidth, DesignHeight);
    canvas_->surface().SetBackColor(palette().color(QPalette::Window));
    layout_ = new TwipLayout(canvas_, QSize(DesignWidth, DesignHeight));
    resize(layout_->normalPixelSize());

    output_ = new PictureBox(canvas_);
    output_->setObjectName("output");
    output_->surface().Resize(kOutputWidth, kOutputHeight);
    output_->surface().SetBackColor(Qt::white);
    output_->surface().SetForeColor(kTrace);
    layout_->place(output_, kOutputLeft, kOutputTop, kOutputWidth, kOutputHeight);

    auto* title = new QLabel(LoadText(567), canvas_);
    title->setObjectName("graphtitle");
    title->setStyleSheet(QString("color: %1").arg(kTitle.name()));
    layout_->place(title, kOutputLeft, 60, kOutputWidth, 250);

    auto* axis = new QLabel(LoadText(153), canvas_);
    axis->setObjectName("Label1");
    axis->setAlignment(Qt::AlignCenter);
    layout_->place(axis, kOutputLeft, 6950, kOutputWidth, 250);

    peakfrequency_ = new QLabel(LoadText(448), canvas_);
    peakfrequency_->setObjectName("peakfrequency");
    layout_->place(peakfrequency_, kOutputLeft, 7400, 4000, 300);

    auto* save = new QPushButton(LoadText(155), canvas_);
    save->setObjectName("saveifftimage");
    layout_->place(save, 8300, 7350, 1500, 400);
    auto* restore = new QPushButton(LoadText(154), canvas_);
    restore->setObjectName("fftrestore");
    layout_->place(restore, 9850, 7350, 1500, 400);

    sgraph_ = new QWidget(canvas_);
    sgraph_->setObjectName("sgraph");
    sgraph_->setAutoFillBackground(true);
    QPalette yellow = sgraph_->palette();
    yellow.setColor(QPalette::Window, kZoomBox);
    sgraph_->setPalette(yellow);
    sgraph_->setAttribute(Qt::WA_TransparentForMouseEvents);
    sgraph_->hide();
    layout_->place(sgraph_, 0, 0, 0, 0);

    frequency_ = new QLineEdit(LoadText(566), output_);
    frequency_->setObjectName("frequency");
    frequency_->setReadOnly(true);
    frequency_->setAttribute(Qt::WA_TransparentForMouseEvents);
    frequency_->hide();
    layout_->place(frequency_, 0, 0, 3800, 300);

    // The spectrum in dB: beside the design's controls, below the plot.
    levelDb_ = new QCheckBox(LoadText(806), canvas_);
    levelDb_->setObjectName("chkLevelDb");
    layout_->place(levelDb_, 4750, 7380, 1720, 330);
    auto* windowLabel = new QLabel(LoadText(807), canvas_);
    windowLabel->setObjectName("lblWindow");
    layout_->place(windowLabel, 6490, 7420, 740, 280);
    window_ = new QComboBox(canvas_);
    window_->setObjectName("cboWindow");
    window_->addItem(LoadText(808));   // Hann, the default
    window_->addItem(LoadText(809));   // rectangular: the plain transform
    layout_->place(window_, 7240, 7370, 1020, 360);
    peakLevel_ = new QLabel(canvas_);
    peakLevel_->setObjectName("lblPeakLevel");
    layout_->place(peakLevel_, kOutputLeft, 7850, 3500, 280);
    cursorReadout_ = new QLabel(canvas_);
    cursorReadout_->setObjectName("lblCursorLevel");
    layout_->place(cursorReadout_, 4300, 7850, 3000, 280);
    correction_ = new QLabel(canvas_);
    correction_->setObjectName("lblWindowCorrection");
    layout_->place(correction_, kOutputLeft, 8120, 7000, 260);
    auto* copyValues = new QPushButton(LoadText(810), canvas_);
    copyValues->setObjectName("cmdCopyValues");
    layout_->place(copyValues, 8300, 7800, 1500, 400);
    auto* exportValues = new QPushButton(LoadText(811), canvas_);
    exportValues->setObjectName("cmdExportSpectrum");
    layout_->place(exportValues, 9850, 7800, 1500, 400);
    output_->setMouseTracking(true);
    output_->installEventFilter(this);
    connect(levelDb_, &QCheckBox::toggled, this, [this](bool on) { on ? showLevels() : showMagnitudes(); });
    connect(window_, &QComboBox::currentIndexChanged, this, [this] {
        computeLevels();
        if (showingLevels_) showLevels();
    });
    connect(copyValues, &QPushButton::clicked, this, [this] {
        const QString text = ValuesText();
        if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    });
    connect(exportValues, &QPushButton::clicked, this, &FFTfrm::exportSpectrum);

    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(canvas_);

    connect(save, &QPushButton::clicked, this,
            [this] { SavePictureAs(output_->picture(), LoadText(450)); });
    connect(restore, &QPushButton::clicked, this, [this] {
        Graphfft(xdata_, ydata_, fullXinit_, fullXfinal_, fullYinit_, fullYfinal_, ndata_);
        sgraph_->hide();
    });
    connect(output_, &PictureBox::mousePressed, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { pressed(b, p); });
    connect(output_, &PictureBox::mouseMoved, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPointF p) { moved(b, p); });
    connect(output_, &PictureBox::mouseReleased, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) { released(b, p); });
}

FFTfrm* FFTfrm::Instance()
{
    if (!g_window) {
        g_window = new FFTfrm;
        if (FrameServices* frame = FrameServices::Instance()) {
            QMdiSubWindow* sub = frame->addChild(g_window);
            sub->resize(sub->sizeHint().expandedTo(g_window->layout_->normalPixelSize() + QSize(12, 40)));
        }
    }
    return g_window;
}

void FFTfrm::Graphfft(const std::vector<float>& xdata, const std::vector<float>& ydata, float xinit,
                      float xfinal, float yinit, float yfinal, std::int32_t ndata)
{
    fullXinit_ = xinit;
    fullXfinal_ = xfinal;
    fullYinit_ = yinit;
    fullYfinal_ = yfinal;
    ndata = std::clamp<std::int32_t>(ndata, 0, kMaxBins);
    ndata = std::min<std::int32_t>(ndata, std::int32_t(std::min(xdata.size(), ydata.size())));
    // The arguments may be this window's own copy (Restore).
    if (&xdata != &xdata_) {
        xdata_.assign(xdata.begin(), xdata.begin() + ndata);
        ydata_.assign(ydata.begin(), ydata.begin() + ndata);
    }
    ndata_ = ndata;
    if (!drawingLevels_ && &xdata != &xdata_) {
        // A new spectrum from the design's path: its magnitudes are the picture without dB.
        magX_ = xdata_;
        magY_ = ydata_;
        magN_ = ndata_;
        magRange_[0] = xinit, magRange_[1] = xfinal, magRange_[2] = yinit, magRange_[3] = yfinal;
        showingLevels_ = false;
    }
    peak_ = spectrum::SpectrumPlot::FindPeak(xdata_.data(), ydata_.data(), ndata_);
    draw(xinit, xfinal, yinit, yfinal);
}

void FFTfrm::SetLevelSamples(std::vector<float> samples, double sampleRate, double fullScale, double offset)
{
    levelSamples_ = std::move(samples);
    levelRate_ = sampleRate;
    levelFullScale_ = fullScale;
    levelOffset_ = offset;
    computeLevels();
    if (levelDb_->isChecked()) showLevels();
}

void FFTfrm::computeLevels()
{
    BusyPointer busy;
    const auto window = window_->currentIndex() == 1 ? spectrum::WindowFunction::Rectangular
                                                     : spectrum::WindowFunction::Hann;
    level_ = spectrum::ComputeLevelSpectrum(levelSamples_, levelRate_, levelFullScale_, levelOffset_, window);
}

void FFTfrm::showLevels()
{
    if (!level_.ok()) return;
    // The levels over the same quarter of the bins as the magnitudes, 100 dB down from the peak;
    // lower levels are drawn on the bottom edge.
    const std::int32_t bins = level_.points / 4;
    const float top = float(std::max(level_.peakLevel, -99.0));
    const float bottom = top - 100.0f;
    std::vector<float> levels(level_.level.begin(), level_.level.begin() + bins + 1);
    for (float& v : levels) v = std::max(v, bottom);
    levels[0] = bottom;
    drawingLevels_ = true;
    showingLevels_ = true;
    Graphfft(level_.frequency, levels, 0.0f, level_.frequency[std::size_t(bins)], bottom, top, bins);
    drawingLevels_ = false;
    showLevelReadouts();
}

void FFTfrm::showMagnitudes()
{
    showingLevels_ = false;
    if (magN_ > 0) {
        drawingLevels_ = true;
        Graphfft(magX_, magY_, magRange_[0], magRange_[1], magRange_[2], magRange_[3], magN_);
        drawingLevels_ = false;
    }
    showLevelReadouts();
}

void FFTfrm::showLevelReadouts()
{
    cursorReadout_->clear();
    if (!showingLevels_ || !level_.ok()) {
        peakLevel_->clear();
        correction_->clear();
        return;
    }
    peakLevel_->setText(LoadText(812).arg(QString::number(level_.peakFrequency, 'f', 2),
                                          QString::number(level_.peakLevel, 'f', 2)));
    correction_->setText(LoadText(815).arg(QString::number(level_.correctionDb, 'f', 2)));
}

QString FFTfrm::ValuesText() const
{
    if (showingLevels_ && level_.ok()) return spectrum::LevelSpectrumText(level_, x_.low, x_.high);
    // The magnitudes, in the same two columns.
    QString text = QStringLiteral("Frequency (Hz)\tLevel (dB)\n");
    if (magN_ <= 0) return {};
    for (std::int32_t i = 1; i < magN_; ++i) {
        if (magX_[std::size_t(i)] < x_.low || magX_[std::size_t(i)] > x_.high) continue;
        const double m = magY_[std::size_t(i)] / levelFullScale_ * 2;
        text += QString::number(magX_[std::size_t(i)], 'f', 6) + '\t' +
                QString::number(m > 0 ? 20 * std::log10(m) : double(spectrum::LevelFloorDb), 'f', 6) + '\n';
    }
    return text;
}

void FFTfrm::exportSpectrum()
{
    const QString text = ValuesText();
    if (text.isEmpty()) return;
    CommonDialog& dialog = FrameServices::Dialog();
    dialog.DialogTitle = LoadText(813);
    dialog.Filter = LoadText(814) + " (*.txt)|*.txt";
    dialog.FilterIndex = 1;
    dialog.DefaultExt = "txt";
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return;
    QString name = dialog.FileName;
    if (!name.contains('.')) name += ".txt";
    QSaveFile out(name);
    const QByteArray bytes = text.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        ReportFailure(Outcome::Failure("Error in Saving file: " + name, "Save Error", out.errorString()));
}

void FFTfrm::REGraphfft(float xinit, float xfinal, float yinit, float yfinal)
{
    // The peak among the bins drawn: those of the range after its rounding.
    const spectrum::AxisRange drawn =
        spectrum::SpectrumPlot::Horizontal(xinit, xfinal, output_->surface().ScaleWidth());
    peak_ = spectrum::SpectrumPlot::FindPeak(xdata_.data(), ydata_.data(), ndata_,
                                             drawn.valid ? drawn.low : xinit,
                                             drawn.valid ? drawn.high : xfinal);
    draw(xinit, xfinal, yinit, yfinal);
}

void FFTfrm::draw(float xinit, float xfinal, float yinit, float yfinal)
{
    using spectrum::SpectrumPlot;
    Surface& out = output_->surface();
    Surface& window = canvas_->surface();
    out.Cls();
    window.Cls();
    const double W = out.ScaleWidth(), H = out.ScaleHeight();
    const spectrum::AxisRange x = SpectrumPlot::Horizontal(xinit, xfinal, W);
    if (x.valid) x_ = x;
    const spectrum::AxisRange y = SpectrumPlot::Vertical(yinit, yfinal, H);
    // A vertical span of 0 (a silent sound) leaves the plot empty.
    traceDrawn_ = y.valid && x_.valid;
    if (traceDrawn_) {
        y_ = y;
        drawTrace();
        window.SetForeColor(palette().color(QPalette::WindowText));
        spectrum::fftDrawTickMarks(window, kOutputLeft, kOutputTop + kOutputHeight, W, H, x_, y_);
        // In dB every level is below the design's running maximum of 0: the peak is the
        // interpolated one of the level spectrum.
        if (showingLevels_ && level_.ok()) peak_ = {peak_.bin, float(level_.peakFrequency), float(level_.peakLevel)};
        peakfrequency_->setText(LoadText(448) + general::Format(peak_.frequency, u" ##.## "));
        peakfrequency_->setToolTip(LoadText(449) + general::NumText(peak_.magnitude, 7));
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->show();
        sub->raise();
        if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    }
    show();
    output_->update();
    canvas_->update();
}

void FFTfrm::drawTrace()
{
    // Drawn for the plot's width on the screen, and again when that changes.
    Surface& out = output_->surface();
    out.Cls();
    tracePixels_ = output_->size();
    spectrum::DrawSpectrumTrace(out, {xdata_, ydata_, ndata_}, x_, y_, kTrace,
                                palette().color(QPalette::Button), tracePixels_);
}

bool FFTfrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == output_ && event->type() == QEvent::Resize && traceDrawn_ &&
        output_->size() != tracePixels_)
        drawTrace();
    return QWidget::eventFilter(watched, event);
}

void FFTfrm::pressed(Qt::MouseButton button, QPointF p)
{
    if (button == Qt::LeftButton && x_.valid && y_.valid && x_.scale > 0 && y_.scale > 0) {
        frequency_->setText(general::Format(p.x() / x_.scale + x_.low, u"##,##0.00") + " Hz  " +
                            LoadText(425) + general::Format(y_.high - p.y() / y_.scale, u"#,##0.00"));
        layout_->move(frequency_, int(p.x()), int(p.y()));
        frequency_->show();
    } else if (button == Qt::RightButton) {
        pressPoint_ = p;
        layout_->place(sgraph_, kOutputLeft + int(p.x()), kOutputTop + int(p.y()), 0, 0);
        sgraph_->show();
        sgraph_->raise();
    }
}

void FFTfrm::moved(Qt::MouseButtons buttons, QPointF p)
{
    if (buttons == Qt::NoButton) {
        // The frequency and level under the pointer.
        if (!showingLevels_ || !x_.valid || x_.scale <= 0) return;
        const double hz = p.x() / x_.scale + x_.low;
        cursorReadout_->setText(QString::number(hz, 'f', 2) + " Hz  " + QString::number(level_.LevelAt(hz), 'f', 2) + " dB");
        return;
    }
    if (buttons != Qt::RightButton) return;
    layout_->place(sgraph_, kOutputLeft + int(std::min(p.x(), pressPoint_.x())),
                   kOutputTop + int(std::min(p.y(), pressPoint_.y())),
                   int(std::abs(p.x() - pressPoint_.x())), int(std::abs(p.y() - pressPoint_.y())));
}

void FFTfrm::released(Qt::MouseButton button, QPointF p)
{
    if (button == Qt::LeftButton) {
        frequency_->hide();
        return;
    }
    if (button != Qt::RightButton) return;
    const auto zoom = spectrum::SpectrumPlot::Zoom(pressPoint_.x(), pressPoint_.y(), p.x(), p.y(),
                                                   x_, y_, output_->surface().ScaleHeight());
    // A click or a purely horizontal or vertical drag does not zoom; the rectangle goes either way.
    sgraph_->hide();
    // In dB only the frequencies zoom: the level scale stays (the design's zoom raises a
    // negative lower bound to 0, which every level is below).
    if (zoom && showingLevels_) REGraphfft(zoom->xinit, zoom->xfinal, fullYinit_, fullYfinal_);
    else if (zoom) REGraphfft(zoom->xinit, zoom->xfinal, zoom->yinit, zoom->yfinal);
}
