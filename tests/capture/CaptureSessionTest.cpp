// The capture session on the built-in test-pattern camera, without any widget: the real capture
// path from the camera's video sink to the files, driven through the wrappers the capture tools
// use.
#include "capture/mVFW.h"

#include "CaptureProbe.h"
#include "PatternReader.h"
#include "platform/camera/CameraDevices.h"
#include "platform/camera/TestPatternCamera.h"
#include "platform/dsp/Fft.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/Tools.h"

#include "text/LoadText.h"
#include "support/TimeScale.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCameraDevice>
#include <QClipboard>
#include <QFileInfo>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class CaptureSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("KIVRA_VIRTUAL_DEVICES", "1");
        window = std::make_unique<CaptureSession>();
        ASSERT_TRUE(capFileSetCaptureFile(window.get(), dir.file("capture.avi")));
        virtualIndex = int(cameras::List().size()) - 1;
        capSetCallbackOnStatus(window.get(), [this](int number, const QString& text) { reports.emplace_back(number, text); });
        capSetCallbackOnError(window.get(), [this](int number, const Outcome& outcome) {
            EXPECT_FALSE(outcome.ok);
            reports.emplace_back(number, outcome.message);
        });
    }
    void TearDown() override
    {
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 0) << "the session makes no widget";
        window.reset();
        qunsetenv("KIVRA_VIRTUAL_DEVICES");
    }

    void connectCamera()
    {
        ASSERT_TRUE(capDriverConnect(window.get(), virtualIndex));
        ASSERT_TRUE(capPreview(window.get(), true));
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->framesReceived() >= 3; }, Slack(5000)));
    }

    CaptureParameters parameters(int fps, int limitSeconds, bool audio)
    {
        CaptureParameters p;
        p.requestMicroSecPerFrame = int(std::lround(1e6 / fps));
        p.limitEnabled = limitSeconds > 0;
        p.timeLimit = limitSeconds;
        p.captureAudio = audio;
        p.yield = 0;
        return p;
    }

    QString reportsOf(int number) const
    {
        QStringList texts;
        for (const auto& [n, text] : reports)
            if (n == number) texts << text;
        return texts.join("|");
    }

    TempDir dir;
    ScopedScriptedPrompts prompts;
    std::unique_ptr<CaptureSession> window;
    // What the status and error handlers received.
    std::vector<std::pair<int, QString>> reports;
    int virtualIndex = -1;
};

// The strongest frequency of 16-bit mono sound, by the spectrum window's own transform.
double PeakFrequency(const QByteArray& pcm, int rate)
{
    const int n = int(pcm.size() / 2);
    std::vector<float> re(static_cast<size_t>(n)), im(static_cast<size_t>(n), 0.0f);
    for (int i = 0; i < n; ++i) re[size_t(i)] = qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
    std::int32_t nfft = 0;
    spectrum::fft(re.data(), im.data(), n, nfft);
    int best = 1;
    double bestMagnitude = 0;
    for (int k = 1; k < nfft / 2; ++k) {
        const double m = std::hypot(re[size_t(k)], im[size_t(k)]);
        if (m > bestMagnitude) {
            bestMagnitude = m;
            best = k;
        }
    }
    return double(best) * rate / nfft;
}

} // namespace

TEST_F(CaptureSessionTest, TestPatternCameraIsListedOnlyWhenAskedFor)
{
    QString name, version;
    ASSERT_TRUE(capGetDriverDescription(virtualIndex, name, version));
    EXPECT_EQ(name, LoadText(635));
    EXPECT_FALSE(capGetDriverDescription(virtualIndex + 1, name, version));
    qunsetenv("KIVRA_VIRTUAL_DEVICES");
    EXPECT_EQ(cameras::List().size(), QMediaDevices::videoInputs().size());
    EXPECT_FALSE(capGetDriverDescription(virtualIndex, name, version) && name == LoadText(635));
    EXPECT_FALSE(capDriverConnect(window.get(), virtualIndex) && window->driverIndex() == virtualIndex &&
                 name == LoadText(635));
}

TEST_F(CaptureSessionTest, TestPatternCameraSendsThePatternPictureInItsOwnColours)
{
    // Drawn straight into the video frame's memory: the same pixels, red still red.
    const QDateTime clock = QDateTime::currentDateTime();
    const QVideoFrame frame = TestPatternCamera::Picture({320, 240}, 77, clock, 0.25);
    ASSERT_TRUE(frame.isValid());
    EXPECT_EQ(frame.size(), QSize(320, 240));
    EXPECT_EQ(frame.toImage().convertToFormat(QImage::Format_RGB32), testpattern::Frame({320, 240}, 77, clock, 0.25));
}

