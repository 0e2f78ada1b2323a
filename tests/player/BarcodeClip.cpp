#include "player/BarcodeClip.h"

#include "support/Tools.h"

#include <QColor>

namespace {
constexpr int kBits = 10;
}

QString MakeBarcodeClip(const QString& path, int framesPerSecond, double seconds,
                        const QStringList& encoder)
{
    // geq paints each pixel from the frame number N and its column X.
    const QString bit = QString("bitand(N\\,pow(2\\,floor(X/(W/%1))))").arg(kBits);
    const QString paint = QString("geq=r='if(%1\\,230\\,20)':g='if(%1\\,230\\,20)':b='if(%1\\,20\\,140)'").arg(bit);
    QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                     QString("color=c=black:s=320x240:r=%1:d=%2").arg(framesPerSecond).arg(seconds),
                     "-vf", "format=rgb24," + paint};
    args << encoder << path;
    const ToolResult result = RunTool("ffmpeg", args);
    return result.exitCode == 0 ? path : QString();
}

int ReadBarcode(const QImage& picture)
{
    if (picture.isNull()) return -1;
    int number = 0;
    for (int k = 0; k < kBits; ++k) {
        const QColor c = picture.pixelColor(int((k + 0.5) * picture.width() / kBits), picture.height() / 2);
        const bool yellow = c.red() > 150 && c.green() > 150 && c.blue() < 100;
        const bool blue = c.blue() > 90 && c.red() < 90 && c.green() < 90;
        if (yellow) number |= 1 << k;
        else if (!blue) return -1;
    }
    return number;
}

QStringList MjpegEncoder() { return {"-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"}; }

QStringList H264Encoder(int framesPerSecond, int keyFrameSeconds)
{
    const QString gop = QString::number(framesPerSecond * keyFrameSeconds);
    return {"-c:v", "libx264", "-g", gop, "-keyint_min", gop, "-sc_threshold", "0", "-pix_fmt", "yuv420p"};
}

QStringList Mpeg4Encoder(int framesPerSecond, int keyFrameSeconds)
{
    return {"-c:v", "mpeg4", "-g", QString::number(framesPerSecond * keyFrameSeconds), "-bf", "2",
            "-q:v", "3"};
}
