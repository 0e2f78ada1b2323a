#include "imaging/window/ImageOptionsPanel.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"
#include "platform/ui/Prompts.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
// Design places, in twips: the final-size frame and the sliders in the right column, the crop,
// rotation and flips under the preview.
constexpr int kRight = 12345, kRightWidth = 3135;
constexpr int kUnder = 3240, kUnderTop = 6480;

template <class T> T* Make(QWidget* parent, const char* name)
{
    auto* control = new T(parent);
    control->setObjectName(name);
    return control;
}

QLineEdit* Box(QWidget* parent, const char* name, const char* text)
{
    auto* box = Make<QLineEdit>(parent, name);
    box->setText(text);
    return box;
}
}

ImageOptionsPanel::ImageOptionsPanel(QWidget* canvas, TwipLayout& layout)
    : QObject(canvas), canvas_(canvas), layout_(layout)
{
    TwipLayout& l = layout_;
    imagasize = Make<QGroupBox>(canvas, "imagasize");
    l.place(imagasize, kRight, 60, kRightWidth, 3180);
    Check_rescaleimage = Make<QCheckBox>(imagasize, "Check_rescaleimage");
    Check_rescaleimage->setChecked(true);
    l.place(Check_rescaleimage, 120, 270, 2900, 285);
    for (int i = 0; i < 3; ++i) {
        resizeoption[i] = Make<QRadioButton>(imagasize, QString("resizeoption_%1").arg(i).toLatin1());
        l.place(resizeoption[i], 240, 570 + 270 * i, 2780, 270);
    }
    resizeoption[1]->setChecked(true);
    pixelLabel_ = Make<QLabel>(imagasize, "Label_pixel");
    l.place(pixelLabel_, 2040, 1410, 1000, 255);
    widthLabel_ = Make<QLabel>(imagasize, "Label_width");
    l.place(widthLabel_, 120, 1710, 900, 285);
    Text_width = Box(imagasize, "Text_width", "100");
    l.place(Text_width, 1020, 1680, 900, 315);
    Text_widthp = Box(imagasize, "Text_widthp", "0");
    l.place(Text_widthp, 2040, 1680, 960, 315);
    heightLabel_ = Make<QLabel>(imagasize, "Label_height");
    l.place(heightLabel_, 120, 2100, 900, 285);
    Text_height = Box(imagasize, "Text_height", "100");
    l.place(Text_height, 1020, 2070, 900, 315);
    Text_heightp = Box(imagasize, "Text_heightp", "0");
    l.place(Text_heightp, 2040, 2070, 960, 315);
    check_proportional = Make<QCheckBox>(imagasize, "check_proportional");
    check_proportional->setChecked(true);
    l.place(check_proportional, 120, 2520, 2900, 285);

    brightnessLabel_ = Make<QLabel>(canvas, "Label6");
    l.place(brightnessLabel_, kRight, 3330, kRightWidth, 240);
    Slider_brightness = slider("Slider_brightness", -100, 100, 0);
    l.place(Slider_brightness, kRight, 3570, kRightWidth, 300);
    Label7 = Make<QLabel>(canvas, "Label7");
    l.place(Label7, kRight, 3930, kRightWidth, 240);
    Slider_contrast = slider("Slider_contrast", -100, 100, 0);
    l.place(Slider_contrast, kRight, 4170, kRightWidth, 300);
    Label8 = Make<QLabel>(canvas, "Label8");
    l.place(Label8, kRight, 4530, kRightWidth, 240);
    Slider_gamma = slider("Slider_gamma", -100, 100, 0);
    l.place(Slider_gamma, kRight, 4770, kRightWidth, 300);

    // The quality scale runs from most compression (0) to best quality (100).
    Label1 = Make<QLabel>(canvas, "Label1");
    l.place(Label1, kRight, 5130, 1560, 240);
    Label13 = Make<QLabel>(canvas, "Label13");
    Label13->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l.place(Label13, kRight + 1560, 5130, 840, 240);
    Slider_quality = slider("Slider_quality", 0, 100, 85);
    l.place(Slider_quality, kRight, 5370, 2400, 300);
    Text_quality = Box(canvas, "Text_quality", "85");
    l.place(Text_quality, kRight + 2460, 5355, 675, 315);

    Check_crop = Make<QCheckBox>(canvas, "Check_crop");
    l.place(Check_crop, kUnder, kUnderTop, 1500, 285);
    auto* cropUnits = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        Option_crop[i] = Make<QRadioButton>(canvas, QString("Option_crop_%1").arg(i).toLatin1());
        cropUnits->addButton(Option_crop[i]);
        l.place(Option_crop[i], kUnder + 1560 + 1300 * i, kUnderTop, 1250, 285);
    }
    Option_crop[0]->setChecked(true);
    Label10 = Make<QLabel>(canvas, "Label10");
    l.place(Label10, kUnder, 6870, 720, 255);
    crop_left = Box(canvas, "crop_left", "0");
    l.place(crop_left, kUnder + 720, 6840, 750, 315);
    crop_right = Box(canvas, "crop_right", "0");
    l.place(crop_right, kUnder + 1530, 6840, 750, 315);
    Label12 = Make<QLabel>(canvas, "Label12");
    l.place(Label12, kUnder + 2460, 6870, 720, 255);
    crop_top = Box(canvas, "crop_top", "0");
    l.place(crop_top, kUnder + 3180, 6840, 750, 315);
    crop_bottom = Box(canvas, "crop_bottom", "0");
    l.place(crop_bottom, kUnder + 3990, 6840, 750, 315);
    crop_width_label = Make<QLabel>(canvas, "crop_width_label");
    l.place(crop_width_label, kUnder, 7260, 720, 255);
    crop_width = Box(canvas, "crop_width", "0");
    l.place(crop_width, kUnder + 720, 7230, 750, 315);
    crop_height_label = Make<QLabel>(canvas, "crop_height_label");
    l.place(crop_height_label, kUnder + 2460, 7260, 720, 255);
    crop_height = Box(canvas, "crop_height", "0");
    l.place(crop_height, kUnder + 3180, 7230, 750, 315);

    constexpr int kRotate = 8400;
    check_rotateangle = Make<QCheckBox>(canvas, "check_rotateangle");
    l.place(check_rotateangle, kRotate, kUnderTop, 3700, 285);
    rotateGroup_ = new QButtonGroup(this);
    const int rotateLeft[] = {kRotate, kRotate + 850, kRotate + 1700, kRotate + 2650};
    for (int i = 0; i < 5; ++i) {
        Option_rotate[i] = Make<QRadioButton>(canvas, QString("Option_rotate_%1").arg(i).toLatin1());
        rotateGroup_->addButton(Option_rotate[i], i);
        if (i < 4) l.place(Option_rotate[i], rotateLeft[i], 6840, i < 2 ? 820 : 920, 285);
    }
    l.place(Option_rotate[4], kRotate, 7230, 1900, 285);
    rotateangle = Box(canvas, "rotateangle", "0");
    l.place(rotateangle, kRotate + 1950, 7200, 900, 315);

    check_fliphorizontal = Make<QCheckBox>(canvas, "check_fliphorizontal");
    l.place(check_fliphorizontal, kUnder, 7740, 2900, 285);
    Check_flipvertical = Make<QCheckBox>(canvas, "Check_flipvertical");
    l.place(Check_flipvertical, kUnder + 2960, 7740, 2900, 285);
    Check_invert = Make<QCheckBox>(canvas, "Check_invert");
    l.place(Check_invert, kUnder + 5920, 7740, 2900, 285);

    connect(Slider_quality, &QSlider::valueChanged, this,
            [this](int value) { Text_quality->setText(QString::number(value)); });
    connect(Text_quality, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!IsNumeric(text)) return;
        Slider_quality->setValue(int(std::clamp(general::Round(general::Val(text)), 0.0, 100.0)));
    });
    const std::pair<QLineEdit*, SizeBoxes::Box> boxes[] = {
        {Text_width, SizeBoxes::Width}, {Text_height, SizeBoxes::Height},
        {Text_widthp, SizeBoxes::WidthPixels}, {Text_heightp, SizeBoxes::HeightPixels}};
    for (const auto& [box, which] : boxes)
        connect(box, &QLineEdit::textChanged, this, [this, which = which] { sizeTyped(which); });
    connect(check_proportional, &QCheckBox::toggled, this, [this](bool on) { sizes_.setProportional(on); });
}