TEST_F(CaptureSessionTest, ConnectedCameraPreviewsAndReportsWhatItHas)
{
    EXPECT_FALSE(capGetStatus(window.get(), *std::make_unique<CaptureSession::Status>()));
    connectCamera();
    CaptureSession::DriverCaps caps;
    ASSERT_TRUE(capDriverGetCaps(window.get(), caps));
    EXPECT_TRUE(caps.hasDlgVideoFormat);
    EXPECT_TRUE(caps.hasDlgVideoSource);
    EXPECT_FALSE(caps.hasOverlay);
    EXPECT_FALSE(caps.hasDlgVideoDisplay);
    EXPECT_FALSE(capOverlay(window.get(), true));
    EXPECT_FALSE(capDlgVideoDisplay(window.get()));

    CaptureSession::Status status;
    ASSERT_TRUE(capGetStatus(window.get(), status));
    EXPECT_EQ(status.imageWidth, 640);
    EXPECT_EQ(status.imageHeight, 480);
    EXPECT_TRUE(status.liveWindow);
    // Preview shows new pictures as they come.
    QSignalSpy shown(window.get(), &CaptureSession::pictureShown);
    ASSERT_TRUE(shown.wait(3000));
    const long long first = PatternCounter(window->picture());
    ASSERT_TRUE(QTest::qWaitFor([&] { return PatternCounter(window->picture()) > first; }, Slack(3000)));
    EXPECT_TRUE(capDriverDisconnect(window.get()));
    EXPECT_FALSE(capDriverDisconnect(window.get()));
}

// A grabbed frame stays in the window (preview stops) and is what Save and Copy give: the
// pattern's counter can be read from the saved bitmap.
TEST_F(CaptureSessionTest, GrabbedFrameIsSavedAsBitmapAndCopied)
{
    EXPECT_FALSE(capGrabFrame(window.get())) << "no camera yet";
    connectCamera();
    ASSERT_TRUE(capGrabFrame(window.get()));
    EXPECT_FALSE(window->previewing());
    const long long counter = PatternCounter(window->picture());
    ASSERT_GE(counter, 3);
    QTest::qWait(200);   // more pictures arrive; the window keeps the grabbed one
    EXPECT_EQ(PatternCounter(window->picture()), counter);

    const QString bmp = dir.file("frame.bmp");
    ASSERT_TRUE(capFileSaveDIB(window.get(), bmp));
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), "BM");
    const QImage saved(bmp);
    EXPECT_EQ(saved.size(), QSize(640, 480));
    EXPECT_EQ(PatternCounter(saved), counter);
    // A camera picture's bitmap is 24-bit, without an alpha channel.
    ASSERT_TRUE(file.seek(28));
    EXPECT_EQ(qFromLittleEndian<quint16>(file.read(2).constData()), 24) << "bits per pixel";
    if (ToolAvailable("identify")) {
        // (A bitmap with the plain Windows 3 header reads as "BMP3".)
        const ToolResult r = RunTool("identify", {"-format", "%m %wx%h %[channels]", bmp});
        EXPECT_TRUE(QRegularExpression("^BMP3? 640x480 srgb$").match(r.output.trimmed()).hasMatch())
            << r.output.toStdString();
    }
    EXPECT_FALSE(capFileSaveDIB(window.get(), dir.file("no/folder/frame.bmp")));

    ASSERT_TRUE(capEditCopy(window.get()));
    EXPECT_EQ(PatternCounter(QApplication::clipboard()->image()), counter);
}

// A grabbed frame stops the preview, but single-frame capture shows each frame it takes (the one
// written to the file), and the window stays without preview afterwards.
TEST_F(CaptureSessionTest, SingleFramesShowWhatTheyCaptureWithPreviewOff)
{
    connectCamera();
    ASSERT_TRUE(capGrabFrame(window.get()));
    const long long grabbed = PatternCounter(window->picture());
    ASSERT_GE(grabbed, 0);
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(10, 0, false)));
    ASSERT_TRUE(capCaptureSingleFrameOpen(window.get()));
    ASSERT_TRUE(capCaptureSingleFrame(window.get()));
    const long long first = PatternCounter(window->picture());
    EXPECT_GT(first, grabbed);
    ASSERT_TRUE(capCaptureSingleFrame(window.get()));
    const long long second = PatternCounter(window->picture());
    EXPECT_GT(second, first);
    ASSERT_TRUE(capCaptureSingleFrameClose(window.get()));
    EXPECT_FALSE(window->previewing());
    EXPECT_EQ(PatternCounter(DecodedPicture(capFileGetCaptureFile(window.get()), 1)), second);
}

