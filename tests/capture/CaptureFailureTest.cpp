// Captures cut short: killed while it writes, or by a file that cannot grow any more. What was
// captured before stays playable.
#include "capture/mVFW.h"

#include "CaptureProbe.h"
#include "platform/camera/CameraDevices.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>


// A capture process killed with SIGKILL after some frames: ffmpeg decodes at least the frames it
// had reported.
TEST(CaptureCutShort, KilledCaptureStillDecodes)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "no ffmpeg";
    TempDir dir;
    const QString path = dir.file("killed.avi");
    QProcess child;
    child.start(KIVRA_CAPTURE_CHILD, {path});
    ASSERT_TRUE(child.waitForStarted(10000));
    const QRegularExpression progress("^510 Captured (\\d+) frames");
    int reported = 0;
    QByteArray pending;
    while (reported < 10 && child.state() == QProcess::Running && child.waitForReadyRead(20000)) {
        pending += child.readAllStandardOutput();
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const auto m = progress.match(QString::fromUtf8(pending.left(nl)));
            if (m.hasMatch()) reported = m.captured(1).toInt();
            pending.remove(0, nl + 1);
        }
    }
    ASSERT_GE(reported, 10) << "the capture did not run: " << child.readAllStandardError().toStdString();
    child.kill();   // SIGKILL
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_GE(DecodedFrames(path), reported);
}

// The capture file stops growing (here a file size limit; a full disk alike): the capture ends
// at once with a message saying why, and the frames before play.
TEST(CaptureCutShort, FileThatCannotGrowEndsTheCaptureWithAMessage)
{
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "no ffmpeg";
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    ScopedScriptedPrompts prompts;
    TempDir dir;
    std::vector<std::pair<int, QString>> reports;
    CaptureSession session;
    const CapWnd window = &session;
    ASSERT_TRUE(capFileSetCaptureFile(window, dir.file("limited.avi")));
    ASSERT_TRUE(capDriverConnect(window, int(cameras::List().size()) - 1));
    capSetCallbackOnStatus(window, [&](int number, const QString& text) { reports.emplace_back(number, text); });
    capSetCallbackOnError(window, [&](int number, const Outcome& outcome) { reports.emplace_back(number, outcome.message); });
    CaptureParameters p;
    p.requestMicroSecPerFrame = 33333;
    p.limitEnabled = 1;
    p.timeLimit = 10;
    capCaptureSetSetup(window, p);

    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 400 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool captured = capCaptureSequence(window);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(captured);

    CaptureSession::Status status;
    ASSERT_TRUE(capGetStatus(window, status));
    EXPECT_GT(status.currentVideoFrame, 2);
    EXPECT_LT(status.currentVideoFrame, 100) << "the capture went on";
    ASSERT_GE(reports.size(), 3u);
    const auto error = std::find_if(reports.begin(), reports.end(),
                                    [](const auto& r) { return r.first == caperror::WriteFailed; });
    ASSERT_NE(error, reports.end());
    EXPECT_TRUE(error->second.contains("could not be written")) << error->second.toStdString();
    EXPECT_TRUE(error->second.contains("What was captured until then is kept."));
    EXPECT_EQ(DecodedFrames(dir.file("limited.avi")), status.currentVideoFrame);
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
}
