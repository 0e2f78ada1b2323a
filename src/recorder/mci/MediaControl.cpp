#include "recorder/mci/MediaControl.h"

#include <QCoreApplication>

namespace {
// The device of a program that has none: every command fails.
class RefusingMediaControl : public MediaControl {
public:
    int SendString(const QString&, QString& reply) override
    {
        reply.clear();
        return NotInstalled;
    }
};

std::unique_ptr<MediaControl>& installed()
{
    static std::unique_ptr<MediaControl> device;
    return device;
}
}

QString MediaControl::ErrorText(int error)
{
    switch (error) {
    case Success: return "success";
    case NotInstalled: return "no media device is installed";
    case BadCommand: return "the command is not understood";
    case UnknownAlias: return "no element is open under that alias";
    case AliasInUse: return "the alias is in use";
    case UnknownDeviceType: return "unknown device type";
    case BadFormat: return "the format values are inconsistent or out of range";
    case Busy: return "the element is recording or playing";
    case NoInputDevice: return "no audio input device could be started";
    case NoOutputDevice: return "no audio output device could be started";
    case CannotWrite: return "the file could not be written";
    case CannotReadMidi: return "the MIDI file could not be read";
    case NoSoundFont: return "no General MIDI SoundFont is installed";
    case NoSynthesiser: return "the MIDI synthesiser cannot be made";
    case NotSupported: return "the element does not carry out this command";
    }
    return QString("error %1").arg(error);
}

MediaControl& MediaControl::Current()
{
    static RefusingMediaControl refusing;
    return installed() ? *installed() : refusing;
}

std::unique_ptr<MediaControl> MediaControl::Install(std::unique_ptr<MediaControl> device)
{
    std::unique_ptr<MediaControl> previous = std::move(installed());
    installed() = std::move(device);
    // The device holds audio objects that must go before the application object does.
    static bool cleanup = false;
    if (installed() && !cleanup && QCoreApplication::instance()) {
        qAddPostRoutine([] { installed().reset(); });
        cleanup = true;
    }
    return previous;
}

bool MediaControl::Installed() { return installed() != nullptr; }
