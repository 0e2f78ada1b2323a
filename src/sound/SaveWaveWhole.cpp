#include "sound/SaveWaveWhole.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr qint64 kBlock = 1 << 20;
}

SaveWaveResult SaveWaveWhole(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (from.exists() && to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return SaveWaveResult::Success();

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return SaveWaveResult::Failure(target, in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return SaveWaveResult::Failure(target, out.errorString());
    QByteArray block;
    while (!in.atEnd()) {
        block = in.read(kBlock);
        if (block.isEmpty()) {   // not at the end, yet nothing came: a read error
            out.cancelWriting();
            return SaveWaveResult::Failure(target, in.errorString());
        }
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return SaveWaveResult::Failure(target, out.errorString());
        }
    }
    if (!out.commit())
        return SaveWaveResult::Failure(target, out.errorString());
    return SaveWaveResult::Success();
}
