#pragma once
// The media-control interface: devices driven by command strings ("open new type waveaudio alias
// capture", "record capture", "save capture NAME", "status capture mode", ...; the commands are
// listed in MediaCommand.h). Each command returns 0 on success and a non-zero error number on
// failure; a status query also answers a reply text, which never holds a NUL.
//
// The program installs the real device (AudioMediaControl); tests install a scripted one that
// records every command. Before one is installed, every command fails with NotInstalled.
#include "platform/audio/WaveRecorder.h"

#include <QObject>
#include <QString>
#include <memory>

class MediaControl : public QObject {
    Q_OBJECT
public:
    // The error numbers of the failures (0 is success).
    enum Error : int {
        Success = 0,
        NotInstalled = 1,      // no media device in this program
        BadCommand,            // not a command this interface understands
        UnknownAlias,          // no open element under that alias
        AliasInUse,            // open: the alias names an open element already
        UnknownDeviceType,     // open: neither waveaudio nor sequencer
        BadFormat,             // set: the format values do not agree or are out of range
        Busy,                  // the element is recording or playing and cannot do this now
        NoInputDevice,         // record: no audio input, or it refused to start
        NoOutputDevice,        // play: no audio output, or it refused to start
        CannotWrite,           // save, record: a file could not be written
        CannotReadMidi,        // open: not a MIDI file, or it cannot be read
        NotSupported,          // a command the element's type does not carry out
        NoSoundFont,           // open, play: no General MIDI SoundFont is installed
        NoSynthesiser,         // play: the MIDI synthesiser cannot be made
    };

    // Why a recording stopped by itself (the audio input's reasons).
    using Halt = WaveRecorder::Halt;

    using QObject::QObject;

    // Carries out one command. `reply` receives the answer of a status query and is emptied for
    // every other command.
    virtual int SendString(const QString& command, QString& reply) = 0;
    int SendString(const QString& command)
    {
        QString reply;
        return SendString(command, reply);
    }

    // The plain-words meaning of an error number, for logs and tests.
    static QString ErrorText(int error);

    // The device in use; the refusing one before any is installed.
    static MediaControl& Current();
    // Installs a device and returns the previous one (null for the refusing default).
    static std::unique_ptr<MediaControl> Install(std::unique_ptr<MediaControl> device);
    // True once a device has been installed.
    static bool Installed();

signals:
    // The recording of the element `alias` stopped by itself.
    void recordingHalted(const QString& alias, MediaControl::Halt why, const QString& detail);
};
