#pragma once
// A text printed at the top-left corner of a picture (the time stamp of a grabbed or captured
// frame): light letters on a dark box, sized to the picture, so it reads on any scene.
#include <QImage>
#include <QString>

class QPainter;

// The picture with the text on it; the picture itself when the text is empty.
QImage StampPicture(const QImage& picture, const QString& text);
// Draws the stamp on a painter whose device is `height` pixels high.
void DrawStamp(QPainter& painter, int height, const QString& text);
