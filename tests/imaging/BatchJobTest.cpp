// The batch job: output names, the caption's progress, Escape between files, the report,
// overwriting originals safely, and results identical to processing one file at a time.
#include "ImageFiles.h"
#include "ImagingFixtures.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "imaging/pipeline/BatchJob.h"
#include "imaging/pipeline/ImageProcessor.h"
#include "imaging/worker/ImageWorkerPool.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

TEST(BatchNames, OutputNamesCaptionAndReport)
{
    EXPECT_EQ(BatchOutputName("a.b.jpg", "PNG"), "a.PNG");
    EXPECT_EQ(BatchOutputName("c.jpg", "PNG"), "c.PNG");
    EXPECT_EQ(BatchOutputName("noext", "PNG"), "noext.PNG");
    EXPECT_EQ(BatchOutputName(".hidden.jpg", "GIF"), ".hidden.jpg.GIF");
    EXPECT_EQ(BatchOutputName("a.b.jpg", "Use original type"), "a.b.jpg");
    EXPECT_EQ(BatchOutputName("a.b.jpg", "Select output file type"), "a.b.jpg");

    EXPECT_EQ(BatchProgressCaption(3, 6, 3), "Image procssing.. Completing50% (3 of 6 files)");
    EXPECT_EQ(BatchProgressCaption(2, 3, 1), "Image procssing.. Completing66% (1 of 3 files)");
    EXPECT_EQ(BatchReportText(2, 5, "/tmp/out/"),
              "2 o ut of  5images successfully converted into the folder: /tmp/out/");
}

namespace {
class BatchJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is missing";
        QDir(dir.path()).mkdir("in");
        hooks.caption = [this] { return caption; };
        hooks.setCaption = [this](const QString& c) {
            caption = c;
            captions << c;
        };
        hooks.report = [this](const Outcome& o) {
            messages << o.message;
            failed << !o.ok;
        };
        hooks.clearEscape = [this] { escapeAfter = escapeAfterNext; };
        hooks.escapeRequested = [this] { return escapeAfter > 0 && ++filesSeen >= escapeAfter; };
        hooks.ask = [this](const Outcome& question) {
            questions << question.message + " / " + question.title;
            return answer;
        };
        request.outputFolder = dir.file("out");
        request.outputType = "PNG";
        request.options.rescale = false;
    }

    QString in(const QString& name) const { return dir.file("in/" + name); }
    // Selects names of the "in" folder, as the multiple selection does.
    void select(const QStringList& names)
    {
        processor.state.batchfiles = QStringList{dir.file("in")} + names;
    }
    QStringList outputs() const
    {
        return QDir(dir.file("out")).entryList(QDir::Files, QDir::Name);
    }
    BatchSummary run() { return BatchJob(processor, pool).run(request, hooks); }

    TempDir dir;
    ImageProcessor processor;
    ImageWorkerPool pool{2};
    BatchRequest request;
    BatchHooks hooks;
    QString caption = "Image Processing";
    QStringList captions, messages, questions;
    QList<bool> failed;   // whether each message reported a failure
    int escapeAfterNext = 0, escapeAfter = 0, filesSeen = 0;
    Answer answer = Answer::Yes;
};
}

TEST_F(BatchJobTest, ThreeFilesToPngNamedAfterTheirFirstDot)
{
    ASSERT_TRUE(MakePlasma(in("a.b.jpg"), 32, 24, 1));
    ASSERT_TRUE(MakePlasma(in("c.jpg"), 32, 24, 2));
    ASSERT_TRUE(MakePlasma(in("noext.jpg"), 32, 24, 3));
    ASSERT_TRUE(QFile::rename(in("noext.jpg"), in("noext")));   // a JPEG with no extension
    select({"a.b.jpg", "c.jpg", "noext"});
    const BatchSummary summary = run();

    EXPECT_EQ(outputs(), QStringList({"a.PNG", "c.PNG", "noext.PNG"}));
    EXPECT_EQ(Identify(dir.file("out/noext.PNG"), "%m %w %h"), "PNG 32 24");
    EXPECT_EQ(summary.converted, 3);
    EXPECT_EQ(captions.value(captions.size() - 2), "Image procssing.. Completing100% (3 of 3 files)");
    EXPECT_EQ(caption, "Image Processing") << "the caption is restored";
    EXPECT_EQ(messages, QStringList{"3 o ut of  3images successfully converted into the folder: " +
                                    dir.file("out") + "/"});
    EXPECT_EQ(failed, QList<bool>{false}) << "the report of a batch that went through is no failure";
    EXPECT_FALSE(processor.state.saveresults);
}

TEST_F(BatchJobTest, OriginalTypeKeepsNamesAndAJpegNameIsNotSupported)
{
    ASSERT_TRUE(MakePlasma(in("one.jpg"), 32, 24, 1));
    ASSERT_TRUE(MakePlasma(in("two.jpeg"), 32, 24, 2));
    request.outputType = "Use original type";
    select({"one.jpg", "two.jpeg"});
    const BatchSummary summary = run();
    EXPECT_EQ(outputs(), QStringList{"one.jpg"});
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(messages, QStringList({"File type with extension  PEG is NOT supported!",
                                     "1 o ut of  2images successfully converted into the folder: " +
                                         dir.file("out") + "/"}));
}

