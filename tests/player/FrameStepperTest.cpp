// Frame finding against made-up timelines: a reader that decodes nothing, only hands out frames
// at given times and seeks the way demuxers do (to a key frame before the time, or after it).
#include "player/FrameStepper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

class TimelineReader : public FrameReader {
public:
    struct Counts {
        int seeks = 0;
        int pictures = 0;   // frames turned into RGB pictures
    };
    TimelineReader(std::vector<double> times, int keyEvery, Counts* counts, bool landsAfter = false)
        : times_(std::move(times)), keyEvery_(keyEvery), counts_(counts), landsAfter_(landsAfter)
    {
    }

    bool seek(double seconds) override
    {
        ++counts_->seeks;
        int key = 0;
        for (int i = 0; i < int(times_.size()) && seconds > 0; i += keyEvery_) {
            if (times_[size_t(i)] <= seconds) key = i;
            else if (landsAfter_ && i > 0) { key = i; break; }
        }
        next_ = key;
        return true;
    }

    std::optional<ReadFrame> next() override
    {
        if (next_ >= int(times_.size())) return std::nullopt;
        ReadFrame frame;
        frame.time = times_[size_t(next_)];
        frame.picture = FramePicture(std::make_shared<Picture>(next_, counts_));
        ++next_;
        return frame;
    }

private:
    // An 8 x 8 picture (256 bytes) filled with the frame's index, made when it is asked for.
    class Picture : public FramePicture::Source {
    public:
        Picture(int index, Counts* counts) : index_(index), counts_(counts) {}
        QImage image() const override
        {
            ++counts_->pictures;
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(QColor::fromRgb(QRgb(index_)));
            return picture;
        }
        std::size_t bytes() const override { return 256; }

    private:
        int index_;
        Counts* counts_;
    };

    std::vector<double> times_;
    int keyEvery_;
    Counts* counts_;
    bool landsAfter_;
    int next_ = 0;
};

// The index a frame of the reader above carries.
int IndexOf(const std::optional<DecodedFrame>& frame)
{
    return frame ? int(frame->picture.pixel(0, 0) & 0xFFFFFF) : -1;
}

std::vector<double> Steady(int count, double rate)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) times.push_back(i / rate);
    return times;
}

// The position the playback engine reports for a time: whole milliseconds.
double Reported(double seconds) { return std::round(seconds * 1000) / 1000; }

} // namespace

TEST(FrameStepper, StepsLandOnTheNeighbouringFrameAtWholeAndBrokenRatesAndVaryingSpacing)
{
    std::vector<double> varying;
    for (int i = 0; i < 200; ++i) varying.push_back(i * 0.04 + (i % 3) * 0.011);   // uneven gaps
    const std::vector<std::vector<double>> timelines = {Steady(200, 25), Steady(200, 30),
                                                        Steady(200, 30000.0 / 1001), varying};
    for (const auto& times : timelines) {
        TimelineReader::Counts counts;
        FrameStepper stepper(std::make_unique<TimelineReader>(times, 12, &counts));
        // From frame 50, as the engine reports its position, ten steps on and ten back.
        double position = Reported(times[50]);
        EXPECT_EQ(IndexOf(stepper.FrameAt(position)), 50);
        for (int i = 1; i <= 10; ++i) {
            const auto frame = stepper.Step(position, +1);
            ASSERT_EQ(IndexOf(frame), 50 + i) << "rate step " << i;
            EXPECT_DOUBLE_EQ(frame->time, times[size_t(50 + i)]);
            position = Reported(frame->time);
        }
        for (int i = 1; i <= 10; ++i) {
            const auto frame = stepper.Step(position, -1);
            ASSERT_EQ(IndexOf(frame), 60 - i);
            position = Reported(frame->time);
        }
        // A position inside a frame, not at its start, is that frame.
        EXPECT_EQ(IndexOf(stepper.FrameAt((times[70] + times[71]) / 2)), 70);
        EXPECT_EQ(IndexOf(stepper.Step((times[70] + times[71]) / 2, -1)), 69);
    }
}

TEST(FrameStepper, TheClipsEndsHoldTheirFrame)
{
    TimelineReader::Counts counts;
    const std::vector<double> times = Steady(30, 25);
    FrameStepper stepper(std::make_unique<TimelineReader>(times, 10, &counts));
    EXPECT_EQ(IndexOf(stepper.Step(0, -1)), 0);
    EXPECT_EQ(IndexOf(stepper.FrameAt(-1)), 0);
    EXPECT_EQ(IndexOf(stepper.Step(times.back(), +1)), 29);
    EXPECT_EQ(IndexOf(stepper.FrameAt(99)), 29);
    EXPECT_EQ(IndexOf(stepper.Step(0.04, -1)), 0);
}

