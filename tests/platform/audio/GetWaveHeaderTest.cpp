// The spectrum's whole-file reading path: raw sample values, frame counts, the size question.
#include "platform/audio/GetWaveData.h"
#include "platform/audio/GetWaveHeader.h"
#include "platform/audio/WaveFile.h"
#include "support/TempDir.h"
#include "support/WavFixture.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

struct Asker {
    Answer answer = Answer::Abort;
    int asked = 0;
    QString prompt, title;
    std::function<Answer(const QString&, const QString&)> fn()
    {
        return [this](const QString& p, const QString& t) {
            ++asked;
            prompt = p;
            title = t;
            return answer;
        };
    }
};

} // namespace

TEST(GetWaveHeader, StereoSixteenBitRawValues)
{
    TempDir dir;
    // 10 frames: left = 1000 * k - 5000, right = -(left); 10 rounds down to 8 frames.
    std::vector<int> s;
    for (int k = 0; k < 10; ++k) { s.push_back(1000 * k - 5000); s.push_back(5000 - 1000 * k); }
    s[0] = -32768;
    ASSERT_TRUE(WriteWav(dir.file("s.wav"), {.channels = 2}, s));
    Asker ask;
    const WaveSamples w = GetWaveHeader(dir.file("s.wav"), ask.fn());
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(ask.asked, 0);
    EXPECT_EQ(w.frameCount, 8);
    ASSERT_EQ(w.first.size(), 9u);
    ASSERT_EQ(w.second.size(), 9u);
    EXPECT_EQ(w.first[0], -32768.0f);
    for (int k = 1; k < 8; ++k) {
        EXPECT_EQ(w.first[k], float(1000 * k - 5000));
        EXPECT_EQ(w.second[k], float(5000 - 1000 * k));
    }
    EXPECT_EQ(w.first[8], 0.0f);
    EXPECT_EQ(w.channelMode, "Stereo");
    EXPECT_EQ(w.sampleRate, 44100);
}

TEST(GetWaveHeader, MonoEightBitKeepsUnsignedValuesAndZeroSecondArray)
{
    TempDir dir;
    ASSERT_TRUE(WriteWav(dir.file("m.wav"), {.bitsPerSample = 8}, {0, 128, 255, 7, 9}));
    const WaveSamples w = GetWaveHeader(dir.file("m.wav"), {});
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.frameCount, 4);
    EXPECT_EQ(w.first, (std::vector<float>{0, 128, 255, 7, 0}));
    EXPECT_EQ(w.second, std::vector<float>(5, 0.0f));
    EXPECT_EQ(w.channelMode, "Mono");
}

TEST(GetWaveHeader, AsksAboveTheFrameLimitAndOnlyRetryGoesOn)
{
    TempDir dir;
    // 16-bit mono files of 2566000 and 2566001 frames of silence (sparse files).
    for (auto [name, frames] : {std::pair{"at.wav", 2566000}, {"over.wav", 2566001}}) {
        ASSERT_TRUE(WriteWav(dir.file(name), {.dataSizeField = 2 * frames}, {}));
        ASSERT_TRUE(QFile(dir.file(name)).resize(44 + 2 * frames));
    }

    Asker ask;
    EXPECT_TRUE(GetWaveHeader(dir.file("at.wav"), ask.fn()).ok);
    EXPECT_EQ(ask.asked, 0);

    for (Answer a : {Answer::Abort, Answer::Ignore}) {
        ask.answer = a;
        const WaveSamples w = GetWaveHeader(dir.file("over.wav"), ask.fn());
        EXPECT_FALSE(w.ok);
        EXPECT_TRUE(w.declined);
        EXPECT_TRUE(w.first.empty());
    }
    EXPECT_EQ(ask.asked, 2);
    EXPECT_EQ(ask.prompt,
              "Input data for FFT are too many !! Please select a portion smaller than2566000");
    EXPECT_EQ(ask.title, "Too many data for FFT");

    // Retry goes on and reads them all (the frame count rounded down to a multiple of 4).
    ask.answer = Answer::Retry;
    const WaveSamples w = GetWaveHeader(dir.file("over.wav"), ask.fn());
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(ask.asked, 3);
    EXPECT_EQ(w.frameCount, 2566000);
    EXPECT_EQ(w.first.size(), 2566001u);
}

