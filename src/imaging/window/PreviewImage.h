#pragma once
// The image processor's preview (Image1): a picture stretched to the control's size, a crop
// rectangle outline over it (Shape_select), and the mouse reported in twips of the preview.
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class PreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget* parent = nullptr);

    // The picture at its full size; a null picture shows nothing.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }

    // The preview's size in twips (its design size, whatever the window's scale).
    void setTwipSize(QSizeF twips);
    QSizeF twipSize() const { return twips_; }

    // The crop rectangle, in twips relative to the preview; hidden at start.
    void showSelection(const QRectF& twips);
    void setSelectionVisible(bool visible);
    bool selectionVisible() const;
    QWidget* selection() const { return selection_; }

    QPointF toTwips(QPointF pixel) const;
    QPointF toPixels(QPointF twips) const;

signals:
    void mousePressed(QPointF twips);
    void mouseMoved(Qt::MouseButtons buttons, QPointF twips);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void placeSelection();

    QImage picture_;
    QSizeF twips_;
    QRectF selectionTwips_;
    QWidget* selection_;
};