TEST_F(BatchJobTest, EscapeAnsweredYesAfterFileTwoOfFiveStopsThere)
{
    QStringList names;
    for (int i = 1; i <= 5; ++i) {
        names << QString("f%1.png").arg(i);
        ASSERT_TRUE(MakePlasma(in(names.last()), 16, 12, i));
    }
    select(names);
    escapeAfterNext = 2;
    const BatchSummary summary = run();
    EXPECT_TRUE(summary.interrupted);
    EXPECT_EQ(summary.converted, 2);
    EXPECT_EQ(outputs(), QStringList({"f1.PNG", "f2.PNG"})) << "files handed ahead are never written";
    EXPECT_EQ(questions, QStringList{"Are you sure to abort the image processing? / Image processing interrupted"});
    EXPECT_EQ(messages, QStringList{"2 o ut of  5images successfully converted into the folder: " +
                                    dir.file("out") + "/"});
    EXPECT_EQ(caption, "Image Processing");

    // Answered No, the question comes again after each further file, the last one aside.
    questions.clear();
    answer = Answer::No;
    filesSeen = 0;
    EXPECT_EQ(run().converted, 5);
    EXPECT_EQ(questions.size(), 3);
}

TEST_F(BatchJobTest, FourHundredFilesRunToTheEnd)
{
    ASSERT_TRUE(MakePlasma(in("frame.png"), 24, 16));
    QStringList names;
    for (int i = 0; i < 400; ++i) {
        names << QString("frame%1.png").arg(i, 3, 10, QChar('0'));
        ASSERT_TRUE(QFile::copy(in("frame.png"), in(names.last())));
    }
    select(names);
    request.outputType = "JPG";
    const BatchSummary summary = run();
    EXPECT_EQ(summary.converted, 400);
    EXPECT_EQ(outputs().size(), 400);
    EXPECT_EQ(captions.value(captions.size() - 2), "Image procssing.. Completing100% (400 of 400 files)");
    EXPECT_EQ(captions.value(199), "Image procssing.. Completing50% (200 of 400 files)");
}

// Writing into the input folder with the original type replaces the originals, as users may
// want, but only with complete files: an original is never opened for writing (a second name
// for it keeps its bytes), and one that cannot be processed stays as it was.
TEST_F(BatchJobTest, OriginalsAreReplacedOnlyByCompleteFiles)
{
    ASSERT_TRUE(MakePlasma(in("good.png"), 32, 24, 1));
    ASSERT_TRUE(MakePlasma(in("bad.png"), 32, 24, 2));
    QFile bad(in("bad.png"));
    ASSERT_TRUE(bad.resize(100));
    const QByteArray goodBytes = [&] {
        QFile f(in("good.png"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_EQ(::link(QFile::encodeName(in("good.png")).constData(),
                     QFile::encodeName(dir.file("good-link.png")).constData()), 0);
    select({"good.png", "bad.png"});
    request.outputFolder = dir.file("in");
    request.outputType = "Use original type";
    request.options.flipHorizontal = true;
    const BatchSummary summary = run();

    EXPECT_EQ(summary.converted, 1);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith("Cannot read the image file " + in("bad.png")));
    QFile link(dir.file("good-link.png"));
    ASSERT_TRUE(link.open(QIODevice::ReadOnly));
    EXPECT_EQ(link.readAll(), goodBytes);
    EXPECT_EQ(QFile(in("bad.png")).size(), 100);
    ASSERT_TRUE(Convert({dir.file("good-link.png"), "-flop", dir.file("flopped.png")}));
    EXPECT_EQ(LargestDifference(Pixels(in("good.png")), Pixels(dir.file("flopped.png"))), 0);
}

// Files run side by side in the workers, yet each output is the one processimage writes for
// that file alone, also when a file's input is an earlier file's output.
TEST_F(BatchJobTest, OutputsAreThoseOfOneFileAtATime)
{
    QStringList names;
    for (int i = 1; i <= 6; ++i) {
        names << QString("p%1.jpg").arg(i);
        ASSERT_TRUE(MakePlasma(in(names.last()), 64, 48, i));
    }
    request.options.flipVertical = true;
    request.options.rescale = true;
    request.options.widthPercent = request.options.heightPercent = "50";
    select(names);
    processor.state.imagewidth = 1;   // no file has the reference size: percentages
    processor.state.imageheight = 1;
    ASSERT_EQ(run().converted, 6);

    ImageOptions one = request.options;
    one.batchRunning = true;
    one.referenceWidth = one.referenceHeight = 1;
    processor.state.saveresults = true;
    QDir().mkdir(dir.file("single"));
    for (const QString& name : names) {
        const QString out = BatchOutputName(name, "PNG");
        ASSERT_TRUE(processor.processimage(name, in(""), out, dir.file("single/"), one).written);
        QFile a(dir.file("out/" + out)), b(dir.file("single/" + out));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
    }

    // x.png becomes x.PNG, the next input: it must be read after it was written.
    ASSERT_TRUE(MakePlasma(in("x.png"), 16, 12, 1));
    ASSERT_TRUE(MakePlasma(in("x.PNG"), 16, 12, 2));
    const QImage first = Pixels(in("x.png"));
    request.outputFolder = dir.file("in");
    request.options = ImageOptions();
    request.options.rescale = false;
    request.options.flipHorizontal = true;
    select({"x.png", "x.PNG"});
    run();
    EXPECT_EQ(LargestDifference(Pixels(in("x.PNG")), first), 0) << "flipped twice";
}

TEST_F(BatchJobTest, NoFilesSelected)
{
    select({});
    run();
    processor.state.batchfiles = {in("only.jpg")};   // a single file chosen
    run();
    EXPECT_EQ(messages, QStringList({"No files selected! ", "No files selected! "}));
    EXPECT_EQ(failed, QList<bool>({true, true}));
    EXPECT_TRUE(captions.isEmpty());
}
