#include "platform/TemporaryFiles.h"

#include <QFileInfo>
#include <QSet>

namespace platform {
namespace {
QSet<QString>& files()
{
    static QSet<QString> set;
    return set;
}
QString key(const QString& path) { return QFileInfo(path).absoluteFilePath(); }
}

void MarkTemporary(const QString& path) { files().insert(key(path)); }
bool IsTemporary(const QString& path) { return files().contains(key(path)); }
void ForgetTemporary(const QString& path) { files().remove(key(path)); }

} // namespace platform
