#include "capture/CaptureSettings.h"

#include "general/General.h"
#include "platform/system/Settings.h"

#include <cmath>

namespace capture {
namespace {
const QString kVidcap = "vidcap settings";
const QString kPreferences = "preferences";

QString Get(const QString& section, const QString& key, const QString& fallback)
{
    return platform::GetSetting(App, section, key, fallback);
}

void Put(const QString& section, const QString& key, const QString& value)
{
    platform::SaveSetting(App, section, key, value);
}

std::int32_t ToInt32(double value)
{
    try {
        return general::CLng(value);
    } catch (const general::OverflowError&) {
        return value < 0 ? INT32_MIN : INT32_MAX;
    }
}

QString Limited(const QString& text, double low, double high)
{
    const double v = general::Val(text);
    if (v < low) return general::NumText(low);
    if (v > high) return general::NumText(high);
    return text;
}
} // namespace

VidcapSettings VidcapSettings::Load()
{
    VidcapSettings s;
    s.fps = Get(kVidcap, "fps", "15");
    s.timeLimit = general::Val(Get(kVidcap, "time limit", "0")) != 0;
    s.seconds = Get(kVidcap, "seconds", "30");
    s.captureAudio = general::Val(Get(kVidcap, "cap audio", "0")) != 0;
    return s;
}

void VidcapSettings::save() const
{
    Put(kVidcap, "fps", fps);
    Put(kVidcap, "time limit", timeLimit ? "1" : "0");
    Put(kVidcap, "seconds", seconds);
    Put(kVidcap, "cap audio", captureAudio ? "1" : "0");
}

QString LimitFps(const QString& text) { return Limited(text, 1, 100); }

std::int32_t MicroSecondsPerFrame(double fps)
{
    if (!(fps > 0)) return 0;
    return ToInt32(1000000.0 / fps);
}

CaptureParameters SequenceParameters(const QString& fps, bool timeLimit, const QString& seconds,
                                     bool captureAudio, const QString& maxframes,
                                     const QString& streammaster)
{
    // Every field the dialog does not set is 0.
    CaptureParameters p = *CaptureParameters::FromBytes(QByteArray(CaptureParameters::RecordSize, '\0'));
    p.requestMicroSecPerFrame = MicroSecondsPerFrame(general::Val(fps));
    p.makeUserHitOKToCapture = 1;
    p.percentDropForError = 10;
    p.yield = 0;
    p.indexSize = ToInt32(general::Val(maxframes));
    p.numVideoRequested = 32;
    p.captureAudio = captureAudio ? 1 : 0;
    p.numAudioRequested = 8;
    p.keyAbort = 0;
    p.abortLeftMouse = 1;
    p.abortRightMouse = 1;
    p.limitEnabled = timeLimit ? 1 : 0;
    p.timeLimit = ToInt32(general::Val(seconds));
    p.disableWriteCache = 1;
    p.avStreamMaster = SynchToAudio(streammaster) ? 0 : 1;
    return p;
}

CapturePreferences CapturePreferences::Load()
{
    CapturePreferences p;
    p.backcolor = Get(kPreferences, "backcolor", "&H404040");
    p.maxframes = Get(kPreferences, "maxframes", "27000");
    p.streammaster = Get(kPreferences, "streammaster", "AUDIO");
    return p;
}

void CapturePreferences::save() const
{
    Put(kPreferences, "backcolor", backcolor);
    Put(kPreferences, "maxframes", maxframes);
    Put(kPreferences, "streammaster", streammaster);
}

BackgroundChoice ChoiceOfColour(double v)
{
    if (v == 0xC0C0C0) return BackgroundChoice::LightGray;
    if (v == 0x404040) return BackgroundChoice::DarkGray;
    if (v == 0) return BackgroundChoice::Black;
    return BackgroundChoice::Default;
}

std::int64_t ValueOfChoice(BackgroundChoice choice)
{
    switch (choice) {
    case BackgroundChoice::LightGray: return 0xC0C0C0;
    case BackgroundChoice::DarkGray: return 0x404040;
    case BackgroundChoice::Black: return 0;
    case BackgroundChoice::Default: break;
    }
    return std::int64_t(std::int32_t(0x80000005u));
}

QColor ColourOfValue(double v, const QColor& windowColour)
{
    if (!std::isfinite(v)) return windowColour;
    // Read as the 32-bit value it is stored as: "-2147483643" and "&H80000005" are the same.
    const auto bits = std::uint32_t(std::int64_t(std::fmod(std::trunc(v), 4294967296.0)));
    if (bits & 0x80000000u) return windowColour;
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

bool IsShortIndex(const QString& maxframes) { return general::Val(maxframes) == 27000; }

bool SynchToAudio(const QString& streammaster)
{
    return streammaster.trimmed().toUpper() == "AUDIO";
}

QString LimitColours(const QString& text) { return Limited(text, 16, 256); }

QString PaletteColours() { return Get("palette", "numcolors", "256"); }

void SavePaletteColours(const QString& text) { Put("palette", "numcolors", text); }

QString StoredDriverIndex() { return Get("driver", "index", "0"); }

void SaveDriverIndex(int index) { Put("driver", "index", QString::number(index)); }

} // namespace capture
