#include "capture/device/CaptureParameters.h"

#include <QtEndian>
#include <array>

namespace {
// The fields in record order.
std::array<std::int32_t CaptureParameters::*, 24> Fields()
{
    using P = CaptureParameters;
    return {&P::requestMicroSecPerFrame, &P::makeUserHitOKToCapture, &P::percentDropForError,
            &P::yield, &P::indexSize, &P::chunkGranularity, &P::usingDOSMemory,
            &P::numVideoRequested, &P::captureAudio, &P::numAudioRequested, &P::keyAbort,
            &P::abortLeftMouse, &P::abortRightMouse, &P::limitEnabled, &P::timeLimit,
            &P::mciControl, &P::stepMCIDevice, &P::mciStartTime, &P::mciStopTime,
            &P::stepCaptureAt2x, &P::stepCaptureAverageFrames, &P::audioBufferSize,
            &P::disableWriteCache, &P::avStreamMaster};
}
}

QByteArray CaptureParameters::toBytes() const
{
    QByteArray bytes(RecordSize, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    for (auto field : Fields()) {
        qToLittleEndian<qint32>(this->*field, p);
        p += 4;
    }
    return bytes;
}

std::optional<CaptureParameters> CaptureParameters::FromBytes(const QByteArray& bytes)
{
    if (bytes.size() < RecordSize) return std::nullopt;
    CaptureParameters out;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    for (auto field : Fields()) {
        out.*field = qFromLittleEndian<qint32>(p);
        p += 4;
    }
    return out;
}
