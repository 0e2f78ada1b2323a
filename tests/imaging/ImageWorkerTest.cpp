// The worker processes: the same results as the pipeline run in the program, and a worker that
// crashes, hangs or runs out of memory costs one file, never the program.
#include "ImageFiles.h"
#include "support/Sanitizers.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/worker/BitmapTransfer.h"
#include "imaging/worker/ImageWorker.h"
#include "imaging/worker/ImageWorkerPool.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdint>

namespace {
class ImageWorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is missing";
        ASSERT_TRUE(MakePlasma(source, 48, 32));
    }
    PipelineJob job(const QString& path, bool save = true) const
    {
        PipelineJob j;
        j.inputPath = path;
        j.options.flipVertical = true;
        j.options.widthPixels = "24";
        j.options.heightPixels = "16";
        j.save = save;
        j.typeWord = "PNG";
        return j;
    }
    QString copyAs(const QString& name)
    {
        QFile::copy(source, dir.file(name));
        return dir.file(name);
    }

    TempDir dir;
    const QString source = dir.file("plasma.png");
};
}

TEST_F(ImageWorkerTest, AWorkerGivesWhatThePipelineGivesInTheProgram)
{
    ASSERT_FALSE(ImageWorker::Program().isEmpty()) << "the build has a worker program";
    ImageWorker worker;
    ImageWorker inProgram(QString{});
    const PipelineResult isolated = worker.run(job(source));
    const PipelineResult local = inProgram.run(job(source));
    ASSERT_EQ(isolated.status, PipelineResult::Status::Done) << isolated.error.toStdString();
    EXPECT_EQ(isolated.encoded.status, EncodedImage::Status::Encoded);
    EXPECT_EQ(isolated.encoded.bytes, local.encoded.bytes);
    EXPECT_EQ(isolated.loadedWidth, 48);

    const PipelineResult kept = worker.run(job(source, false));
    ASSERT_FALSE(kept.bitmap.isNull());
    EXPECT_EQ(PackBitmap(kept.bitmap), PackBitmap(inProgram.run(job(source, false)).bitmap));

    PipelineJob size = job(source);
    size.kind = PipelineJob::Kind::Size;
    const PipelineResult sized = worker.run(size);
    EXPECT_EQ(sized.status, PipelineResult::Status::Done);
    EXPECT_EQ(QSize(sized.loadedWidth, sized.loadedHeight), QSize(48, 32));
    EXPECT_TRUE(sized.bitmap.isNull());
}

TEST_F(ImageWorkerTest, ACrashOrAHangFailsThatFileAndTheNextOneWorks)
{
    ImageWorker worker(FAILING_IMAGE_WORKER, 4000);
    const QString crash = copyAs("abort-here.png");
    PipelineResult result = worker.run(job(crash));
    EXPECT_EQ(result.status, PipelineResult::Status::Failed);
    EXPECT_EQ(result.error, "The image library stopped while reading " + crash);
    EXPECT_EQ(worker.run(job(source)).status, PipelineResult::Status::Done);

    const QString hang = copyAs("hang-here.png");
    result = worker.run(job(hang));
    EXPECT_EQ(result.error, "The image took longer than 4 seconds to process: " + hang);
    EXPECT_EQ(worker.run(job(source)).status, PipelineResult::Status::Done);
}

TEST_F(ImageWorkerTest, APoolGivesEachTicketItsOwnResult)
{
    ImageWorkerPool pool(2, FAILING_IMAGE_WORKER, 4000);
    const QString crash = copyAs("abort-here.png");
    const QString hang = copyAs("hang-here.png");
    const int tickets[] = {pool.submit(job(source)), pool.submit(job(crash)), pool.submit(job(hang)),
                           pool.submit(job(source)), pool.submit(job(dir.file("missing.png")))};
    // Two run, three wait: the last may wait for the two before it and for itself.
    EXPECT_EQ(pool.waitLimitMs(tickets[0]), 4000 + ImageWorkerPool::WorkerStartMs);
    EXPECT_EQ(pool.waitLimitMs(tickets[4]), 2 * 4000 + ImageWorkerPool::WorkerStartMs);
    for (int t : tickets) EXPECT_TRUE(pool.waitFor(t).ok) << t;
    EXPECT_EQ(pool.waitFor(99).message, "No such image job");
    EXPECT_EQ(pool.take(tickets[0]).status, PipelineResult::Status::Done);
    EXPECT_EQ(pool.take(tickets[1]).error, "The image library stopped while reading " + crash);
    EXPECT_EQ(pool.take(tickets[2]).error, "The image took longer than 4 seconds to process: " + hang);
    EXPECT_EQ(pool.take(tickets[3]).status, PipelineResult::Status::Done);
    EXPECT_TRUE(pool.take(tickets[4]).error.startsWith("Cannot read the image file " + dir.file("missing.png")));
}

// A damaged icon, found by mutating files, on which the image library writes past its heap
// block: the worker may die of it, the program only reports the file. (Under AddressSanitizer
// the write lands in a red zone and the icon may load.)
TEST_F(ImageWorkerTest, AFileThatDamagesTheLibrarysMemoryIsOnlyReported)
{
    const QString hostile = QStringLiteral(KIVRA_TEST_DATA "/ico-heap-overflow.ico");
    ASSERT_TRUE(QFile::exists(hostile));
    ImageWorker worker;
    PipelineJob j = job(hostile);
    const PipelineResult result = worker.run(j);
    if (!kAddressSanitizer || result.status != PipelineResult::Status::Done) {
        EXPECT_EQ(result.status, PipelineResult::Status::Failed);
        EXPECT_TRUE(result.error.contains(hostile)) << result.error.toStdString();
    }
    EXPECT_EQ(worker.run(job(source)).status, PipelineResult::Status::Done);
}

namespace {
// A BMP file whose header claims width x height pixels of 24 bits and that holds one row.
QByteArray BmpClaiming(std::uint32_t width, std::uint32_t height)
{
    QByteArray header(54, '\0');
    auto put32 = [&header](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = char((v >> (8 * i)) & 0xff);
    };
    header[0] = 'B';
    header[1] = 'M';
    const std::uint32_t pitch = (width * 3 + 3) / 4 * 4;
    put32(2, 54 + pitch * height);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    header[26] = 1;
    header[28] = 24;
    put32(34, pitch * height);
    return header + QByteArray(int(pitch), '\x7f');
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value) : name_(name) { qputenv(name, value); }
    ~ScopedEnvironment() { qunsetenv(name_); }

private:
    const char* name_;
};
}

// An image whose header claims far more memory than the worker may take: that file fails with
// the library's reason, and the next file works. The cap is lowered so that the claim (432 MiB,
// which a worker without a cap would take and fill) stays small for the test machine.
TEST_F(ImageWorkerTest, AnImageClaimingMoreMemoryThanTheCapFailsOnlyThatFile)
{
    ScopedEnvironment cap("KIVRA_IMAGE_WORKER_MEMORY_MB", "256");
    const QString huge = dir.file("huge.bmp");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BmpClaiming(12000, 12000));
    file.close();

    ImageWorker worker;
    const PipelineResult result = worker.run(job(huge));
    EXPECT_EQ(result.status, PipelineResult::Status::Failed);
    EXPECT_TRUE(result.error.startsWith("Cannot read the image file " + huge)) << result.error.toStdString();
    EXPECT_EQ(worker.run(job(source)).status, PipelineResult::Status::Done);

    // A claim within the cap loads.
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(BmpClaiming(400, 300));
    file.close();
    EXPECT_EQ(worker.run(job(huge)).status, PipelineResult::Status::Done);
}
