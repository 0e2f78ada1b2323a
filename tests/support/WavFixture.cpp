#include "WavFixture.h"

#include <QFile>
#include <QtEndian>
#include <cmath>

namespace {
void put32(QByteArray& b, uint32_t v) { char c[4]; qToLittleEndian(v, c); b.append(c, 4); }
void put16(QByteArray& b, uint16_t v) { char c[2]; qToLittleEndian(v, c); b.append(c, 2); }
}

QByteArray MakeWav(const WavShape& shape, const std::vector<int>& samples)
{
    const int bytesPerSample = shape.bitsPerSample / 8;
    QByteArray data;
    for (int s : samples) {
        if (bytesPerSample == 1)
            data.append(char(uint8_t(s)));
        else if (bytesPerSample == 2)
            put16(data, uint16_t(int16_t(s)));
        else {
            for (int i = 0; i < bytesPerSample; ++i) data.append(char((s >> (8 * i)) & 0xff));
        }
    }
    const int blockAlign = shape.blockAlign >= 0 ? shape.blockAlign : shape.channels * bytesPerSample;
    QByteArray fmt;
    put16(fmt, uint16_t(shape.formatTag));
    put16(fmt, uint16_t(shape.channels));
    put32(fmt, uint32_t(shape.sampleRate));
    put32(fmt, uint32_t(shape.sampleRate * blockAlign));
    put16(fmt, uint16_t(blockAlign));
    put16(fmt, uint16_t(shape.bitsPerSample));
    while (fmt.size() < shape.fmtChunkSize) fmt.append('\0');

    QByteArray body = "WAVE";
    body += "fmt ";
    put32(body, uint32_t(fmt.size()));
    body += fmt;
    body += shape.chunksBeforeData;
    body += "data";
    put32(body, shape.dataSizeField >= 0 ? uint32_t(shape.dataSizeField) : uint32_t(data.size()));
    body += data;

    QByteArray file = "RIFF";
    put32(file, uint32_t(body.size()));
    file += body;
    return file;
}

bool WriteWav(const QString& path, const WavShape& shape, const std::vector<int>& samples)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = MakeWav(shape, samples);
    return f.write(bytes) == bytes.size();
}

std::vector<int> Sine(int frames, int channels, double frequency, double amplitude,
                      int sampleRate, int bitsPerSample)
{
    std::vector<int> out;
    out.reserve(size_t(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2 * M_PI * frequency * i / sampleRate);
        const int s = bitsPerSample == 8 ? int(std::lround(128 + v)) : int(std::lround(v));
        for (int c = 0; c < channels; ++c) out.push_back(s);
    }
    return out;
}
