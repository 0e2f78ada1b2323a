#include "sound/SoundDocument.h"

#include "general/General.h"
#include "platform/audio/WaveFile.h"
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
    fileNameText = LoadText(476) + path;

    LoadResult result;
    const int openError = file.Open(path);
    if (openError != 0) {
        result.fault = WaveFault::FileNotOpened;
        result.systemError = openError;
        WaveHeader unopened;
        unopened.fault = WaveFault::FileNotOpened;
        unopened.systemError = openError;
        result.detail = WaveFaultDetail(unopened);
        return result;
    }
    sizeText = LoadText(171) + ": " + Num(double(file.Length())) + " Bytes";
    modifiedText = LoadText(170) + ": " + general::DateText(QFileInfo(path).lastModified());
    viewStartTicksText = "0";
    viewStartSampleText = "0";

    const WaveHeader h = WaveHeader::Read(file);
    result.fault = h.fault;
    const QString error = LoadText(402);

    // The labels are filled in reading order, so a rejected field leaves the earlier ones shown.
    if (h.fault == WaveFault::Channels) {
        channelsText = error;
        result.errorLabel = "Label9";
    } else if (h.channels == 1 || h.channels == 2) {
        channelModeTag = h.stereo() ? "Stereo" : "Mono";
        channelsText = LoadText(h.stereo() ? 400 : 401);
        sampleRateText = Num(h.sampleRate);
        blockAlignText = Num(h.blockAlign);
        if (h.fault == WaveFault::BitsPerSample || h.fault == WaveFault::Compressed) {
            bitsText = error;
            result.errorLabel = "Label10";
        } else {
            bitsText = Num(h.bitsPerSample) + " bits";
            if (h.format.floating()) bitsText += " " + LoadText(790);
        }
        if (h.fault == WaveFault::SampleRate) {
            sampleRateText = error;
            result.errorLabel = "Label8";
        } else if (h.fault == WaveFault::BlockAlign) {
            blockAlignText = error;
            result.errorLabel = "Label12";
        }
    }
    if (h.fault == WaveFault::TooManyFrames) {
        dataSizeText = error;
        result.errorLabel = "Label13";
    }
    if (!h.ok()) {
        result.detail = WaveFaultDetail(h);
        file.Close();
        return result;
    }
    sampleFormat = h.format;
    rf64 = h.rf64;

    dataSizeText = Num(h.dataSize);
    dataStartText = Num(h.dataStart);
    columnTableBaseTag.clear();

    const std::int32_t total = h.FrameCount();
    totalSamplesText = Num(total);
    viewSamplesText = totalSamplesText;
    const double duration = double(total) / double(h.sampleRate);
    totalDurationText = Num(duration);
    viewDurationText = totalDurationText;
    durationText = LoadText(403) + Num(general::Round(duration * 100000.0) / 100000.0) + LoadText(404);

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
    sampleFormat = {};
    rf64 = false;
    for (QString* label : {&fileNameText, &sizeText, &modifiedText, &totalSamplesText, &viewSamplesText, &sampleRateText, &channelsText,
                           &bitsText, &dataStartText, &blockAlignText, &dataSizeText, &durationText})
        label->clear();
}

std::vector<std::pair<QString, QString>> SoundDocument::LabelTexts() const
{
    return {{"Label1", fileNameText},   {"Label2", sizeText},     {"Label3", modifiedText},
            {"Label4", viewStartTicksText},   {"Label6_0", totalSamplesText}, {"Label6_1", viewSamplesText},
            {"Label8", sampleRateText},   {"Label9", channelsText},     {"Label10", bitsText},
            {"Label11", dataStartText}, {"Label12", blockAlignText},   {"Label13", dataSizeText},
            {"Label14", durationText}, {"Label15_0", totalDurationText}, {"Label15_1", viewDurationText},
            {"Label17", viewStartSampleText}};
}

std::int32_t SoundDocument::sampleRate() const { return WholeOf<std::int32_t>(sampleRateText); }
std::int16_t SoundDocument::blockAlign() const { return WholeOf<std::int16_t>(blockAlignText); }
std::int16_t SoundDocument::bitsPerSample() const { return WholeOf<std::int16_t>(bitsText); }
std::int64_t SoundDocument::dataSize() const { return WholeOf<std::int64_t>(dataSizeText); }
std::int32_t SoundDocument::dataStart() const { return WholeOf<std::int32_t>(dataStartText); }
std::int32_t SoundDocument::totalSamples() const { return WholeOf<std::int32_t>(totalSamplesText); }
std::int32_t SoundDocument::viewSamples() const { return WholeOf<std::int32_t>(viewSamplesText); }
double SoundDocument::totalDuration() const { return general::Val(totalDurationText); }
double SoundDocument::viewDuration() const { return general::Val(viewDurationText); }
std::int32_t SoundDocument::viewStartSample() const { return WholeOf<std::int32_t>(viewStartSampleText); }
std::int64_t SoundDocument::viewStartTicks() const { return WholeOf<std::int64_t>(viewStartTicksText); }
std::int32_t SoundDocument::columnTableBase() const { return WholeOf<std::int32_t>(columnTableBaseTag); }

void SoundDocument::setViewStartTicks(std::int64_t ticks) { viewStartTicksText = Num(ticks); }
void SoundDocument::setViewSamples(std::int32_t samples) { viewSamplesText = Num(samples); }
void SoundDocument::setViewDuration(double seconds) { viewDurationText = Num(seconds); }
void SoundDocument::setViewStartSample(std::int32_t sample) { viewStartSampleText = Num(sample); }
void SoundDocument::setColumnTableBase(std::int32_t frame) { columnTableBaseTag = Num(frame); }
