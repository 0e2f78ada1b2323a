#include "live/LivePlots.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace live {

namespace {
const QColor kBack(16, 24, 32);
const QColor kGrid(60, 75, 90);
const QColor kTrace(90, 230, 120);
const QColor kHeld(240, 170, 60);
const QColor kCursor(250, 220, 80);
const QColor kText(200, 210, 220);
constexpr double kLowestLogHz = 20;
constexpr double kDbTop = 0, kDbBottom = -120;

QString Hz(double f) { return f >= 1000 ? QString::number(f / 1000) + "k" : QString::number(f); }
}

LivePlot::LivePlot(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF LivePlot::plotArea() const { return QRectF(56, 10, std::max(10, width() - 66), std::max(10, height() - 36)); }

void LivePlot::paintFrame(QPainter& p) const
{
    p.fillRect(rect(), kBack);
    p.setPen(kGrid);
    p.drawRect(plotArea());
}

void LiveScopePlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintFrame(p);
    if (!session_) return;
    const auto& v = session_->view();
    const auto& s = session_->settings();
    const QRectF a = plotArea();
    const double range = v.range > 0 ? v.range : 1;
    auto X = [&](double ms) { return a.left() + a.width() * ms / v.sweepMs; };
    auto Y = [&](double y) { return a.center().y() - a.height() / 2 * std::clamp(y / range, -1.05, 1.05); };
    p.setPen(QPen(kGrid, 1, Qt::DotLine));
    for (int i = 1; i < LiveSession::Divisions; ++i) p.drawLine(QPointF(X(v.sweepMs * i / LiveSession::Divisions), a.top()), QPointF(X(v.sweepMs * i / LiveSession::Divisions), a.bottom()));
    for (int i = 1; i < 8; ++i) p.drawLine(QPointF(a.left(), a.top() + a.height() * i / 8), QPointF(a.right(), a.top() + a.height() * i / 8));
    p.setPen(kText);
    p.drawText(QRectF(0, a.top() - 6, a.left() - 4, 14), Qt::AlignRight, Fixed(range, 3));
    p.drawText(QRectF(0, a.bottom() - 8, a.left() - 4, 14), Qt::AlignRight, Fixed(-range, 3));
    p.drawText(QRectF(a.left(), a.bottom() + 4, a.width(), 16), Qt::AlignLeft, "0");
    p.drawText(QRectF(a.left(), a.bottom() + 4, a.width(), 16), Qt::AlignRight, Fixed(v.sweepMs, 1) + " ms");
    // Trigger level
    p.setPen(QPen(kHeld, 1, Qt::DashLine));
    p.drawLine(QPointF(a.left(), Y(s.trigger.level)), QPointF(a.left() + 12, Y(s.trigger.level)));
    // The wave: one path
    p.setClipRect(a);
    QPainterPath path;
    for (std::size_t i = 0; i < v.trace.size(); ++i) {
        const QPointF q(X(v.trace[i].x()), Y(v.trace[i].y()));
        if (i == 0) path.moveTo(q);
        else path.lineTo(q);
    }
    p.setPen(QPen(kTrace, 1.2));
    p.drawPath(path);
    p.setPen(QPen(kCursor, 1, Qt::DashLine));
    for (int c = 0; c < 2; ++c) {
        const double x = X(s.cursorMs[c]);
        p.drawLine(QPointF(x, a.top()), QPointF(x, a.bottom()));
        p.drawText(QPointF(x + 3, a.top() + 12), QString::number(c + 1));
    }
}

void LiveScopePlot::mousePressEvent(QMouseEvent* e)
{
    dragging_ = e->button() == Qt::RightButton ? 2 : 1;
    moveCursor(e);
}

void LiveScopePlot::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & (Qt::LeftButton | Qt::RightButton)) moveCursor(e);
}

void LiveScopePlot::moveCursor(QMouseEvent* e)
{
    if (!session_) return;
    const QRectF a = plotArea();
    const double ms = std::clamp((e->position().x() - a.left()) / a.width(), 0.0, 1.0) * session_->view().sweepMs;
    emit cursorMoved(dragging_ - 1, ms);
}

void LiveSpectrumPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintFrame(p);
    if (!session_) return;
    const auto& v = session_->view();
    const auto& s = session_->settings();
    const QRectF a = plotArea();
    const double nyquist = s.sampleRate / 2.0;
    const bool logAxis = s.logFrequency;
    auto X = [&](double f) {
        if (logAxis) return a.left() + a.width() * std::log(std::max(f, kLowestLogHz) / kLowestLogHz) / std::log(nyquist / kLowestLogHz);
        return a.left() + a.width() * f / nyquist;
    };
    double linearTop = 0;
    for (float m : v.spectrum.amplitude) linearTop = std::max(linearTop, double(m));
    for (float m : v.held) linearTop = std::max(linearTop, double(m));
    linearTop = linearTop > 0 ? std::pow(10, std::ceil(std::log10(linearTop * 1.01) * 2) / 2) : 1;
    auto Y = [&](double amplitude) {
        double t;
        if (s.decibels) t = (AmplitudeDb(amplitude) - kDbBottom) / (kDbTop - kDbBottom);
        else t = amplitude / linearTop;
        return a.bottom() - a.height() * std::clamp(t, 0.0, 1.0);
    };
    // Scales
    p.setPen(QPen(kGrid, 1, Qt::DotLine));
    QList<double> ticks;
    if (logAxis) {
        for (double d = 100; d < nyquist; d *= 10)
            for (double m : {1.0, 2.0, 5.0})
                if (d * m < nyquist && d * m >= kLowestLogHz) ticks << d * m;
        ticks.prepend(50);
    } else {
        const double step = nyquist > 10000 ? 2000 : nyquist > 5000 ? 1000 : 500;
        for (double f = step; f < nyquist; f += step) ticks << f;
    }
    for (double f : ticks) {
        p.setPen(QPen(kGrid, 1, Qt::DotLine));
        p.drawLine(QPointF(X(f), a.top()), QPointF(X(f), a.bottom()));
        p.setPen(kText);
        p.drawText(QRectF(X(f) - 30, a.bottom() + 4, 60, 16), Qt::AlignHCenter, Hz(f));
    }
    for (int i = 0; i <= 6; ++i) {
        const double y = a.top() + a.height() * i / 6;
        p.setPen(QPen(kGrid, 1, Qt::DotLine));
        p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
        p.setPen(kText);
        const QString label = s.decibels ? QString::number(kDbTop + (kDbBottom - kDbTop) * i / 6) + " dB"
                                         : QString::number(linearTop * (6 - i) / 6, 'g', 3);
        p.drawText(QRectF(0, y - 7, a.left() - 4, 14), Qt::AlignRight, label);
    }
    p.setClipRect(a);
    // Each pixel column takes the strongest line that falls in it: one path per curve.
    auto curve = [&](const std::vector<float>& lines) {
        QPainterPath path;
        if (lines.empty() || v.spectrum.binHz <= 0) return path;
        double columnX = -1, columnMax = 0;
        bool started = false;
        auto flush = [&] {
            if (columnX < 0) return;
            const QPointF q(columnX, Y(columnMax));
            if (!started) path.moveTo(q), started = true;
            else path.lineTo(q);
        };
        for (std::size_t k = 1; k < lines.size(); ++k) {
            const double x = std::floor(X(double(k) * v.spectrum.binHz));
            if (x != columnX) {
                flush();
                columnX = x;
                columnMax = lines[k];
            } else {
                columnMax = std::max(columnMax, double(lines[k]));
            }
        }
        flush();
        return path;
    };
    if (!v.held.empty()) {
        p.setPen(QPen(kHeld, 1));
        p.drawPath(curve(v.held));
    }
    p.setPen(QPen(kTrace, 1.2));
    p.drawPath(curve(v.spectrum.amplitude));
    if (v.peak.found) {
        p.setPen(QPen(kCursor, 1, Qt::DashLine));
        const double x = X(v.peak.frequency);
        p.drawLine(QPointF(x, a.top()), QPointF(x, a.bottom()));
    }
}

void LiveSpectrogramPlot::showEvent(QShowEvent*) { resizeEvent(nullptr); }

void LiveSpectrogramPlot::resizeEvent(QResizeEvent*)
{
    // Hidden tab pages get passing sizes; the picture takes the size it is shown at.
    if (!isVisible()) return;
    const QRectF a = plotArea();
    emit pictureSize(int(a.width()), int(a.height()));
}

void LiveSpectrogramPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintFrame(p);
    if (!session_) return;
    const QRectF a = plotArea();
    const QImage picture = session_->spectrogram().picture();
    if (!picture.isNull()) p.drawImage(a, picture);
    const auto& g = session_->spectrogram().settings();
    p.setPen(kText);
    for (int i = 0; i <= 5; ++i) {
        const double f = g.fromHz + (g.toHz - g.fromHz) * i / 5;
        const double y = a.bottom() - a.height() * i / 5;
        p.drawText(QRectF(0, y - 7, a.left() - 4, 14), Qt::AlignRight, Hz(std::round(f)));
    }
    // The colour scale along the bottom: floor .. 0 dBFS
    const double w = std::min(200.0, a.width() / 2);
    for (int i = 0; i < int(w); ++i)
        p.fillRect(QRectF(a.right() - w + i, a.bottom() + 8, 1, 8), QColor(ScaleColour(g.scale, i / w)));
    p.drawText(QRectF(a.right() - w - 64, a.bottom() + 4, 60, 16), Qt::AlignRight, QString::number(g.floorDb) + " dB");
    p.drawText(QRectF(a.left(), a.bottom() + 4, 200, 16), Qt::AlignLeft, "Hz");
}

void LiveLevelPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintFrame(p);
    if (!session_) return;
    const auto& v = session_->view();
    const QRectF a = plotArea();
    constexpr double bottom = -60;
    auto X = [&](double db) { return a.left() + a.width() * std::clamp((db - bottom) / -bottom, 0.0, 1.0); };
    for (int db = -60; db <= 0; db += 10) {
        p.setPen(QPen(kGrid, 1, Qt::DotLine));
        p.drawLine(QPointF(X(db), a.top()), QPointF(X(db), a.bottom()));
        p.setPen(kText);
        p.drawText(QRectF(X(db) - 30, a.bottom() + 4, 60, 16), Qt::AlignHCenter, QString::number(db));
    }
    const QColor bar = v.clipping ? QColor(230, 40, 40) : kTrace;
    const double h = a.height() / 5;
    p.fillRect(QRectF(a.left(), a.top() + h, X(v.level.rmsDb) - a.left(), h), bar);
    p.fillRect(QRectF(a.left(), a.top() + 3 * h, X(v.level.peakDb) - a.left(), h), bar.darker(130));
    p.setPen(kText);
    p.drawText(QRectF(a.left() + 4, a.top(), a.width(), h), Qt::AlignLeft | Qt::AlignVCenter, v.rmsText);
    p.drawText(QRectF(a.left() + 4, a.top() + 2 * h, a.width(), h), Qt::AlignLeft | Qt::AlignVCenter, v.peakLevelText);
    if (v.clipping) {
        p.setPen(QColor(255, 90, 90));
        p.drawText(QRectF(a.left(), a.top() + 4 * h, a.width() - 4, h), Qt::AlignRight | Qt::AlignVCenter, v.clipText);
    }
}

} // namespace live