QSlider* ImageOptionsPanel::slider(const char* name, int minimum, int maximum, int value)
{
    auto* s = Make<QSlider>(canvas_, name);
    s->setOrientation(Qt::Horizontal);
    s->setRange(minimum, maximum);
    s->setSingleStep(1);
    s->setPageStep(5);
    s->setValue(value);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval((maximum - minimum) / 10);
    // The value shows beside the pointer while the slider is dragged.
    connect(s, &QSlider::sliderMoved, s, [s](int v) {
        QToolTip::showText(QCursor::pos(), QString::number(v), s);
    });
    return s;
}

void ImageOptionsPanel::setCaptions()
{
    imagasize->setTitle(LoadText(367));
    Check_rescaleimage->setText(LoadText(569));
    resizeoption[0]->setText(LoadText(372));
    resizeoption[1]->setText(LoadText(374));
    resizeoption[2]->setText(LoadText(373));
    check_proportional->setText(LoadText(368));
    widthLabel_->setText(LoadText(369));
    heightLabel_->setText(LoadText(371));
    pixelLabel_->setText(LoadText(370));
    Check_crop->setText(LoadText(383));
    Check_crop->setToolTip(LoadText(452));
    Label10->setText(LoadText(385));
    Label12->setText(LoadText(575));
    crop_width_label->setText(LoadText(369));
    crop_height_label->setText(LoadText(371));
    Option_crop[0]->setText(LoadText(384));
    Option_crop[1]->setText(LoadText(571));
    check_rotateangle->setText(LoadText(388));
    const char* angles[] = {"-90", "+90", "+180", "+270"};
    for (int i = 0; i < 4; ++i) Option_rotate[i]->setText(angles[i]);
    Option_rotate[4]->setText(LoadText(389));
    check_fliphorizontal->setText(LoadText(379));
    Check_flipvertical->setText(LoadText(380));
    Check_invert->setText(LoadText(381));
    brightnessLabel_->setText(LoadText(376));
    Label7->setText(LoadText(377));
    Label8->setText(LoadText(378));
    Label13->setText(LoadText(573));
    Label1->setText(LoadText(574));
}

