#include "sound/Mp3Encode.h"

#include "platform/Process.h"
#include "platform/Prompts.h"
#include "text/LoadText.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

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

SaveWaveResult failed(const QString& wavPath, const QString& mp3Path, const Snapshot& before,
                      const QString& detail)
{
    if (Snapshot::Of(mp3Path) != before) QFile::remove(mp3Path);
    QFile::remove(wavPath);
    return SaveWaveResult::Failure(mp3Path, detail);
}
}

SaveWaveResult EncodeMp3(const QString& wavPath, const QString& mp3Path, int askEveryMs)
{
    const Snapshot before = Snapshot::Of(mp3Path);
    const QString lame = platform::ExternalProgram(QStringLiteral("lame.exe"));
    if (lame.isEmpty())
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder lame is not installed"));

    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray output;   // the tail of what the encoder printed, for the failure's detail
    QObject::connect(&encoder, &QProcess::readyRead, [&] {
        output += encoder.readAll();
        if (output.size() > kKeptOutput) output = output.right(kKeptOutput);
    });
    encoder.start(lame, {QStringLiteral("--preset"), QStringLiteral("extreme"), wavPath, mp3Path});
    if (!encoder.waitForStarted(10000)) {
        encoder.kill();
        encoder.waitForFinished(5000);
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder could not be started: ") +
                                                    encoder.errorString());
    }

    // Sleep in an event loop until the encoder ends; a timer asks now and then whether to go on.
    QEventLoop loop;
    QTimer ask;
    ask.setSingleShot(true);
    ask.setInterval(askEveryMs);
    bool stopped = false;
    QObject::connect(&encoder, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&ask, &QTimer::timeout, &loop, [&] {
        const Answer answer = Prompts::Current().MsgBox(LoadText(409), MsgButtons::YesNo,
                                                        LoadText(608), MsgIcon::Question);
        // The encoder may have ended while the question was on screen: its outcome counts then.
        if (encoder.state() == QProcess::NotRunning) {
            loop.quit();
        } else if (answer == Answer::No) {
            stopped = true;
            loop.quit();
        } else {
            ask.start();
        }
    });
    if (encoder.state() != QProcess::NotRunning) {
        ask.start();
        loop.exec();
    }
    ask.stop();
    if (stopped) {
        encoder.kill();
        encoder.waitForFinished(-1);
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoding was stopped"));
    }
    // The finished signal may still be queued behind the loop's end; make sure the process is
    // reaped before its input is deleted.
    encoder.waitForFinished(-1);
    output += encoder.readAll();

    if (encoder.exitStatus() != QProcess::NormalExit)
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder crashed"));
    if (encoder.exitCode() != 0)
        return failed(wavPath, mp3Path, before,
                      QStringLiteral("the MP3 encoder ended with code %1: %2")
                          .arg(encoder.exitCode())
                          .arg(QString::fromLocal8Bit(output).trimmed().right(300)));
    const QFileInfo mp3(mp3Path);
    if (!mp3.exists() || mp3.size() == 0)
        return failed(wavPath, mp3Path, before, QStringLiteral("the MP3 encoder wrote no MP3 file"));
    QFile::remove(wavPath);
    return SaveWaveResult::Success();
}
