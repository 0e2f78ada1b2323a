#pragma once
// Clips whose every frame shows its own number as a coloured bar code, made by ffmpeg for the
// test: ten vertical stripes across the picture, stripe k yellow when bit k of the frame number
// is set and dark blue when it is not. Reading a frame back tells exactly which frame is shown.
#include <QImage>
#include <QString>
#include <QStringList>

// Makes a 320 x 240 clip of the given rate and length with ffmpeg and the given encoder
// arguments ("-c:v", "mjpeg", ...). Returns the path, or an empty text when ffmpeg failed.
QString MakeBarcodeClip(const QString& path, int framesPerSecond, double seconds,
                        const QStringList& encoder);

// The frame number a picture carries, or -1 when it does not carry one (a black picture, a
// stripe of neither colour).
int ReadBarcode(const QImage& picture);

// Encoder arguments of the three codecs the player must step exactly: MJPEG (every frame a key
// frame), H.264 with key frames every keyFrameSeconds and B-frames, MPEG-4 part 2 with B-frames.
QStringList MjpegEncoder();
QStringList H264Encoder(int framesPerSecond, int keyFrameSeconds);
QStringList Mpeg4Encoder(int framesPerSecond, int keyFrameSeconds);
