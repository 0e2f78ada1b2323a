#pragma once
// Writes WAV files for tests, including deliberately odd ones (extra chunks, odd fmt sizes,
// wrong counts), so each test states exactly what its file holds.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct WavShape {
    int channels = 1;
    int sampleRate = 44100;
    int bitsPerSample = 16;
    int formatTag = 1;
    int fmtChunkSize = 16;             // 16, 18 or 40; extra bytes are zeros
    int blockAlign = -1;               // -1: channels * bits / 8
    QByteArray chunksBeforeData;       // raw chunks placed between "fmt " and "data"
    int64_t dataSizeField = -1;        // -1: the true size; otherwise written as is (32 bits)
};

// Samples are interleaved frames: 16-bit values as signed, 8-bit values as 0..255.
QByteArray MakeWav(const WavShape& shape, const std::vector<int>& samples);
bool WriteWav(const QString& path, const WavShape& shape, const std::vector<int>& samples);
// A sine of the given amplitude and frequency, frames * channels interleaved samples
// (both channels alike); 8-bit sines are centred on 128.
std::vector<int> Sine(int frames, int channels, double frequency, double amplitude,
                      int sampleRate = 44100, int bitsPerSample = 16);
