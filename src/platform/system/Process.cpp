#include "platform/system/Process.h"

#include <QHash>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {
const QHash<QString, QStringList>& table()
{
    static const QHash<QString, QStringList> programs = {
        {"sndvol.exe", {"pavucontrol", "pavucontrol-qt", "gnome-sound-settings"}},
        {"soundrecorder.exe", {"gnome-sound-recorder", "audacity"}},
        {"vidcap.exe", {"cheese", "guvcview", "kamoso"}},
        {"msinfo32.exe", {"hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor"}},
        {"lame.exe", {"lame"}},
    };
    return programs;
}
}

QString ExternalProgram(const QString& name)
{
    const QString key = name.toLower();
    const auto it = table().find(key);
    if (it != table().end()) {
        for (const QString& candidate : *it) {
            const QString path = QStandardPaths::findExecutable(candidate);
            if (!path.isEmpty()) return path;
        }
        return QString();
    }
    QString bare = name;
    if (bare.endsWith(".exe", Qt::CaseInsensitive)) bare.chop(4);
    return QStandardPaths::findExecutable(bare);
}

bool StartProgram(const QString& name, const QStringList& arguments)
{
    const QString program = ExternalProgram(name);
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, arguments);
}

} // namespace platform
