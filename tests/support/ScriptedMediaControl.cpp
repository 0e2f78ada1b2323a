#include "support/ScriptedMediaControl.h"

#include "recorder/mci/MediaCommand.h"

#include <QDir>
#include <QFile>

void ScriptedMediaControl::HaltRecording(MediaControl::Halt why, const QString& detail)
{
    mode_ = "stopped";
    emit recordingHalted("capture", why, detail);
}

int ScriptedMediaControl::SendString(const QString& command, QString& reply)
{
    commands << command;
    reply.clear();
    if (failures_.contains(command)) return failures_.value(command);
    if (!queued_.value(command).isEmpty()) {
        reply = queued_[command].takeFirst();
        return Success;
    }
    if (replies_.contains(command)) {
        reply = replies_.value(command);
        return Success;
    }
    const platform::MediaParse parsed = platform::ParseMediaCommand(command);
    if (!parsed.command) return BadCommand;
    const platform::MediaCommand& c = *parsed.command;
    using platform::MediaVerb;
    // A closed element answers nothing until it is opened again, as the real device.
    const QString alias = c.alias.toLower();
    if (c.verb == MediaVerb::Open) {
        closed_.remove(alias);
    } else if (c.verb == MediaVerb::Close && alias == "all") {
        closed_.insert("capture");
        closed_.insert("midi");
    } else if (closed_.contains(alias)) {
        return UnknownAlias;
    } else if (c.verb == MediaVerb::Close) {
        closed_.insert(alias);
    }
    switch (c.verb) {
    case MediaVerb::Record: mode_ = "recording"; break;
    case MediaVerb::Play:
        if (c.alias == "capture") mode_ = "playing";
        break;
    case MediaVerb::Stop:
    case MediaVerb::Close:
        if (c.alias != "midi") mode_ = "stopped";
        break;
    case MediaVerb::Set:
        for (const auto& [key, value] : c.format) {
            if (key == "channels") channels_ = QString::number(value);
            if (key == "bitspersample") bits_ = QString::number(value);
            if (key == "samplespersec") rate_ = QString::number(value);
        }
        break;
    case MediaVerb::Save: {
        QFile file(QDir::current().absoluteFilePath(c.fileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(SavedContent()) != SavedContent().size())
            return CannotWrite;
        break;
    }
    case MediaVerb::Status:
        switch (c.item) {
        case platform::MediaItem::Mode: reply = mode_; break;
        case platform::MediaItem::Length: reply = "0"; break;
        case platform::MediaItem::Channels: reply = channels_; break;
        case platform::MediaItem::BitsPerSample: reply = bits_; break;
        case platform::MediaItem::SamplesPerSec: reply = rate_; break;
        }
        break;
    default: break;
    }
    return Success;
}

ScopedScriptedMediaControl::ScopedScriptedMediaControl()
{
    auto device = std::make_unique<ScriptedMediaControl>();
    device_ = device.get();
    previous_ = MediaControl::Install(std::move(device));
}

ScopedScriptedMediaControl::~ScopedScriptedMediaControl()
{
    MediaControl::Install(std::move(previous_));
}
