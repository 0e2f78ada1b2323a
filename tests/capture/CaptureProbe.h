#pragma once
// What ffprobe and ffmpeg say about a capture file, for the capture tests: the streams' fields,
// the frames ffmpeg decodes, and a decoded picture or the decoded sound.
#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>

// The fields of one stream ("v:0", "a:0") as ffprobe reports them, with the frames it decodes
// in "nb_read_frames"; empty when ffprobe cannot read the file.
QMap<QString, QString> ProbeStream(const QString& path, const QString& stream);
// The number of video frames ffmpeg decodes from the file, reading it to its end; -1 when
// ffmpeg fails on the file.
int DecodedFrames(const QString& path);
// The n-th decoded picture (from 0) of the file, as ffmpeg gives it in RGB.
QImage DecodedPicture(const QString& path, int n);
// The first picture shown at or after a time in seconds.
QImage DecodedPictureAt(const QString& path, double seconds);
// The first audio stream decoded to 16-bit mono samples at its own rate.
QByteArray DecodedSound(const QString& path);
