#include "platform/audio/WaveFormatEx.h"

#include <QtEndian>

WaveFormatEx WaveFormatEx::PcmOf(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits)
{
    WaveFormatEx f;
    f.formatTag = Pcm;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = bits;
    f.blockAlign = std::uint16_t(channels * (bits / 8));
    f.avgBytesPerSec = rate * f.blockAlign;
    f.extraSize = 0;
    return f;
}

WaveFormatEx WaveFormatEx::Pcm16(std::uint32_t rate, std::uint16_t channels)
{
    return PcmOf(rate, channels, 16);
}

bool WaveFormatEx::isRecordablePcm() const
{
    const bool bitsOk = bitsPerSample == 8 || bitsPerSample == 16 || bitsPerSample == 32;
    return formatTag == Pcm && bitsOk && (channels == 1 || channels == 2) &&
           samplesPerSec >= 1000 && samplesPerSec <= 384000 &&
           blockAlign == channels * (bitsPerSample / 8) &&
           avgBytesPerSec == samplesPerSec * blockAlign;
}

QByteArray WaveFormatEx::toBytes() const
{
    QByteArray b(RecordSize, '\0');
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<quint16>(formatTag, p);
    qToLittleEndian<quint16>(channels, p + 2);
    qToLittleEndian<quint32>(samplesPerSec, p + 4);
    qToLittleEndian<quint32>(avgBytesPerSec, p + 8);
    qToLittleEndian<quint16>(blockAlign, p + 12);
    qToLittleEndian<quint16>(bitsPerSample, p + 14);
    qToLittleEndian<quint16>(extraSize, p + 16);
    return b;
}

std::optional<WaveFormatEx> WaveFormatEx::FromBytes(const QByteArray& bytes)
{
    if (bytes.size() < 16) return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    WaveFormatEx f;
    f.formatTag = qFromLittleEndian<quint16>(p);
    f.channels = qFromLittleEndian<quint16>(p + 2);
    f.samplesPerSec = qFromLittleEndian<quint32>(p + 4);
    f.avgBytesPerSec = qFromLittleEndian<quint32>(p + 8);
    f.blockAlign = qFromLittleEndian<quint16>(p + 12);
    f.bitsPerSample = qFromLittleEndian<quint16>(p + 14);
    f.extraSize = bytes.size() >= 18 ? qFromLittleEndian<quint16>(p + 16) : 0;
    return f;
}