TEST(FrameStepper, StepsWithinTheFramesDecodedCostNothingAndOneStepOnCostsOneFrame)
{
    TimelineReader::Counts counts;
    const std::vector<double> times = Steady(300, 25);
    FrameStepper stepper(std::make_unique<TimelineReader>(times, 50, &counts));
    ASSERT_EQ(IndexOf(stepper.FrameAt(times[120])), 120);   // decoded from key frame 100
    const int afterSeek = stepper.framesDecoded();
    EXPECT_EQ(counts.seeks, 1);
    double position = times[120];
    for (int i = 0; i < 20; ++i) position = stepper.Step(position, -1)->time;   // back to 100
    EXPECT_DOUBLE_EQ(position, times[100]);
    EXPECT_EQ(stepper.framesDecoded(), afterSeek);
    EXPECT_EQ(counts.seeks, 1);
    for (int i = 0; i < 30; ++i) position = stepper.Step(position, +1)->time;   // on to 130
    EXPECT_EQ(stepper.framesDecoded(), afterSeek + 9);   // 122..130: the frames past the run
    // One step back past the key frame decodes the group before it once, then nothing.
    position = times[100];
    EXPECT_EQ(IndexOf(stepper.Step(position, -1)), 99);
    const int afterBack = stepper.framesDecoded();
    EXPECT_EQ(IndexOf(stepper.Step(times[99], -1)), 98);
    EXPECT_EQ(stepper.framesDecoded(), afterBack);
}

TEST(FrameStepper, AStepBackFromAKeyFrameNotAtHandDecodesTheGroupBeforeOnceAndShowsOnlyItsFrame)
{
    TimelineReader::Counts counts;
    const std::vector<double> times = Steady(300, 25);
    FrameStepper stepper(std::make_unique<TimelineReader>(times, 50, &counts));
    // Paused on key frame 100 by the player: one seek, the group from key frame 50 decoded up to
    // the frame after 100 (which shows that 100 is the frame on show), one picture made.
    EXPECT_EQ(IndexOf(stepper.Step(Reported(times[100]), -1)), 99);
    EXPECT_EQ(counts.seeks, 1);
    EXPECT_EQ(stepper.framesDecoded(), 52);
    EXPECT_EQ(counts.pictures, 1);   // only the frame shown
    // The steps back through that group cost neither a seek nor a decoded frame.
    double position = times[99];
    for (int i = 98; i >= 50; --i) {
        const auto frame = stepper.Step(Reported(position), -1);
        ASSERT_EQ(IndexOf(frame), i);
        position = frame->time;
    }
    EXPECT_EQ(counts.seeks, 1);
    EXPECT_EQ(stepper.framesDecoded(), 52);
    // Back across key frame 50: the group before it, once.
    EXPECT_EQ(IndexOf(stepper.Step(Reported(position), -1)), 49);
    EXPECT_EQ(counts.seeks, 2);
    EXPECT_EQ(IndexOf(stepper.Step(Reported(times[49]), -1)), 48);
    EXPECT_EQ(counts.seeks, 2);
}

TEST(FrameStepper, ASmallMemoryBudgetStillFindsEveryFrame)
{
    TimelineReader::Counts counts;
    const std::vector<double> times = Steady(120, 25);
    // Room for three pictures: stepping back has to decode again from the key frame.
    FrameStepper stepper(std::make_unique<TimelineReader>(times, 40, &counts), 3 * 256);
    double position = times[79];
    for (int i = 1; i <= 45; ++i) {
        const auto frame = stepper.Step(position, -1);
        ASSERT_EQ(IndexOf(frame), 79 - i);
        position = frame->time;
    }
}

TEST(FrameStepper, SeeksThatLandAfterTheTimeBackOffUntilTheyReachIt)
{
    TimelineReader::Counts counts;
    const std::vector<double> times = Steady(400, 25);
    FrameStepper stepper(std::make_unique<TimelineReader>(times, 100, &counts, /*landsAfter=*/true));
    EXPECT_EQ(IndexOf(stepper.FrameAt(times[150])), 150);
    EXPECT_GT(counts.seeks, 1);
    EXPECT_EQ(IndexOf(stepper.Step(times[100], -1)), 99);
}

TEST(FrameStepper, RepeatedTimesArePassedByAndAnEmptyClipGivesNothing)
{
    TimelineReader::Counts counts;
    FrameStepper repeated(std::make_unique<TimelineReader>(std::vector<double>{0, 0.04, 0.04, 0.08}, 4, &counts));
    const auto next = repeated.Step(0.04, +1);
    ASSERT_TRUE(next);
    EXPECT_DOUBLE_EQ(next->time, 0.08);

    FrameStepper empty(std::make_unique<TimelineReader>(std::vector<double>{}, 1, &counts));
    EXPECT_FALSE(empty.FrameAt(0));
    EXPECT_FALSE(empty.Step(1, +1));
    FrameStepper none(nullptr);
    EXPECT_FALSE(none.Step(0, +1));
}
