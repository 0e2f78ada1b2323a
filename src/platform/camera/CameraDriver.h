#pragma once
// A camera as the capture window drives it, in the shape of Qt Multimedia's platform camera: the
// picture formats it offers, the adjustable controls it exposes, start and stop, and its
// pictures delivered into a QVideoSink. State changes and errors come as signals; the capture
// window decides what to show. Two implementations: QtCameraDriver over QCamera (every real
// camera) and TestPatternCamera (built in, listed only when KIVRA_VIRTUAL_DEVICES=1).
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVideoSink>

class CameraDriver : public QObject {
    Q_OBJECT
public:
    struct Format {
        QSize resolution;
        QString pixelFormat;   // as the camera names it ("YUYV", "Jpeg", "RGB32", ...)
        float minFps = 0;
        float maxFps = 0;
        bool operator==(const Format&) const = default;
    };
    // An adjustable setting: its name is an interface text entry.
    struct Control {
        int id = 0;
        int nameText = 0;
        double minimum = 0;
        double maximum = 1;
        double step = 0.1;
        double value = 0;
    };

    explicit CameraDriver(QObject* parent = nullptr) : QObject(parent) {}

    virtual QList<Format> formats() const = 0;
    virtual Format format() const = 0;
    // Takes effect at once, also while the camera runs. False for a format it does not offer.
    virtual bool setFormat(const Format& format) = 0;
    virtual QList<Control> controls() const = 0;
    virtual void setControl(int id, double value) = 0;

    // Starts sending pictures into sink(); false when the camera cannot start at all (errors
    // that come later are signalled).
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    QVideoSink* sink() { return &sink_; }

signals:
    void activeChanged(bool active);
    void errorOccurred(const QString& message);

private:
    QVideoSink sink_;
};
