#include "platform/audio/Mp3Encode.h"

#include "platform/system/Process.h"
#include "platform/system/RunAndWait.h"
#include "text/LoadText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr qsizetype kKeptOutput = 2000;

// What the MP3 path held before the encoder ran, to tell whether the run wrote it.
struct Snapshot {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    static Snapshot Of(const QString& path)
    {
        const QFileInfo info(path);
        return {info.exists(), info.exists() ? info.size() : 0,
                info.exists() ? info.lastModified() : QDateTime()};
    }
    bool operator==(const Snapshot&) const = default;
};

Outcome failed(const QString& wavPath, const QString& mp3Path, const Snapshot& before,
                      const QString& detail)
{
    if (Snapshot::Of(mp3Path) != before) QFile::remove(mp3Path);
    QFile::remove(wavPath);
    return SaveFailure(mp3Path, detail);
}
}

Outcome EncodeMp3(const QString& wavPath, const QString& mp3Path, const Ask& ask, int askEveryMs)
{
    const Snapshot before = Snapshot::Of(mp3Path);
    const QString lame = platform::ExternalProgram(QStringLiteral("lame.exe"));
    if (lame.isEmpty())
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder lame is not installed"));

    RunOptions options;
    options.keepOutput = kKeptOutput;
    options.askEveryMs = askEveryMs;
    options.goOn = [&ask] {
        return ask(Outcome::Question(LoadText(409), LoadText(608), MsgButtons::YesNo)) != Answer::No;
    };
    const RunResult run = RunAndWait(
        lame, {QStringLiteral("--preset"), QStringLiteral("extreme"), wavPath, mp3Path}, options);
    switch (run.outcome) {
    case RunOutcome::NotStarted:
        return failed(wavPath, mp3Path, before,
                      QStringLiteral("the MP3 encoder could not be started: ") + run.error);
    case RunOutcome::Stopped:
    case RunOutcome::TimedOut:
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoding was stopped"));
    case RunOutcome::Ended:
        break;
    }
    if (run.crashed) return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder crashed"));
    if (run.exitCode != 0)
        return failed(wavPath, mp3Path, before,
                      QStringLiteral("the MP3 encoder ended with code %1: %2")
                          .arg(run.exitCode)
                          .arg(QString::fromLocal8Bit(run.output).trimmed().right(300)));
    const QFileInfo mp3(mp3Path);
    if (!mp3.exists() || mp3.size() == 0)
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder wrote no MP3 file"));
    QFile::remove(wavPath);
    return Outcome::Success();
}