TEST(GetWaveHeader, ReadsOnlyTheFramesTheFileHolds)
{
    TempDir dir;
    // The header promises 1000 frames, the file holds 13.
    std::vector<int> s(13);
    for (int i = 0; i < 13; ++i) s[i] = i + 1;
    ASSERT_TRUE(WriteWav(dir.file("cut.wav"), {.dataSizeField = 2000}, s));
    const WaveSamples w = GetWaveHeader(dir.file("cut.wav"), {});
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.frameCount, 12);
    EXPECT_EQ(w.first[11], 12.0f);
}

TEST(GetWaveHeader, FailuresCarryAnErrorNumber)
{
    TempDir dir;
    EXPECT_EQ(GetWaveHeader(dir.file("missing.wav"), {}).errorNumber, ENOENT);
    ASSERT_TRUE(WriteWav(dir.file("c3.wav"), {.channels = 3}, std::vector<int>(9, 0)));
    ASSERT_TRUE(WriteWav(dir.file("b12.wav"), {.bitsPerSample = 12}, std::vector<int>(9, 0)));
    for (const char* name : {"c3.wav", "b12.wav"}) {
        const WaveSamples w = GetWaveHeader(dir.file(name), {});
        EXPECT_FALSE(w.ok) << name;
        EXPECT_FALSE(w.declined);
        EXPECT_EQ(w.errorNumber, 0) << name;
    }
    QFile f(dir.file("cut.wav"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(MakeWav({}, {1, 2}).left(30));
    f.close();
    EXPECT_EQ(GetWaveHeader(dir.file("cut.wav"), {}).errorNumber, ENODATA);
}

TEST(GetWaveData, ReadsFromAPositionAndPadsPastTheEnd)
{
    TempDir dir;
    ASSERT_TRUE(WriteWav(dir.file("s.wav"), {.channels = 2}, {1, -1, 2, -2, 3, -3}));
    WaveFile file;
    ASSERT_EQ(file.Open(dir.file("s.wav")), 0);
    std::vector<float> a(5, 9.0f), b(5, 9.0f);
    // From the second frame (byte 45 + 4), four frames: two real, two past the end.
    GetWaveData(a, b, file, dir.file("s.wav"), 49, 4, 44100, 16, "Stereo");
    EXPECT_EQ(a, (std::vector<float>{2, 3, 0, 0, 9}));
    EXPECT_EQ(b, (std::vector<float>{-2, -3, 0, 0, 9}));
    // Mono reading leaves the second array alone.
    std::vector<float> c(2), d(2, 7.0f);
    GetWaveData(c, d, file, {}, 45, 2, 44100, 16, "Mono");
    EXPECT_EQ(c, (std::vector<float>{1, -1}));
    EXPECT_EQ(d, (std::vector<float>{7, 7}));
}

TEST(GetWaveData, EverySixteenBitValueComesThroughAcrossBlocks)
{
    // 300001 frames (more than one 1 MB block for stereo) cycling through every 16-bit value, so
    // both halves of each frame take the extremes, -1 and 0 in every position of the vector
    // steps; a second array shorter than the first; mono from an odd position on.
    TempDir dir;
    const int frames = 300001;
    std::vector<int> s(std::size_t(frames) * 2);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = int((i * 7919) % 65536) - 32768;
    ASSERT_TRUE(WriteWav(dir.file("all.wav"), {.channels = 2}, s));
    WaveFile file;
    ASSERT_EQ(file.Open(dir.file("all.wav")), 0);
    std::vector<float> left(s.size() / 2), right(s.size() / 2 - 5);
    GetWaveData(left, right, file, {}, 45, frames, 44100, 16, "Stereo");
    for (int k = 0; k < frames; ++k) {
        ASSERT_EQ(left[std::size_t(k)], float(s[std::size_t(2 * k)])) << "left " << k;
        if (k < frames - 5) {
            ASSERT_EQ(right[std::size_t(k)], float(s[std::size_t(2 * k + 1)])) << "right " << k;
        }
    }
    // The same bytes as mono samples, from the second sample on: 600001 of them.
    std::vector<float> mono(s.size() - 1), unused(1, 7.0f);
    GetWaveData(mono, unused, file, {}, 47, std::int32_t(mono.size()), 44100, 16, "Mono");
    for (std::size_t i = 0; i < mono.size(); ++i) ASSERT_EQ(mono[i], float(s[i + 1])) << "mono " << i;
    EXPECT_EQ(unused[0], 7.0f);
}
