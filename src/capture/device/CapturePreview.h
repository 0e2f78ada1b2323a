#pragma once
// The capture session's picture on screen: the picture it shows, fitted to the widget's size
// keeping its shape (black around it), with the printed text at the top-left. It only paints;
// the session decides what is shown.
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
};
