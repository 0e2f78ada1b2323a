#include "capture/device/CaptureStatus.h"

#include "general/General.h"
#include "text/LoadText.h"

namespace {
QString Seconds(double s) { return general::Format(s, u"0.000"); }
}

QString ProgressText(const CaptureCounts& c)
{
    return LoadText(196).arg(c.frames).arg(c.dropped).arg(Seconds(c.seconds));
}

QString SummaryText(const CaptureCounts& c)
{
    const double fps = c.seconds > 0 ? double(c.frames) / c.seconds : 0.0;
    const QString fpsText = general::Format(fps, u"0.000");
    if (c.withAudio)
        return LoadText(197)
            .arg(Seconds(c.seconds))
            .arg(c.frames)
            .arg(c.dropped)
            .arg(fpsText)
            .arg(c.audioBytes)
            .arg(c.samplesPerSecond);
    return LoadText(198).arg(Seconds(c.seconds)).arg(c.frames).arg(c.dropped).arg(fpsText);
}

int SummaryNumber(const CaptureCounts& c)
{
    return c.withAudio ? capstatus::SummaryWithAudio : capstatus::SummaryVideoOnly;
}
