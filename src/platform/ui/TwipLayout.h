#pragma once
// Places a window's controls at their design positions in twips and keeps them there, scaled,
// when the window is resized: the window looks as designed at its normal size and grows or
// shrinks as a whole. Positions are relative to each control's parent, as designed.
//
// It is the root widget's layout: the root's size hint is the design size (so a child window of
// the frame opens, and returns from maximised, at its design size) and its minimum size a
// fixed share of it. Below the design size the controls' fonts shrink with the window, so every
// text keeps its room; above it they stay as designed.
#include <QFont>
#include <QHash>
#include <QLayout>
#include <QRect>
#include <QSize>

class QWidget;

class TwipLayout : public QLayout {
public:
    // The smallest share of the design size a window can be made.
    static constexpr double MinimumScale = 0.6;

    // designSize: the twip size of the root widget's inner area at its normal size.
    TwipLayout(QWidget* root, QSize designSize);

    // Puts a control at a twip rectangle inside its parent.
    void place(QWidget* control, int left, int top, int width, int height);
    void move(QWidget* control, int left, int top);
    void resize(QWidget* control, int width, int height);
    QRect twips(QWidget* control) const { return rects_.value(control).twips; }

    // Pixels per twip of the root at its current size (1/15 at the normal size and 96 dpi).
    double scaleX() const;
    double scaleY() const;
    // The root's pixel size that shows the design at 15 twips per pixel.
    QSize normalPixelSize() const;

    void apply();

    // QLayout: the controls are placed by their twips, not held as layout items.
    QSize sizeHint() const override { return normalPixelSize(); }
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    void addItem(QLayoutItem*) override {}
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    int count() const override { return 0; }

private:
    struct Placed {
        QRect twips;
        QFont font;   // the font the control had when placed: its design font
    };
    void applyOne(QWidget* control, const Placed& placed);

    QWidget* root_;
    QSize design_;
    QHash<QWidget*, Placed> rects_;
};
