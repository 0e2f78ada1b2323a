#pragma once
// The capture window's compression dialog: MJPEG with a quality, uncompressed 24-bit pictures,
// or 8-bit pictures with the capture palette (offered once a palette is built or loaded).
#include "platform/video/AviWriter.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

class VideoCompressionDialog : public QDialog {
    Q_OBJECT
public:
    VideoCompressionDialog(VideoCoding coding, int quality, bool havePalette,
                           QWidget* parent = nullptr);
    VideoCoding coding() const;
    int quality() const;

private:
    QRadioButton* mjpeg_;
    QRadioButton* uncompressed_;
    QRadioButton* palettised_;
    QSpinBox* quality_;
};
