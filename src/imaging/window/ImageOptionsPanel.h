#pragma once
// The processing options of the image processor window: the final size (rescale, filter, the
// four proportional size boxes), the crop edges, the rotation, flips and inversion, brightness,
// contrast and gamma, and the JPEG quality. The controls are made on the window's canvas at
// their design places, from one table; options() reads them as the pipeline takes them.
#include "imaging/window/CropSelection.h"
#include "imaging/pipeline/ImageOptions.h"
#include "imaging/window/SizeBoxes.h"

#include <QObject>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QWidget;
class TwipLayout;

class ImageOptionsPanel : public QObject {
    Q_OBJECT
public:
    ImageOptionsPanel(QWidget* canvas, TwipLayout& layout);

    ImageOptions options() const;

    // The image size the size boxes compute with (imagewidth x imageheight).
    void setImageSize(int width, int height);
    // Puts the image's pixel size into the pixel boxes, as typed: the boxes follow.
    void setPixelSize(int width, int height);
    // The values of the pixel boxes (the target size the crop rectangle measures in).
    double targetWidth() const;
    double targetHeight() const;
    // The crop edges from the mouse: a press gives left and top only.
    void setCrop(const CropValues& values, bool pressOnly);

private:
    void sizeTyped(SizeBoxes::Box box);
    void showSizes();
    void setUpSlider(QSlider* slider, int minimum, int maximum, int value);

    SizeBoxes sizes_;
    bool showingSizes_ = false;

    QGroupBox* imagasize;
    QCheckBox* Check_rescaleimage;
    QRadioButton* resizeoption[3];
    QLineEdit* Text_width;
    QLineEdit* Text_height;
    QLineEdit* Text_widthp;
    QLineEdit* Text_heightp;
    QCheckBox* check_proportional;

    QCheckBox* Check_crop;
    QLineEdit* crop_left;
    QLineEdit* crop_top;
    QLineEdit* crop_right;
    QLineEdit* crop_bottom;
    QLineEdit* crop_width;
    QLineEdit* crop_height;
    QRadioButton* Option_crop[2];

    QCheckBox* check_rotateangle;
    QRadioButton* Option_rotate[5];
    QButtonGroup* rotateGroup_;
    QLineEdit* rotateangle;

    QCheckBox* check_fliphorizontal;
    QCheckBox* Check_flipvertical;
    QCheckBox* Check_invert;

    QSlider* Slider_brightness;
    QSlider* Slider_contrast;
    QSlider* Slider_gamma;
    QSlider* Slider_quality;
    QLineEdit* Text_quality;
    QLabel* Label13;
};
