#include "spectrum/FFTfrm.h"

#include "general/General.h"
#include "imaging/file/SavePictureAs.h"
#include "platform/ui/FrameServices.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/TwipLayout.h"
#include "spectrum/SpectrumDrawing.h"
#include "text/LoadText.h"

#include <QLabel>
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
    peak_ = spectrum::SpectrumPlot::FindPeak(xdata_.data(), ydata_.data(), ndata_);
    draw(xinit, xfinal, yinit, yfinal);
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
    if (y.valid && x_.valid) {
        y_ = y;
        spectrum::DrawSpectrumTrace(out, {xdata_, ydata_, ndata_}, x_, y_, kTrace,
                                    palette().color(QPalette::Button));
        window.SetForeColor(palette().color(QPalette::WindowText));
        spectrum::fftDrawTickMarks(window, kOutputLeft, kOutputTop + kOutputHeight, W, H, x_, y_);
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
    if (zoom) REGraphfft(zoom->xinit, zoom->xfinal, zoom->yinit, zoom->yfinal);
}
