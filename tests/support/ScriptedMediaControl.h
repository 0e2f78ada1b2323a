#pragma once
// A MediaControl for tests (a test double: it lives with the tests): it records every command
// sent, answers as a device would (mode follows record, play and stop; the format follows set;
// lengths are 0; a closed element refuses every command but open) and lets a test make chosen
// commands fail or answer its own replies. "save"
// writes a small placeholder file under the name given, so file moves can be checked.
#include "recorder/mci/MediaControl.h"

#include <QHash>
#include <QSet>
#include <QStringList>

class ScriptedMediaControl : public MediaControl {
public:
    // Every command sent so far, in order.
    QStringList commands;

    // The command (exact text) fails with `error` every time it is sent.
    void Fail(const QString& command, int error = BadCommand) { failures_.insert(command, error); }
    void Succeed(const QString& command) { failures_.remove(command); }
    // The command answers `reply` (status queries) every time.
    void Reply(const QString& command, const QString& reply) { replies_.insert(command, reply); }
    // The command answers `reply` the next time it is sent (queued answers come first, in turn).
    void QueueReply(const QString& command, const QString& reply) { queued_[command] << reply; }
    // The device stops recording by itself, as the real one does on a full disk.
    void HaltRecording(MediaControl::Halt why, const QString& detail = {});

    using MediaControl::SendString;
    int SendString(const QString& command, QString& reply) override;

    // The bytes "save" writes.
    static QByteArray SavedContent() { return "scripted recording"; }

private:
    QHash<QString, int> failures_;
    QHash<QString, QString> replies_;
    QHash<QString, QStringList> queued_;
    QSet<QString> closed_;
    QString mode_ = "stopped";
    QString channels_ = "1", bits_ = "8", rate_ = "11025";
};

// Installs a ScriptedMediaControl for the lifetime of this object; the previous device returns.
class ScopedScriptedMediaControl {
public:
    ScopedScriptedMediaControl();
    ~ScopedScriptedMediaControl();
    ScriptedMediaControl& operator*() { return *device_; }
    ScriptedMediaControl* operator->() { return device_; }

private:
    ScriptedMediaControl* device_;
    std::unique_ptr<MediaControl> previous_;
};
