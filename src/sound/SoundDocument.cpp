#include "sound/SoundDocument.h"

#include "general/General.h"
#include "sound/WaveFile.h"
#include "text/LoadText.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace {

QString Num(double value) { return general::NumText(value); }

// A label's number as a whole number of the given type; texts out of range saturate.
template <typename T>
T WholeOf(const QString& text)
{
    const double v = general::Round(general::Val(text));
    if (!(v >= double(std::numeric_limits<T>::min())))
        return std::numeric_limits<T>::min();
    if (v > double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(v);
}

} // namespace

SoundDocument::LoadResult SoundDocument::LoadFileData(WaveFile& file, const QString& path,
                                                      std::int16_t number)
{
    fileName = path;
    windowNumber = number;
    caption = LoadText(169) + " - (" + path + ")";
    Label1 = LoadText(476) + path;

    LoadResult result;
    const int openError = file.Open(path);
    if (openError != 0) {
        result.fault = WaveFault::FileNotOpened;
        result.systemError = openError;
        return result;
    }
    Label2 = LoadText(171) + ": " + Num(double(file.Length())) + " Bytes";
    Label3 = LoadText(170) + ": " + general::DateText(QFileInfo(path).lastModified());
    Label4 = "0";
    Label17 = "0";

    const WaveHeader h = WaveHeader::Read(file);
    result.fault = h.fault;
    const QString error = LoadText(402);

    // The labels are filled in reading order, so a rejected field leaves the earlier ones shown.
    if (h.fault == WaveFault::Channels) {
        Label9 = error;
        result.errorLabel = "Label9";
    } else if (h.channels == 1 || h.channels == 2) {
        Label9Tag = h.stereo() ? "Stereo" : "Mono";
        Label9 = LoadText(h.stereo() ? 400 : 401);
        Label8 = Num(h.sampleRate);
        Label12 = Num(h.blockAlign);
        if (h.fault == WaveFault::BitsPerSample) {
            Label10 = error;
            result.errorLabel = "Label10";
        } else {
            Label10 = Num(h.bitsPerSample) + " bits";
        }
        if (h.fault == WaveFault::SampleRate) {
            Label8 = error;
            result.errorLabel = "Label8";
        } else if (h.fault == WaveFault::BlockAlign) {
            Label12 = error;
            result.errorLabel = "Label12";
        }
    }
    if (!h.ok()) {
        file.Close();
        return result;
    }

    Label13 = Num(h.dataSize);
    Label11 = Num(h.dataStart);
    Label11Tag.clear();

    const std::int32_t total = h.FrameCount();
    Label6_0 = Num(total);
    Label6_1 = Label6_0;
    const double duration = double(total) / double(h.sampleRate);
    Label15_0 = Num(duration);
    Label15_1 = Label15_0;
    Label14 = LoadText(403) + Num(general::Round(duration * 100000.0) / 100000.0) + LoadText(404);

    selectionStartTicks = 0;
    // Whole ticks of 10 microseconds, in 64 bits: a 32-bit count would overflow on sounds
    // longer than about six hours.
    selectionEndTicks = std::int64_t(std::floor(duration * 100000.0));
    return result;
}

void SoundDocument::InitStart()
{
    caption.clear();
    selectionStartTicks = 0;
    loaded = false;
    for (QString* label : {&Label1, &Label2, &Label3, &Label6_0, &Label6_1, &Label8, &Label9,
                           &Label10, &Label11, &Label12, &Label13, &Label14})
        label->clear();
}

std::vector<std::pair<QString, QString>> SoundDocument::LabelTexts() const
{
    return {{"Label1", Label1},   {"Label2", Label2},     {"Label3", Label3},
            {"Label4", Label4},   {"Label6_0", Label6_0}, {"Label6_1", Label6_1},
            {"Label8", Label8},   {"Label9", Label9},     {"Label10", Label10},
            {"Label11", Label11}, {"Label12", Label12},   {"Label13", Label13},
            {"Label14", Label14}, {"Label15_0", Label15_0}, {"Label15_1", Label15_1},
            {"Label17", Label17}};
}

std::int32_t SoundDocument::sampleRate() const { return WholeOf<std::int32_t>(Label8); }
std::int16_t SoundDocument::blockAlign() const { return WholeOf<std::int16_t>(Label12); }
std::int16_t SoundDocument::bitsPerSample() const { return WholeOf<std::int16_t>(Label10); }
std::int32_t SoundDocument::dataSize() const { return WholeOf<std::int32_t>(Label13); }
std::int32_t SoundDocument::dataStart() const { return WholeOf<std::int32_t>(Label11); }
std::int32_t SoundDocument::totalSamples() const { return WholeOf<std::int32_t>(Label6_0); }
std::int32_t SoundDocument::viewSamples() const { return WholeOf<std::int32_t>(Label6_1); }
double SoundDocument::totalDuration() const { return general::Val(Label15_0); }
double SoundDocument::viewDuration() const { return general::Val(Label15_1); }
std::int32_t SoundDocument::viewStartSample() const { return WholeOf<std::int32_t>(Label17); }
std::int64_t SoundDocument::viewStartTicks() const { return WholeOf<std::int64_t>(Label4); }
std::int32_t SoundDocument::columnTableBase() const { return WholeOf<std::int32_t>(Label11Tag); }

void SoundDocument::setViewStartTicks(std::int64_t ticks) { Label4 = Num(ticks); }
void SoundDocument::setViewSamples(std::int32_t samples) { Label6_1 = Num(samples); }
void SoundDocument::setViewDuration(double seconds) { Label15_1 = Num(seconds); }
void SoundDocument::setViewStartSample(std::int32_t sample) { Label17 = Num(sample); }
void SoundDocument::setColumnTableBase(std::int32_t frame) { Label11Tag = Num(frame); }
