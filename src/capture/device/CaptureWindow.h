#pragma once
// The capture window: a child widget that shows the live picture of a camera and carries out
// the capture requests of the capture tools (the message wrappers of capture/mVFW.h call it).
// It connects one camera driver at a time (platform/CameraDevices.h), shows its pictures at the
// preview rate, grabs and freezes a picture, saves it as a Windows bitmap or copies it, writes
// the capture file (sequence capture with sound, or single frames) through SequenceCapture and
// AviWriter, and builds, loads and saves the palette of 8-bit capture.
//
// Status reports (numbers in platform/CaptureStatus.h) and errors reach the callbacks set with
// setCallbackOnStatus / setCallbackOnError, on the interface thread, with the text as UTF-8.
// The camera's own dialogs are ours: video format (the camera's formats), video source (the
// camera and its adjustable controls), compression (MJPEG with a quality, uncompressed, or 8-bit
// with the palette). There is no hardware overlay and no display dialog: both report failure and
// the capabilities say they are absent.
#include "platform/video/AviWriter.h"
#include "capture/device/CaptureParameters.h"
#include "capture/device/CapturePalette.h"
#include "capture/device/CaptureStatus.h"
#include "platform/audio/WaveFormatEx.h"

#include <QImage>
#include <QPointer>
#include <QVideoFrame>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class CameraDriver;
class QAudioSource;
class QIODevice;
class QTimer;
class SequenceCapture;

class CaptureWindow : public QWidget {
    Q_OBJECT
public:
    struct DriverCaps {
        int deviceIndex = 0;
        bool hasOverlay = false;
        bool hasDlgVideoSource = false;
        bool hasDlgVideoFormat = false;
        bool hasDlgVideoDisplay = false;
        bool captureInitialized = false;
        bool driverSuppliesPalettes = false;
    };
    struct Status {
        int imageWidth = 0;
        int imageHeight = 0;
        bool liveWindow = false;                 // previewing
        bool overlayWindow = false;
        bool usingDefaultPalette = true;         // no palette built or loaded
        bool audioHardware = false;              // a sound input exists
        bool capFileExists = false;
        std::int64_t currentVideoFrame = 0;      // frames of the running or last capture
        std::int64_t currentVideoFramesDropped = 0;
        std::int64_t currentWaveSamples = 0;
        std::int64_t currentTimeElapsedMS = 0;
        bool capturingNow = false;
    };
    // Status and error reports: the window, the report's number and its text (UTF-8, NUL-ended).
    using Callback = int (*)(CaptureWindow* window, int number, const char* text);

    explicit CaptureWindow(QWidget* parent = nullptr);
    ~CaptureWindow() override;

    // The name and version of camera `index`, false when there is none.
    static bool DriverDescription(int index, QString& name, QString& version);

    bool driverConnect(int index);
    bool driverDisconnect();
    int driverIndex() const { return driverIndex_; }   // -1 when none is connected
    bool driverGetCaps(DriverCaps& caps) const;
    bool getStatus(Status& status) const;
    bool setCallbackOnStatus(Callback callback);
    bool setCallbackOnError(Callback callback);

    bool setCaptureFile(const QString& path);
    QString captureFile() const { return captureFile_; }
    bool fileAllocate(std::int64_t bytes);
    bool fileSaveAs(const QString& path);
    bool fileSaveDIB(const QString& path);
    bool editCopy();

    bool setAudioFormat(const QByteArray& record);
    QByteArray audioFormat() const { return audio_.toBytes(); }

    bool dlgVideoFormat();
    bool dlgVideoSource();
    bool dlgVideoDisplay() { return false; }
    bool dlgVideoCompression();

    bool setPreview(bool on);
    bool setOverlay(bool) { return false; }
    bool setPreviewRate(int milliseconds);
    bool grabFrame();

    bool captureSetSetup(const QByteArray& record);
    QByteArray captureGetSetup() const { return parameters_.toBytes(); }
    bool captureSequence();
    // Ends a running sequence capture as an abort does.
    bool captureStop();
    bool singleFrameOpen();
    bool singleFrame();
    bool singleFrameClose();
    // Single-frame capture is open: frames taken now go on after those already taken.
    bool singleFramesOpen() const { return singleFrames_ != nullptr; }

