#include "platform/audio/DecodeMp3.h"

#include "platform/system/RunAndWait.h"
#include "platform/system/Process.h"
#include "platform/system/TemporaryFiles.h"
#include "text/LoadText.h"

#include <QFile>
#include <QThread>

namespace {
constexpr int kDecodeTimeoutSeconds = 2000;
constexpr int kMaxAttempts = 5;

QString withoutExtension(const QString& path)
{
    return path.endsWith(".mp3", Qt::CaseInsensitive) ? path.left(path.size() - 4) : path;
}
}

QString Mp3WavPath(const QString& mp3Path)
{
    const QString base = withoutExtension(mp3Path);
    const QString plain = base + ".wav";
    return QFile::exists(plain) ? base + "_.wav" : plain;
}

QString DecodeMp3ToWav(const QString& mp3Path, const Ask& ask, int delayAfterDeleteMs)
{
    const QString wavPath = Mp3WavPath(mp3Path);
    if (wavPath.endsWith("_.wav") && QFile::exists(wavPath)) {
        QFile::remove(wavPath);
        if (delayAfterDeleteMs > 0) QThread::msleep(delayAfterDeleteMs);
    }

    const QString lame = platform::ExternalProgram("lame.exe");
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        RunOptions options;
        options.timeoutSeconds = kDecodeTimeoutSeconds * attempt;
        const bool timedOut = !lame.isEmpty() &&
            RunAndWait(lame, {"--decode", mp3Path, wavPath}, options).outcome == RunOutcome::TimedOut;
        if (timedOut) QFile::remove(wavPath);   // a stopped decoder leaves a partial file
        if (QFile::exists(wavPath)) {
            // A "_.wav" output is a scratch copy of the MP3's sound.
            if (wavPath.endsWith("_.wav")) platform::MarkTemporary(wavPath);
            break;
        }
        const Answer answer = ask(Outcome::Question(LoadText(409), LoadText(410), MsgButtons::YesNo));
        // Only a decoder that ran out of time is worth waiting for again.
        if (!timedOut || answer != Answer::Yes) break;
    }
    return wavPath;
}
