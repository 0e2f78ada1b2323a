#include "sound/SaveWaveWhole.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr qint64 kBlock = 1 << 20;
}

Outcome SaveWaveWhole(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (from.exists() && to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return Outcome::Success();

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return SaveFailure(target, in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return SaveFailure(target, out.errorString());
    QByteArray block;
    while (!in.atEnd()) {
        block = in.read(kBlock);
        if (block.isEmpty()) {   // not at the end, yet nothing came: a read error
            out.cancelWriting();
            return SaveFailure(target, in.errorString());
        }
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return SaveFailure(target, out.errorString());
        }
    }
    if (!out.commit())
        return SaveFailure(target, out.errorString());
    return Outcome::Success();
}
