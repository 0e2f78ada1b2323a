#pragma once
// A persistent drawing surface measured in twips, the model behind every picture box.
//
// Drawing calls are kept as a list of primitives in twip coordinates, so the same drawing can be
// shown at any pixel size (the window scales it to the screen) and saved as an image. Nothing
// here needs a screen.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <vector>

class QPainter;

class Surface {
public:
    Surface(int widthTwips = 0, int heightTwips = 0);

    // Inner size in twips (ScaleWidth / ScaleHeight of a picture box).
    int ScaleWidth() const { return width_; }
    int ScaleHeight() const { return height_; }
    void Resize(int widthTwips, int heightTwips);

    QColor BackColor() const { return back_; }
    void SetBackColor(const QColor& color);
    QColor ForeColor() const { return fore_; }
    void SetForeColor(const QColor& color) { fore_ = color; }
    int DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(int pixels) { drawWidth_ = pixels < 1 ? 1 : pixels; }
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }

    // The drawing position that Print uses and Line/PSet leave at their end point.
    double CurrentX = 0;
    double CurrentY = 0;

    // Clears every drawing and resets the drawing position.
    void Cls();
    // A line in the given colour (the fore colour when invalid).
    void Line(double x1, double y1, double x2, double y2, const QColor& color = QColor());
    // A line from the current position.
    void LineTo(double x2, double y2, const QColor& color = QColor());
    // A filled box (the "B F" form of a line).
    void FillBox(double x1, double y1, double x2, double y2, const QColor& color = QColor());
    void PSet(double x, double y, const QColor& color = QColor());
    // Room for `more` primitives ahead of a long trace, so that drawing it does not move the list.
    void Reserve(std::size_t more) { items_.reserve(items_.size() + more); }
    // Text at CurrentX/CurrentY (top-left), in the fore colour; moves CurrentY to the next line.
    void Print(const QString& text);

    // Number of primitives drawn since the last Cls (tests and memory checks).
    std::size_t PrimitiveCount() const { return items_.size(); }
    // The texts printed since the last Cls, in order (tests).
    std::vector<QString> Texts() const;
    // True when a primitive of the given colour touches the twip rectangle (tests).
    bool HasInkIn(double x1, double y1, double x2, double y2, const QColor& color) const;

    // Renders the drawing into a painter whose device is pixelSize big, scaling twips to it;
    // offsetTwips shifts the drawing left/up (the highlight strip shows a shifted copy).
    void Render(QPainter& painter, const QSizeF& pixelSize, QPointF offsetTwips = {}) const;
    // The drawing as an image of the given pixel size; the default is 15 twips per pixel.
    QImage ToImage(QSize pixelSize = {}) const;


private:
    enum class Kind { Line, Box, Point, Text };
    // Lines and points are most of a drawing: they carry no text or font of their own, which
    // live in texts_ for the few text items.
    struct Item {
        Kind kind;
        QPointF a, b;
        QColor color;
        int width;
        int text = -1;   // index into texts_ for text items
    };
    struct TextItem {
        QString text;
        QFont font;
    };
    QColor colorOr(const QColor& c) const { return c.isValid() ? c : fore_; }

    int width_;
    int height_;
    QColor back_{Qt::white};
    QColor fore_{Qt::black};
    int drawWidth_ = 1;
    QFont font_;
    std::vector<Item> items_;
    std::vector<TextItem> texts_;
};
