#pragma once
// Places a window's controls at their design positions in twips and keeps them there, scaled,
// when the window is resized: the window looks as designed at its normal size and grows or
// shrinks as a whole. Positions are relative to each control's parent, as designed.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

class TwipLayout : public QObject {
public:
    // designSize: the twip size of the root widget's inner area at its normal size.
    TwipLayout(QWidget* root, QSize designSize);

    // Puts a control at a twip rectangle inside its parent.
    void place(QWidget* control, int left, int top, int width, int height);
    void move(QWidget* control, int left, int top);
    void resize(QWidget* control, int width, int height);
    QRect twips(QWidget* control) const { return rects_.value(control); }

    // Pixels per twip of the root at its current size (1/15 at the normal size and 96 dpi).
    double scaleX() const;
    double scaleY() const;
    // The root's pixel size that shows the design at 15 twips per pixel.
    QSize normalPixelSize() const;

    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyOne(QWidget* control);

    QWidget* root_;
    QSize design_;
    QHash<QWidget*, QRect> rects_;
};
