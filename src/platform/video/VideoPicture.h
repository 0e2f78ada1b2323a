#pragma once
// The picture of a clip, painted by the widget itself from the frames that reach a video sink.
// It is an ordinary widget: whatever overlaps it (another player window in the frame) hides it
// as it hides any other widget, and a grab of the window holds it. The picture keeps its
// proportions, centred on black, and is scaled to the widget's size.
//
// Made as a window of its own (Qt::Window) it is a full-screen view of the same sink: Escape or
// a double-click on it asks to leave (leaveRequested), as does closing it.
#include <QImage>
#include <QWidget>

class QVideoSink;

class VideoPicture : public QWidget {
    Q_OBJECT
public:
    // sink: the frames to show; not owned (several views may show one sink). None yet (null)
    // shows black until SetSink gives one.
    explicit VideoPicture(QVideoSink* sink, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    void SetSink(QVideoSink* sink);

    QVideoSink* videoSink() const { return sink_; }
    // Where the picture is painted inside the widget for the frame on show (empty without one).
    QRect pictureArea() const;

signals:
    void leaveRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const QImage& picture();

    QVideoSink* sink_ = nullptr;
    QImage picture_;      // the frame on show, converted once for painting
    bool stale_ = true;   // a new frame has arrived since picture_ was made
};
