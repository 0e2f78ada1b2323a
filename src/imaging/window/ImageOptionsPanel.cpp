#include "imaging/window/ImageOptionsPanel.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"
#include "platform/ui/ControlTable.h"
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
constexpr int kUnder = 3240, kUnderTop = 6480, kRotate = 8400;
}

ImageOptionsPanel::ImageOptionsPanel(QWidget* canvas, TwipLayout& layout) : QObject(canvas)
{
    using R = ControlRow;
    auto* box = (QWidget**)&imagasize;
    BuildControls(canvas, layout, {
        // The final size.
        {"imagasize", &imagasize, {kRight, 60, kRightWidth, 3180}, 367},
        {"Check_rescaleimage", &Check_rescaleimage, {120, 270, 2900, 285}, 569, box},
        {"resizeoption_0", &resizeoption[0], {240, 570, 2780, 270}, 372, box},
        {"resizeoption_1", &resizeoption[1], {240, 840, 2780, 270}, 374, box},
        {"resizeoption_2", &resizeoption[2], {240, 1110, 2780, 270}, 373, box},
        {"Label_pixel", Caption, {2040, 1410, 1000, 255}, 370, box},
        {"Label_width", Caption, {120, 1710, 900, 285}, 369, box},
        {"Text_width", &Text_width, {1020, 1680, 900, 315}, 0, box},
        {"Text_widthp", &Text_widthp, {2040, 1680, 960, 315}, 0, box},
        {"Label_height", Caption, {120, 2100, 900, 285}, 371, box},
        {"Text_height", &Text_height, {1020, 2070, 900, 315}, 0, box},
        {"Text_heightp", &Text_heightp, {2040, 2070, 960, 315}, 0, box},
        {"check_proportional", &check_proportional, {120, 2520, 2900, 285}, 368, box},
        // Brightness, contrast, gamma; the quality scale runs from most compression (0) to best
        // quality (100).
        {"Label6", Caption, {kRight, 3330, kRightWidth, 240}, 376},
        {"Slider_brightness", &Slider_brightness, {kRight, 3570, kRightWidth, 300}},
        {"Label7", Caption, {kRight, 3930, kRightWidth, 240}, 377},
        {"Slider_contrast", &Slider_contrast, {kRight, 4170, kRightWidth, 300}},
        {"Label8", Caption, {kRight, 4530, kRightWidth, 240}, 378},
        {"Slider_gamma", &Slider_gamma, {kRight, 4770, kRightWidth, 300}},
        {"Label1", Caption, {kRight, 5130, 1560, 240}, 574},
        {"Label13", &Label13, {kRight + 1560, 5130, 840, 240}, 573},
        {"Slider_quality", &Slider_quality, {kRight, 5370, 2400, 300}},
        {"Text_quality", &Text_quality, {kRight + 2460, 5355, 675, 315}},
        // The crop edges.
        {"Check_crop", &Check_crop, {kUnder, kUnderTop, 1500, 285}, 383},
        {"Option_crop_0", &Option_crop[0], {kUnder + 1560, kUnderTop, 1250, 285}, 384},
        {"Option_crop_1", &Option_crop[1], {kUnder + 2860, kUnderTop, 1250, 285}, 571},
        {"Label10", Caption, {kUnder, 6870, 720, 255}, 385},
        {"crop_left", &crop_left, {kUnder + 720, 6840, 750, 315}},
        {"crop_right", &crop_right, {kUnder + 1530, 6840, 750, 315}},
        {"Label12", Caption, {kUnder + 2460, 6870, 720, 255}, 575},
        {"crop_top", &crop_top, {kUnder + 3180, 6840, 750, 315}},
        {"crop_bottom", &crop_bottom, {kUnder + 3990, 6840, 750, 315}},
        {"crop_width_label", Caption, {kUnder, 7260, 720, 255}, 369},
        {"crop_width", &crop_width, {kUnder + 720, 7230, 750, 315}},
        {"crop_height_label", Caption, {kUnder + 2460, 7260, 720, 255}, 371},
        {"crop_height", &crop_height, {kUnder + 3180, 7230, 750, 315}},
        // The rotation.
        {"check_rotateangle", &check_rotateangle, {kRotate, kUnderTop, 3700, 285}, 388},
        {"Option_rotate_0", &Option_rotate[0], {kRotate, 6840, 820, 285}},
        {"Option_rotate_1", &Option_rotate[1], {kRotate + 850, 6840, 820, 285}},
        {"Option_rotate_2", &Option_rotate[2], {kRotate + 1700, 6840, 920, 285}},
        {"Option_rotate_3", &Option_rotate[3], {kRotate + 2650, 6840, 920, 285}},
        {"Option_rotate_4", &Option_rotate[4], {kRotate, 7230, 1900, 285}, 389},
        {"rotateangle", &rotateangle, {kRotate + 1950, 7200, 900, 315}},
        // Flips and inversion.
        {"check_fliphorizontal", &check_fliphorizontal, {kUnder, 7740, 2900, 285}, 379},
        {"Check_flipvertical", &Check_flipvertical, {kUnder + 2960, 7740, 2900, 285}, 380},
        {"Check_invert", &Check_invert, {kUnder + 5920, 7740, 2900, 285}, 381},
    });
    Check_rescaleimage->setChecked(true);
    resizeoption[1]->setChecked(true);
    check_proportional->setChecked(true);
    for (QLineEdit* e : {Text_width, Text_height}) e->setText("100");
    for (QLineEdit* e : {Text_widthp, Text_heightp, crop_left, crop_right, crop_top, crop_bottom, crop_width,
                         crop_height, rotateangle})
        e->setText("0");
    Text_quality->setText("85");
    Label13->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Check_crop->setToolTip(LoadText(452));
    for (QSlider* s : {Slider_brightness, Slider_contrast, Slider_gamma}) setUpSlider(s, -100, 100, 0);
    setUpSlider(Slider_quality, 0, 100, 85);
    auto* cropUnits = new QButtonGroup(this);
    for (QRadioButton* o : Option_crop) cropUnits->addButton(o);
    Option_crop[0]->setChecked(true);
    rotateGroup_ = new QButtonGroup(this);
    const char* angles[] = {"-90", "+90", "+180", "+270"};
    for (int i = 0; i < 5; ++i) {
        rotateGroup_->addButton(Option_rotate[i], i);
        if (i < 4) Option_rotate[i]->setText(angles[i]);
    }

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

void ImageOptionsPanel::setUpSlider(QSlider* s, int minimum, int maximum, int value)
{
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
