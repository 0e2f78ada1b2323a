// The capture session's preview widget: it paints the session's picture fitted to its size with
// the printed text, and a click on it ends a capture the session runs.
#include "capture/device/CapturePreview.h"
#include "capture/mVFW.h"

#include "CaptureProbe.h"
#include "PatternReader.h"
#include "platform/camera/CameraDevices.h"
#include "support/TempDir.h"
#include "support/TimeScale.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
class CapturePreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("KIVRA_VIRTUAL_DEVICES", "1");
        ASSERT_TRUE(capFileSetCaptureFile(&session, dir.file("capture.avi")));
        ASSERT_TRUE(capDriverConnect(&session, int(cameras::List().size()) - 1));
        preview.resize(320, 240);
        preview.show();
        ASSERT_TRUE(capPreview(&session, true));
        ASSERT_TRUE(QTest::qWaitFor([this] { return session.framesReceived() >= 3; }, Slack(5000)));
    }
    void TearDown() override { qunsetenv("KIVRA_VIRTUAL_DEVICES"); }

    TempDir dir;
    CaptureSession session;
    CapturePreview preview{&session};
};
} // namespace

// A grabbed 640 × 480 frame in a 320 × 240 preview: the whole picture at half size; a printed
// text changes the top-left corner only.
TEST_F(CapturePreviewTest, PaintsThePictureFittedWithThePrintedText)
{
    ASSERT_TRUE(capGrabFrame(&session));
    const QImage picture = session.picture();
    ASSERT_EQ(picture.size(), QSize(640, 480));
    const QImage plain = preview.grab().toImage();
    ASSERT_EQ(plain.size(), QSize(320, 240));
    const QImage half = picture.scaled(320, 240, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QPoint p : {QPoint(40, 200), QPoint(160, 120), QPoint(300, 20)})
        EXPECT_NEAR(qGray(plain.pixel(p)), qGray(half.pixel(p)), 24) << p.x() << "," << p.y();
    session.printText("2026-05-04 10:11:12");
    const QImage printed = preview.grab().toImage();
    int changed = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 60; ++x) changed += printed.pixel(x, y) != plain.pixel(x, y);
    EXPECT_GT(changed, 100);
    EXPECT_EQ(printed.copy(0, 40, 320, 200), plain.copy(0, 40, 320, 200));
}

// A click of the left mouse button ends a capture without a time limit; the file is whole.
TEST_F(CapturePreviewTest, MouseButtonEndsTheCapture)
{
    CaptureParameters p;
    p.requestMicroSecPerFrame = 100000;
    p.yield = 0;
    ASSERT_TRUE(capCaptureSetSetup(&session, p));
    int summaries = 0;
    capSetCallbackOnStatus(&session, [&](int number, const QString&) {
        if (number == capstatus::SummaryVideoOnly) ++summaries;
    });
    QTimer::singleShot(700, &preview, [this] { QTest::mouseClick(&preview, Qt::LeftButton); });
    ASSERT_TRUE(capCaptureSequence(&session));
    const int frames = ProbeStream(capFileGetCaptureFile(&session), "v:0").value("nb_read_frames").toInt();
    EXPECT_GE(frames, 4);
    EXPECT_LE(frames, 12);
    EXPECT_EQ(summaries, 1);
}