// Two seconds at 15 frames a second with sound from the sine source (through the one audio
// input): about 30 frames at 15 fps, as many as the session counted, and two seconds of PCM sound
// whose spectrum peaks at 440 Hz; the reports give progress, then the summary.
TEST_F(CaptureSessionTest, SequenceCaptureWithSoundFromTheSineSource)
{
    if (QMediaDevices::defaultAudioInput().isNull()) GTEST_SKIP() << "no sound input (start-audio.sh)";
    connectCamera();
    ASSERT_TRUE(capSetAudioFormat(window.get(), WaveFormatEx::Pcm16(22050, 1)));
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(15, 2, true)));
    ASSERT_TRUE(capCaptureSequence(window.get()));
    EXPECT_FALSE(window->capturing());

    CaptureSession::Status status;
    ASSERT_TRUE(capGetStatus(window.get(), status));
    const QString path = capFileGetCaptureFile(window.get());
    const auto v = ProbeStream(path, "v:0");
    EXPECT_EQ(v.value("codec_name"), "mjpeg");
    EXPECT_EQ(v.value("r_frame_rate"), "1000000/66667");
    EXPECT_GT(status.currentVideoFrame, 0);
    EXPECT_EQ(v.value("nb_read_frames").toInt(), int(status.currentVideoFrame));
    const auto a = ProbeStream(path, "a:0");
    EXPECT_EQ(a.value("codec_name"), "pcm_s16le");
    EXPECT_EQ(a.value("sample_rate"), "22050");
    const QByteArray sound = DecodedSound(path);
    EXPECT_NEAR(sound.size() / 2 / 22050.0, 2.0, 0.25);
    EXPECT_EQ(status.currentWaveSamples, sound.size() / 2);
    EXPECT_NEAR(PeakFrequency(sound, 22050), 440.0, 2.0);

    EXPECT_TRUE(reportsOf(capstatus::Progress).startsWith("Captured 0 frames"));
    const QString summary = reportsOf(capstatus::SummaryWithAudio);
    EXPECT_TRUE(summary.contains("audio bytes (22050 sps)")) << summary.toStdString();
    EXPECT_EQ(reports.back().first, capstatus::End);
    // Each period of 15 a second is either filled or counted as dropped. A camera at 30 frames a
    // second fills every one (a busy machine may miss one); a checked build, several times
    // slower at encoding, drops more of them and its last frame may come a period early.
    EXPECT_NEAR(double(status.currentVideoFrame + status.currentVideoFramesDropped), 30, 3);
    if (TimeScale() == 1) {
        EXPECT_TRUE(summary.startsWith("Captured 2.0")) << summary.toStdString();
        EXPECT_LE(status.currentVideoFramesDropped, 2);
    } else {
        EXPECT_TRUE(summary.startsWith("Captured 2.0") || summary.startsWith("Captured 1.9"))
            << summary.toStdString();
        EXPECT_GE(status.currentVideoFrame, 5);
    }
}

TEST_F(CaptureSessionTest, AskedToConfirmTheCaptureCanBeCancelled)
{
    connectCamera();
    CaptureParameters p = parameters(15, 1, false);
    p.makeUserHitOKToCapture = 1;
    ASSERT_TRUE(capCaptureSetSetup(window.get(), p));
    EXPECT_FALSE(capCaptureSequence(window.get())) << "nobody to ask: declined";
    EXPECT_TRUE(prompts->messages().isEmpty());
    window->setAsk(AskThroughPrompts());
    prompts->QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(capCaptureSequence(window.get()));
    EXPECT_FALSE(QFileInfo::exists(capFileGetCaptureFile(window.get())));
    ASSERT_EQ(prompts->messages().size(), 1);
    EXPECT_TRUE(prompts->messages()[0].contains(QDir::toNativeSeparators(dir.file("capture.avi"))));
}

// Single frames at the set frame rate; each one a new picture of the camera.
TEST_F(CaptureSessionTest, SingleFramesMakeAClipAtTheSetRate)
{
    connectCamera();
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(5, 0, false)));
    EXPECT_FALSE(capCaptureSingleFrame(window.get())) << "not open";
    ASSERT_TRUE(capCaptureSingleFrameOpen(window.get()));
    EXPECT_FALSE(capFileSetCaptureFile(window.get(), dir.file("other.avi"))) << "the file is in use";
    window->setFrameStamp("2026-05-04 10:11:12");
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(capCaptureSingleFrame(window.get()));
    ASSERT_TRUE(capCaptureSingleFrameClose(window.get()));
    EXPECT_FALSE(capCaptureSingleFrameClose(window.get()));

    const QString path = capFileGetCaptureFile(window.get());
    const auto v = ProbeStream(path, "v:0");
    EXPECT_EQ(v.value("nb_read_frames"), "5");
    EXPECT_EQ(v.value("r_frame_rate"), "5/1");
    long long before = -1;
    for (int i = 0; i < 5; ++i) {
        const QImage picture = DecodedPicture(path, i);
        const long long counter = PatternCounter(picture);
        EXPECT_GT(counter, before) << i;
        before = counter;
        // The stamp's dark box sits in the top-left corner, on the pattern's bright bars.
        EXPECT_LT(qGray(picture.pixel(2, 2)), 60) << i;
    }
}

