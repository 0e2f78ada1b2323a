#include "CaptureProbe.h"

#include "support/TempDir.h"
#include "support/Tools.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

QMap<QString, QString> ProbeStream(const QString& path, const QString& stream)
{
    QMap<QString, QString> fields;
    const ToolResult r = RunTool("ffprobe", {"-v", "error", "-count_frames", "-select_streams", stream,
                                             "-show_entries", "stream", "-of", "default=nw=1", path});
    if (r.exitCode != 0) return fields;
    for (const QString& line : r.output.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) fields.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return fields;
}

int DecodedFrames(const QString& path)
{
    const ToolResult r = RunTool("ffmpeg", {"-hide_banner", "-nostats", "-v", "info", "-i", path,
                                            "-map", "0:v:0", "-vsync", "passthrough", "-f", "null", "-"});
    if (r.exitCode != 0) return -1;
    const QRegularExpression frames("frame=\\s*(\\d+)");
    int n = -1;
    auto it = frames.globalMatch(r.output);
    while (it.hasNext()) n = it.next().captured(1).toInt();
    return n;
}

namespace {
QImage Selected(const QString& path, const QString& select)
{
    TempDir dir;
    const QString out = dir.file("frame.png");
    const ToolResult r = RunTool("ffmpeg", {"-hide_banner", "-v", "error", "-i", path, "-vf",
                                            "select=" + select, "-vsync", "passthrough",
                                            "-frames:v", "1", out});
    if (r.exitCode != 0) return QImage();
    return QImage(out);
}
}

QImage DecodedPicture(const QString& path, int n)
{
    return Selected(path, QString("eq(n\\,%1)").arg(n));
}

QImage DecodedPictureAt(const QString& path, double seconds)
{
    return Selected(path, QString("gte(t\\,%1)").arg(seconds - 0.001));
}

QByteArray DecodedSound(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-hide_banner", "-v", "error", "-i", path, "-map", "0:a:0", "-ac", "1",
                            "-f", "s16le", "-acodec", "pcm_s16le", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) return QByteArray();
    return ffmpeg.readAllStandardOutput();
}
