#pragma once
// The image processor window: browse a folder, preview an image, drag out a crop rectangle, set
// the processing options, apply them to the preview, restore it, run a batch job over a multiple
// selection, and save the preview. One window in the program; Close only hides it.
#include "imaging/window/ImageProcessorSession.h"

#include <QWidget>

#include <memory>

class FolderLists;
class ImageOptionsPanel;
class ImageWorkerPool;
class PreviewImage;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TwipLayout;
class CommonDialog;

class frm_image : public QWidget {
    Q_OBJECT
public:
    explicit frm_image(QWidget* parent = nullptr);
    ~frm_image() override;

    // The program's image processor window, made (as a child of the frame) on first use.
    static frm_image* Instance();
    // True once that window is made.
    static bool Made();

    ImageProcessor& processor() { return session_.processor(); }
    // The window's Tag: the character code of the last key pressed in it, as decimal text.
    QString tag() const { return tag_; }
    bool batchRunning() const { return batchRunning_; }

    static constexpr int DesignWidth = 15600;
    static constexpr int DesignHeight = 9360;
    // The preview area.
    static constexpr int PreviewLeft = 3240, PreviewTop = 120;
    static constexpr int PreviewWidth = 8985, PreviewHeight = 6255;

protected:
    friend void ShowImageProcessor(const QString& file);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setCaptions();

    // Events (frm_image.cpp).
    void preview();
    // Chooses a file in the folder lists and previews it.
    void showFile(const QString& path);
    void restore();
    void applyClicked();
    void cropPressed(QPointF twips);
    void cropMoved(Qt::MouseButtons buttons, QPointF twips);
    // Loads the chosen file as Preview or Restore does; false after a failure it has shown.
    bool loadChosen(Outcome (ImageProcessorSession::*load)());
    // Copies the session's picture and preview size into the controls.
    void showView();

    // Files, batch and saving (frm_imageFiles.cpp).
    void selectMultipleFiles();
    void chooseOutputFolder();
    void runBatch();
    void saveClicked();
    QString outputTypeText() const;

    TwipLayout* layout_;
    QWidget* canvas_;
    FolderLists* folders_;
    ImageOptionsPanel* options_;
    QFrame* previewArea_;
    PreviewImage* Image1;
    QLabel* Picture1;
    QCheckBox* check_preview;
    QComboBox* Combo_ofiletype;
    QLineEdit* outputfolder;
    QPushButton* cmd_output;
    QPushButton* mfselect;
    QPushButton* apply;
    QPushButton* Cancel;
    QPushButton* batch;
    QPushButton* Save;
    QPushButton* Closebutton;

    ImageProcessorSession session_;
    int shown_ = 0;
    std::unique_ptr<ImageWorkerPool> pool_;
    QString tag_;
    bool batchRunning_ = false;
};