TEST_F(CaptureSessionTest, PalettesAreBuiltLoadedSavedAndUsedByEightBitCapture)
{
    connectCamera();
    EXPECT_FALSE(capPaletteSave(window.get(), dir.file("none.pal"))) << "no palette yet";
    EXPECT_FALSE(capPaletteManual(window.get(), false, 64)) << "no frames picked";
    ASSERT_TRUE(capPaletteManual(window.get(), true, 64));
    ASSERT_TRUE(capPaletteManual(window.get(), true, 64));
    ASSERT_TRUE(capPaletteManual(window.get(), false, 64));
    EXPECT_LE(window->palette().size(), 64);
    EXPECT_GE(window->palette().size(), 8);
    ASSERT_TRUE(capPaletteAuto(window.get(), 10, 32));
    EXPECT_LE(window->palette().size(), 32);
    const QString pal = dir.file("auto.pal");
    ASSERT_TRUE(capPaletteSave(window.get(), pal));
    const QVector<QRgb> saved = window->palette();
    ASSERT_TRUE(capPaletteManual(window.get(), true, 16));
    ASSERT_TRUE(capPaletteManual(window.get(), false, 16));
    ASSERT_TRUE(capPaletteOpen(window.get(), pal));
    EXPECT_EQ(window->palette(), saved);
    EXPECT_FALSE(capPaletteOpen(window.get(), dir.file("missing.pal")));

    window->setCompression(VideoCoding::Palettised, 85);
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(10, 0, false)));
    ASSERT_TRUE(capCaptureSingleFrameOpen(window.get()));
    ASSERT_TRUE(capCaptureSingleFrame(window.get()));
    ASSERT_TRUE(capCaptureSingleFrameClose(window.get()));
    EXPECT_EQ(ProbeStream(capFileGetCaptureFile(window.get()), "v:0").value("pix_fmt"), "pal8");
    // The preview shows what 8-bit capture gets.
    QSignalSpy shown(window.get(), &CaptureSession::pictureShown);
    ASSERT_TRUE(shown.wait(3000));
    EXPECT_EQ(window->picture().format(), QImage::Format_Indexed8);
    EXPECT_EQ(window->picture().colorTable(), saved);
}

// Space set aside for the capture file is kept, and Save As copies only the captured clip.
TEST_F(CaptureSessionTest, ReservedCaptureFileAndSaveAs)
{
    connectCamera();
    ASSERT_TRUE(capFileAlloc(window.get(), 3 << 20));
    EXPECT_EQ(QFileInfo(capFileGetCaptureFile(window.get())).size(), 3 << 20);
    EXPECT_FALSE(capFileSaveAs(window.get(), dir.file("copy.avi"))) << "nothing captured yet";
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(10, 0, false)));
    ASSERT_TRUE(capCaptureSingleFrameOpen(window.get()));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(capCaptureSingleFrame(window.get()));
    ASSERT_TRUE(capCaptureSingleFrameClose(window.get()));
    EXPECT_EQ(QFileInfo(capFileGetCaptureFile(window.get())).size(), 3 << 20);
    const QString copy = dir.file("copy.avi");
    ASSERT_TRUE(capFileSaveAs(window.get(), copy));
    EXPECT_LT(QFileInfo(copy).size(), 1 << 20);
    EXPECT_EQ(ProbeStream(copy, "v:0").value("nb_read_frames"), "3");
}

// A capture file that cannot be made: the capture does not start and says why.
TEST_F(CaptureSessionTest, UnwritableCaptureFileIsReported)
{
    connectCamera();
    ASSERT_TRUE(capFileSetCaptureFile(window.get(), "/dev/full"));
    ASSERT_TRUE(capCaptureSetSetup(window.get(), parameters(10, 1, false)));
    EXPECT_FALSE(capCaptureSequence(window.get()));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, caperror::DiskFull);
    EXPECT_TRUE(reports[0].second.startsWith("The capture file /dev/full could not be made"))
        << reports[0].second.toStdString();
    EXPECT_FALSE(capFileSetCaptureFile(window.get(), dir.file("no/such/folder/x.avi")));
}
