#pragma once
// The capture session's picture on screen: the picture it shows, fitted to the widget's size
// keeping its shape (black around it), with the printed text at the top-left. It only paints;
// the session decides what is shown. A picture is scaled once to the widget's size, however
// often it is painted, and a hidden preview costs nothing.
#include <QImage>
#include <QPointer>
#include <QWidget>

class CaptureSession;

class CapturePreview : public QWidget {
    Q_OBJECT
public:
    explicit CapturePreview(CaptureSession* session, QWidget* parent = nullptr);

    CaptureSession* session() const { return session_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<CaptureSession> session_;
    // The last picture fitted to a size other than its own, scaled once for every paint of it.
    qint64 fittedKey_ = 0;
    QImage fitted_;
};