ImageOptions ImageOptionsPanel::options() const
{
    ImageOptions o;
    o.flipHorizontal = check_fliphorizontal->isChecked();
    o.flipVertical = Check_flipvertical->isChecked();
    o.invert = Check_invert->isChecked();
    o.contrast = Slider_contrast->value();
    o.brightness = Slider_brightness->value();
    o.gamma = Slider_gamma->value();
    o.rescale = Check_rescaleimage->isChecked();
    o.resizeOption = resizeoption[0]->isChecked() ? 0 : resizeoption[2]->isChecked() ? 2 : 1;
    o.widthPercent = Text_width->text();
    o.heightPercent = Text_height->text();
    o.widthPixels = Text_widthp->text();
    o.heightPixels = Text_heightp->text();
    o.crop = Check_crop->isChecked();
    o.cropLeft = crop_left->text();
    o.cropTop = crop_top->text();
    o.cropRight = crop_right->text();
    o.cropBottom = crop_bottom->text();
    o.rotate = check_rotateangle->isChecked();
    o.rotateOption = rotateGroup_->checkedId();
    o.rotateAngle = rotateangle->text();
    o.quality = Slider_quality->value();
    return o;
}

void ImageOptionsPanel::setImageSize(int width, int height) { sizes_.setImageSize(width, height); }

void ImageOptionsPanel::setPixelSize(int width, int height)
{
    Text_widthp->setText(QString::number(width));
    Text_heightp->setText(QString::number(height));
}

double ImageOptionsPanel::targetWidth() const { return general::Val(Text_widthp->text()); }
double ImageOptionsPanel::targetHeight() const { return general::Val(Text_heightp->text()); }

void ImageOptionsPanel::setCrop(const CropValues& values, bool pressOnly)
{
    crop_left->setText(QString::number(values.left));
    crop_top->setText(QString::number(values.top));
    if (pressOnly) return;
    crop_right->setText(QString::number(values.right));
    crop_bottom->setText(QString::number(values.bottom));
    crop_width->setText(QString::number(values.width));
    crop_height->setText(QString::number(values.height));
}

void ImageOptionsPanel::sizeTyped(SizeBoxes::Box box)
{
    if (showingSizes_) return;
    QLineEdit* const edits[] = {Text_width, Text_height, Text_widthp, Text_heightp};
    const std::vector<Outcome> messages = sizes_.change(box, edits[box]->text());
    showSizes();
    for (const Outcome& m : messages) Report(m);
}

void ImageOptionsPanel::showSizes()
{
    showingSizes_ = true;
    QLineEdit* const edits[] = {Text_width, Text_height, Text_widthp, Text_heightp};
    for (int box = 0; box < 4; ++box) {
        const QString& text = sizes_.text(SizeBoxes::Box(box));
        if (edits[box]->text() != text) edits[box]->setText(text);
    }
    showingSizes_ = false;
}
