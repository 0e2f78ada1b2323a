#pragma once
// The spectrum graph window: magnitude against frequency on rounded decimal ranges, with tick
// marks, labels and the peak frequency; the left button reads a point, the right button drags
// a rectangle to zoom into, Restore shows the whole spectrum again. One window in the program.
#include "spectrum/LevelSpectrum.h"
#include "spectrum/SpectrumPlot.h"

#include <QWidget>
#include <vector>

class PictureBox;
class QCheckBox;
class QComboBox;
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

    // The sound's samples (one channel: the mix of both), full scale +-fullScale around offset,
    // for the spectrum in dB ("Level in dB", `chkLevelDb`) with the window of `cboWindow`.
    void SetLevelSamples(std::vector<float> samples, double sampleRate, double fullScale, double offset);
    const spectrum::LevelSpectrum& levelSpectrum() const { return level_; }
    bool showingLevels() const { return showingLevels_; }
    // The bins drawn, as "Copy values" and "Export spectrum" write them.
    QString ValuesText() const;
    const spectrum::AxisRange& horizontal() const { return x_; }
    const spectrum::AxisRange& vertical() const { return y_; }
    const spectrum::SpectrumPeak& peak() const { return peak_; }
    PictureBox* output() const { return output_; }

    static constexpr int DesignWidth = 12000;
    static constexpr int DesignHeight = 8400;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw(float xinit, float xfinal, float yinit, float yfinal);
    void drawTrace();
    void pressed(Qt::MouseButton button, QPointF twips);
    void moved(Qt::MouseButtons buttons, QPointF twips);
    void released(Qt::MouseButton button, QPointF twips);
    void computeLevels();
    void showLevels();
    void showMagnitudes();
    void exportSpectrum();
    void showLevelReadouts();

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
    bool traceDrawn_ = false;   // the plot shows a trace, drawn for a plot of tracePixels_
    QSize tracePixels_;
    spectrum::SpectrumPeak peak_;
    QPointF pressPoint_;

    // The spectrum in dB: its controls, samples and result; the design's magnitudes kept aside.
    QCheckBox* levelDb_ = nullptr;
    QComboBox* window_ = nullptr;
    QLabel* peakLevel_ = nullptr;
    QLabel* cursorReadout_ = nullptr;
    QLabel* correction_ = nullptr;
    std::vector<float> levelSamples_;
    double levelRate_ = 0, levelFullScale_ = 32768, levelOffset_ = 0;
    spectrum::LevelSpectrum level_;
    std::vector<float> magX_, magY_;
    std::int32_t magN_ = 0;
    float magRange_[4] = {0, 0, 0, 0};
    bool showingLevels_ = false;
    bool drawingLevels_ = false;
};