    bool paletteOpen(const QString& path);
    bool paletteSave(const QString& path);
    bool paletteAuto(int frames, int colours);
    bool paletteManual(bool grab, int colours);

    // Prints a text at the top-left of the picture shown, until the next picture replaces it.
    void printText(const QString& text);
    // A text printed at the top-left of every frame single-frame capture writes, until changed;
    // empty for none.
    void setFrameStamp(const QString& text) { stamp_ = text; }

    // The picture the window shows (a grabbed one stays until preview resumes or a capture
    // shows the frames it takes).
    QImage picture() const { return shown_; }
    QSize imageSize() const;
    bool capturing() const { return sequence_ != nullptr; }
    bool previewing() const { return preview_; }
    CameraDriver* driver() const { return driver_.get(); }
    std::int64_t framesReceived() const { return framesReceived_; }

    VideoCoding coding() const { return coding_; }
    int quality() const { return quality_; }
    void setCompression(VideoCoding coding, int quality);
    const QVector<QRgb>& palette() const { return palette_; }

    // The capture file used when none was set: capture.avi in the user's videos folder.
    static QString DefaultCaptureFile();

signals:
    // Another camera was connected from the video source dialog.
    void driverChanged(int index);
    // A new picture is shown.
    void pictureShown();
    // A picture arrived or a capture ended (what the window's waits look at).
    void progressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frameArrived(const QVideoFrame& frame);
    // The camera's latest picture; null when there is none.
    QImage latest();
    std::int64_t frameTime(const QVideoFrame& frame);
    void showPicture(const QImage& picture);
    QImage forFile(const QImage& picture) const;
    // Handles events until done() or the time-out; false on time-out or when the window went.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    bool waitForNewFrame(int timeoutMs = 3000);
    void report(Callback callback, int number, const QString& text);
    void reportError(int number, const QString& text);
    AviVideoFormat videoFormat(std::int64_t microsecondsPerFrame) const;

    // Sequence capture (CaptureWindowCapture.cpp).
    bool startSound();
    void readSound();
    void stopSound();
    // Hands a picture to the running sequence capture; true when it went into the file.
    bool sequenceFrame(const QImage& picture, std::int64_t timeUs);
    void endSequence(int errorNumber, const QString& errorText);
    QString writeFailureText(const AviWriter& writer) const;

    std::unique_ptr<CameraDriver> driver_;
    int driverIndex_ = -1;
    Callback statusCallback_ = nullptr;
    Callback errorCallback_ = nullptr;

    QImage shown_;
    QVideoFrame latestFrame_;
    QImage latestPicture_;   // latestFrame_ as an image, once asked for
    std::int64_t latestUs_ = 0;
    std::int64_t framesReceived_ = 0;
    std::int64_t anchorUs_ = 0;
    std::int64_t lastFrameUs_ = -1;
    std::int64_t lastShownUs_ = -1;
    bool preview_ = false;
    int previewRateMs_ = 66;
    QString printed_;
    QString stamp_;

    QString captureFile_;
    WaveFormatEx audio_ = WaveFormatEx::Pcm16(44100, 1);
    CaptureParameters parameters_;
    VideoCoding coding_ = VideoCoding::Mjpeg;
    int quality_ = 85;
    QVector<QRgb> palette_;
    std::unique_ptr<PaletteMap> paletteMap_;
    ColourHistogram manualHistogram_;
    ColourHistogram autoHistogram_;
    int autoFramesLeft_ = 0;

    std::unique_ptr<SequenceCapture> sequence_;
    CaptureCounts lastCounts_;
    std::int64_t sequenceStartUs_ = 0;
    QTimer* sequenceTimer_ = nullptr;
    std::unique_ptr<QAudioSource> sound_;
    QIODevice* soundInput_ = nullptr;
    bool sequenceDone_ = false;
    bool ending_ = false;

    std::unique_ptr<AviWriter> singleFrames_;
    std::int64_t singleFrameNumber_ = 0;
};
