#pragma once
// The spectrum graph window: magnitude against frequency on rounded decimal ranges, with tick
// marks, labels and the peak frequency; the left button reads a point, the right button drags
// a rectangle to zoom into, Restore shows the whole spectrum again. One window in the program.
#include "spectrum/SpectrumPlot.h"

#include <QWidget>
#include <vector>

class PictureBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TwipLayout;

class FFTfrm : public QWidget {
    Q_OBJECT
public:
    explicit FFTfrm(QWidget* parent = nullptr);

    // The program's spectrum window, made (as a child of the frame) on first use.
    static FFTfrm* Instance();

    // Draws a new spectrum and keeps a copy of it and of its range.
    void Graphfft(const std::vector<float>& xdata, const std::vector<float>& ydata, float xinit,
                  float xfinal, float yinit, float yfinal, std::int32_t ndata);
    // Draws the kept spectrum with another range.
    void REGraphfft(float xinit, float xfinal, float yinit, float yfinal);

    const spectrum::AxisRange& horizontal() const { return x_; }
    const spectrum::AxisRange& vertical() const { return y_; }
    const spectrum::SpectrumPeak& peak() const { return peak_; }
    PictureBox* output() const { return output_; }

    static constexpr int DesignWidth = 12000;
    static constexpr int DesignHeight = 8400;

private:
    void draw(float xinit, float xfinal, float yinit, float yfinal);
    void pressed(Qt::MouseButton button, QPointF twips);
    void moved(Qt::MouseButtons buttons, QPointF twips);
    void released(Qt::MouseButton button, QPointF twips);

    PictureBox* canvas_;
    TwipLayout* layout_;
    PictureBox* output_;
    QWidget* sgraph_;
    QLineEdit* frequency_;
    QLabel* peakfrequency_;

    std::vector<float> xdata_, ydata_;
    std::int32_t ndata_ = 0;
    float fullXinit_ = 0, fullXfinal_ = 0, fullYinit_ = 0, fullYfinal_ = 0;
    spectrum::AxisRange x_, y_;
    spectrum::SpectrumPeak peak_;
    QPointF pressPoint_;
};
