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

WaveSamples GetWaveHeader(const QString& fileName,
                          const std::function<Answer(const QString&, const QString&)>& askTooMany)
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
    try {
        result.first.assign(std::size_t(frames) + 1, 0.0f);
        result.second.assign(std::size_t(frames) + 1, 0.0f);
    } catch (const std::bad_alloc&) {
        result.first = {};
        result.second = {};
        result.errorNumber = ENOMEM;
        return result;
    }
    GetWaveData(result.first, result.second, file, fileName, file.Position(), frames,
                h.sampleRate, h.format, result.channelMode);
    result.frameCount = frames;
    result.ok = true;
    return result;
}
