#pragma once
// A picture box: a widget that shows a Surface (a persistent drawing in twips) scaled to its own
// size, and reports mouse events in the surface's twips (mapped by Twips.h).
#include "platform/ui/Surface.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    // Twip coordinates of a pixel position inside the box, and back.
    QPointF toTwips(QPointF pixel) const;
    QPointF toPixels(QPointF twips) const;

    // The drawing at the box's current pixel size, as saved to an image file.
    QImage picture() const;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF twips);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips);
    void doubleClicked(QPointF twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Surface surface_;
};
