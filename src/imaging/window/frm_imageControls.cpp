// The image processor window's controls: where each sits and what it says.
#include "imaging/window/frm_image.h"

#include "imaging/window/FolderLists.h"
#include "imaging/window/ImageOptionsPanel.h"
#include "imaging/window/PreviewImage.h"
#include "imaging/file/SaveFormat.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeView>

namespace {
template <class T> T* Make(QWidget* parent, const char* name)
{
    auto* control = new T(parent);
    control->setObjectName(name);
    return control;
}
}

void frm_image::buildControls()
{
    TwipLayout& l = *layout_;
    folders_ = new FolderLists(canvas_);
    l.place(folders_->drives(), 120, 120, 3000, 330);
    l.place(folders_->folders(), 120, 510, 3000, 3500);
    l.place(folders_->files(), 120, 4080, 3000, 4110);
    check_preview = Make<QCheckBox>(canvas_, "check_preview");
    check_preview->setChecked(true);
    l.place(check_preview, 120, 8280, 3000, 285);
    mfselect = Make<QPushButton>(canvas_, "mfselect");
    l.place(mfselect, 120, 8640, 3000, 420);

    previewArea_ = Make<QFrame>(canvas_, "previewarea");
    previewArea_->setFrameShape(QFrame::StyledPanel);
    l.place(previewArea_, PreviewLeft - 30, PreviewTop - 30, PreviewWidth + 60, PreviewHeight + 60);
    Image1 = Make<PreviewImage>(canvas_, "Image1");
    Image1->setToolTip(QString());
    l.place(Image1, PreviewLeft, PreviewTop, PreviewWidth, PreviewHeight);
    Image1->setTwipSize(QSizeF(PreviewWidth, PreviewHeight));
    Picture1 = Make<QLabel>(canvas_, "Picture1");
    Picture1->hide();

    options_ = new ImageOptionsPanel(canvas_, l);

    constexpr int kRight = 12345, kRightWidth = 3135, kButton = 1500;
    Combo_ofiletype = Make<QComboBox>(canvas_, "Combo_ofiletype");
    l.place(Combo_ofiletype, kRight, 5820, kRightWidth, 330);
    cmd_output = Make<QPushButton>(canvas_, "cmd_output");
    l.place(cmd_output, kRight, 6240, kRightWidth, 390);
    outputfolder = Make<QLineEdit>(canvas_, "outputfolder");
    l.place(outputfolder, kRight, 6690, kRightWidth, 315);
    apply = Make<QPushButton>(canvas_, "apply");
    l.place(apply, kRight, 7170, kButton, 420);
    Cancel = Make<QPushButton>(canvas_, "Cancel");
    l.place(Cancel, kRight + kRightWidth - kButton, 7170, kButton, 420);
    batch = Make<QPushButton>(canvas_, "batch");
    batch->setProperty("Tag", QString());
    l.place(batch, kRight, 7680, kButton, 420);
    Save = Make<QPushButton>(canvas_, "Save");
    l.place(Save, kRight + kRightWidth - kButton, 7680, kButton, 420);
    Closebutton = Make<QPushButton>(canvas_, "Closebutton");
    l.place(Closebutton, kRight + kRightWidth - kButton, 8640, kButton, 420);

    connect(folders_, &FolderLists::fileClicked, this, &frm_image::preview);
    connect(Image1, &PreviewImage::mousePressed, this, &frm_image::cropPressed);
    connect(Image1, &PreviewImage::mouseMoved, this, &frm_image::cropMoved);
    connect(Image1, &PreviewImage::clicked, this,
            [this] { Image1->setSelectionVisible(Image1->hasPicture()); });
    connect(apply, &QPushButton::clicked, this, &frm_image::applyClicked);
    connect(Cancel, &QPushButton::clicked, this, &frm_image::restore);
    connect(mfselect, &QPushButton::clicked, this, &frm_image::selectMultipleFiles);
    connect(cmd_output, &QPushButton::clicked, this, &frm_image::chooseOutputFolder);
    connect(batch, &QPushButton::clicked, this, &frm_image::runBatch);
    connect(Save, &QPushButton::clicked, this, &frm_image::saveClicked);
    connect(Closebutton, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->hide();
        else
            hide();
    });
}

void frm_image::setCaptions()
{
    setWindowTitle(LoadText(568));
    check_preview->setText(LoadText(363));
    check_preview->setToolTip(LoadText(453));
    mfselect->setText(LoadText(361));
    mfselect->setToolTip(LoadText(451));
    cmd_output->setText(LoadText(362));
    outputfolder->setText(LoadText(364));
    outputfolder->setToolTip(LoadText(570));
    apply->setText(LoadText(390));
    Cancel->setText(LoadText(391));
    batch->setText(LoadText(392));
    batch->setToolTip(LoadText(572));
    Save->setText(LoadText(393));
    Closebutton->setText(LoadText(394));

    // The output type list: "Use original type", then the first ten type words of the save
    // dialogs' list; until one is chosen it shows its prompt.
    Combo_ofiletype->clear();
    Combo_ofiletype->addItem(LoadText(366));
    for (int i = 1; i <= 10; ++i) Combo_ofiletype->addItem(SaveTypeWordOfEntry(i));
    Combo_ofiletype->setPlaceholderText(LoadText(365));
    Combo_ofiletype->setCurrentIndex(-1);
    Combo_ofiletype->setToolTip(LoadText(365));
}
