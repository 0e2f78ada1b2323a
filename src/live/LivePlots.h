#pragma once
// The live tool's drawings: each paints one view of a LiveSession's View with a few QPainter
// paths (one per trace, never a widget per sample), and turns the mouse into calls.
#include "live/LiveSession.h"

#include <QWidget>

namespace live {

class LivePlot : public QWidget {
    Q_OBJECT
public:
    explicit LivePlot(QWidget* parent = nullptr);
    void show(const LiveSession* session) { session_ = session; update(); }

protected:
    // The drawing area inside the margins kept for the scales.
    QRectF plotArea() const;
    void paintFrame(class QPainter& p) const;
    const LiveSession* session_ = nullptr;
};

// The wave over the sweep, 10 divisions across and ±range up and down, the trigger level and
// the two measuring cursors. The left button places cursor 1, the right button cursor 2.
class LiveScopePlot : public LivePlot {
    Q_OBJECT
public:
    using LivePlot::LivePlot;
signals:
    void cursorMoved(int which, double ms);
protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
private:
    void moveCursor(QMouseEvent* e);
    int dragging_ = 0;
};

// The spectrum (and the held peaks) on a linear or logarithmic frequency axis, in dB or linear.
class LiveSpectrumPlot : public LivePlot {
    Q_OBJECT
public:
    using LivePlot::LivePlot;
protected:
    void paintEvent(QPaintEvent*) override;
};

// The rolling spectrogram picture with its frequency scale.
class LiveSpectrogramPlot : public LivePlot {
    Q_OBJECT
public:
    using LivePlot::LivePlot;
protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
signals:
    void pictureSize(int columns, int rows);
};

// RMS and peak as two bars from -60 to 0 dBFS, red while clipping is shown.
class LiveLevelPlot : public LivePlot {
    Q_OBJECT
public:
    using LivePlot::LivePlot;
protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace live
