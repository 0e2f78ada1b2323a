#pragma once
// One capture session: the connected camera (platform/camera), the pictures it sends, and what
// the capture tools do with them. It keeps the picture to show (live at the preview rate, a
// grabbed one that stays, the frames a capture takes) and the text printed on it, grabs, saves
// the picture as a Windows bitmap or copies it, writes the capture file (a sequence capture with
// sound through SequenceRun, or single frames) through AviWriter, and builds, loads and saves the
// palette of 8-bit capture. No widget: CapturePreview shows the picture, the capture windows
// turn the signals into captions and messages.
//
// Status reports (numbers in CaptureStatus.h) come as status(); errors as failed(), with their
// number and the message a window shows for them. There is no hardware overlay and no display
// dialog: both report failure and the capabilities say they are absent.
#include "capture/device/CapturePalette.h"
#include "capture/device/CaptureParameters.h"
#include "capture/device/CaptureStatus.h"
#include "platform/audio/WaveFormatEx.h"
#include "platform/camera/CameraDriver.h"
#include "platform/ui/Prompts.h"
#include "platform/video/AviWriter.h"

#include <QImage>
#include <QObject>
#include <QVideoFrame>
#include <memory>

class SequenceRun;

class CaptureSession : public QObject {
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

    explicit CaptureSession(QObject* parent = nullptr);
    ~CaptureSession() override;

    // The name and version of camera `index`, false when there is none.
    static bool DriverDescription(int index, QString& name, QString& version);
    // The capture file used when none was set: capture.avi in the user's videos folder.
    static QString DefaultCaptureFile();

    bool driverConnect(int index);
    bool driverDisconnect();
    int driverIndex() const { return driverIndex_; }   // -1 when none is connected
    bool driverGetCaps(DriverCaps& caps) const;
    bool getStatus(Status& status) const;
    CameraDriver* driver() const { return driver_.get(); }
    // The video format dialog's choice; the pictures of the new format follow.
    bool setVideoFormat(const CameraDriver::Format& format);
    // The video source dialog's choice of another camera: connected, previewing, and
    // driverChanged() says so. True also when it is the connected one.
    bool switchCamera(int index);

    bool setCaptureFile(const QString& path);
    QString captureFile() const { return captureFile_; }
    bool fileAllocate(std::int64_t bytes);
    // Copies the clip of the capture file (without the space set aside after it).
    bool fileSaveAs(const QString& path);
    bool fileSaveDIB(const QString& path);
    bool editCopy();

    bool setAudioFormat(const WaveFormatEx& format);
    WaveFormatEx audioFormat() const { return audio_; }

    bool setPreview(bool on);
    bool setPreviewRate(int milliseconds);
    bool grabFrame();

    bool captureSetSetup(const CaptureParameters& parameters);
    CaptureParameters captureGetSetup() const { return parameters_; }
    // Without yield in the parameters the capture is over when this returns.
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

    // The question before a capture when the parameters ask for one; without it the capture
    // is declined.
    void setAsk(Ask ask) { ask_ = std::move(ask); }

    // Prints a text at the top-left of the picture shown, until the next picture replaces it.
    void printText(const QString& text);
    QString printedText() const { return printed_; }
    // A text printed at the top-left of every frame single-frame capture writes, until changed;
    // empty for none.
    void setFrameStamp(const QString& text) { stamp_ = text; }

    // The picture to show (a grabbed one stays until preview resumes or a capture shows the
    // frames it takes).
    QImage picture() const { return shown_; }
    QSize imageSize() const;
    bool capturing() const { return run_ != nullptr; }
    bool previewing() const { return preview_; }
    std::int64_t framesReceived() const { return framesReceived_; }

    VideoCoding coding() const { return coding_; }
    int quality() const { return quality_; }
    void setCompression(VideoCoding coding, int quality);
    const QVector<QRgb>& palette() const { return palette_; }

signals:
    // Another camera was connected from the video source dialog.
    void driverChanged(int index);
    // The camera's picture format changed.
    void formatChanged();
    // A new picture or printed text is to be shown.
    void pictureShown();
    void printedChanged();
    // A status report: its number and text.
    void status(int number, const QString& text);
    // An error report: its number and the message for it.
    void failed(int number, const Outcome& outcome);

private:
    void frameArrived(const QVideoFrame& frame);
    // The camera's latest picture; null when there is none.
    QImage latest();
    std::int64_t frameTime(const QVideoFrame& frame);
    void showPicture(const QImage& picture);
    QImage forFile(const QImage& picture) const;
    bool waitForNewFrame(int timeoutMs = 3000);
    void reportError(int number, const QString& text);
    AviVideoFormat videoFormat(std::int64_t microsecondsPerFrame) const;
    std::int64_t framePeriodUs() const;
    void runEnded();

    std::unique_ptr<CameraDriver> driver_;
    int driverIndex_ = -1;
    Ask ask_;

    QImage shown_;
    QVideoFrame latestFrame_;
    QImage latestPicture_;   // latestFrame_ as an image, once asked for
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

    SequenceRun* run_ = nullptr;
    bool runEnded_ = false;
    CaptureCounts lastCounts_;

    std::unique_ptr<AviWriter> singleFrames_;
    std::int64_t singleFrameNumber_ = 0;
};
