#include "platform/audio/GetWaveHeader.h"

#include "platform/audio/GetWaveData.h"
#include "platform/audio/WaveFile.h"
#include "platform/audio/WaveHeader.h"
#include "text/LoadText.h"

#include <algorithm>
#include <cerrno>
#include <new>

QString FftTooManyPrompt()
{
    return LoadText(605) + " !! " + LoadText(606) + QString::number(FftFrameLimit);
}

QString FftTooManyTitle()
{
    return QStringLiteral("Too many data for FFT");
}

WaveSamples GetWaveHeader(const QString& fileName, const AskTooMany& askTooMany)
{
    WaveSamples result;
    WaveSamples read = GetWaveHeader(fileName, askTooMany, [&result](std::int32_t frames) -> std::optional<SampleArrays> {
        try {
            result.first.assign(std::size_t(frames) + 1, 0.0f);
            result.second.assign(std::size_t(frames) + 1, 0.0f);
        } catch (const std::bad_alloc&) {
            result.first = {};
            result.second = {};
            return std::nullopt;
        }
        return SampleArrays{result.first, result.second};
    });
    read.first = std::move(result.first);
    read.second = std::move(result.second);
    return read;
}

WaveSamples GetWaveHeader(const QString& fileName, const AskTooMany& askTooMany,
                          const SampleArraysFor& arraysFor)
{
    WaveSamples result;
    WaveFile file;
    if (const int error = file.Open(fileName)) {
        result.errorNumber = error;
        return result;
    }
    const WaveHeader h = WaveHeader::Read(file);
    switch (h.fault) {
    case WaveFault::None:
        break;
    case WaveFault::Truncated:
        result.errorNumber = ENODATA;
        return result;
    case WaveFault::FileNotOpened:
        result.errorNumber = h.systemError ? h.systemError : EIO;
        return result;
    default:
        result.errorNumber = 0;
        return result;
    }

    std::int32_t frames = h.FrameCount();
    if (frames > FftFrameLimit) {
        const Answer answer = askTooMany ? askTooMany(FftTooManyPrompt(), FftTooManyTitle())
                                         : Answer::Abort;
        if (answer != Answer::Retry) {
            result.declined = true;
            return result;
        }
    }

    // Frames the header promises beyond the end of the file are not read: a header cut short
    // by a broken copy would otherwise pad the transform with silence (and a corrupt size could
    // ask for gigabytes).
    const int frameBytes = h.channels * h.format.bytes();
    const std::int64_t held = std::max<std::int64_t>(0, file.Length() - h.dataStart + 1) / frameBytes;
    frames = std::int32_t(std::min<std::int64_t>(frames, held));
    frames -= frames % 4;

    result.sampleRate = h.sampleRate;
    result.bitsPerSample = h.bitsPerSample;
    result.channelMode = h.stereo() ? "Stereo" : "Mono";
    const std::optional<SampleArrays> arrays = arraysFor(frames);
    if (!arrays || arrays->first.size() < std::size_t(frames) + 1 ||
        arrays->second.size() < std::size_t(frames) + 1) {
        result.errorNumber = ENOMEM;
        return result;
    }
    const std::span<float> first = arrays->first.first(std::size_t(frames) + 1);
    const std::span<float> second = arrays->second.first(std::size_t(frames) + 1);
    GetWaveData(first, second, file, fileName, file.Position(), frames, h.sampleRate, h.format,
                result.channelMode);
    // The arrays may hold an earlier sound: what this one does not write is zero.
    first[std::size_t(frames)] = 0.0f;
    if (h.stereo())
        second[std::size_t(frames)] = 0.0f;
    else
        std::fill(second.begin(), second.end(), 0.0f);
    result.frameCount = frames;
    result.ok = true;
    return result;
}
