#include "platform/system/SystemInfo.h"

#include <QFile>
#include <QHash>

#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace {

QString ReadText(const QString& path)
{
    QFile file(path);
    // Files of /proc report no size: read until the end.
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

// An os-release value: unquoted, or in single or double quotes with backslash escapes.
QString Unquote(QStringView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) ++i;
        out += value[i];
    }
    return out;
}

// "key : value" lines of /proc/cpuinfo, the first value of each key.
QHash<QString, QString> CpuFields(QStringView text)
{
    QHash<QString, QString> fields;
    for (QStringView line : text.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) continue;
        const QString key = line.left(colon).trimmed().toString().toLower();
        if (!fields.contains(key)) fields.insert(key, line.mid(colon + 1).trimmed().toString());
    }
    return fields;
}

} // namespace

QString SystemInfo::DistributionOf(QStringView osRelease)
{
    QHash<QString, QString> values;
    for (QStringView line : osRelease.split(u'\n')) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u'#') || equals <= 0) continue;
        values.insert(line.left(equals).toString(), Unquote(line.mid(equals + 1)));
    }
    if (!values.value("PRETTY_NAME").isEmpty()) return values.value("PRETTY_NAME");
    const QString name = values.value("NAME");
    const QString version = values.value("VERSION");
    if (!name.isEmpty()) return version.isEmpty() ? name : name + " " + version;
    return "Linux";
}

QString SystemInfo::ProcessorOf(QStringView cpuInfo)
{
    const QHash<QString, QString> fields = CpuFields(cpuInfo);
    for (const char* key : {"model name", "processor", "cpu model", "cpu"}) {
        const QString value = fields.value(key);
        // "processor : 0" on x86 is a number, not a name.
        bool number = false;
        (void)value.toInt(&number);
        if (!value.isEmpty() && !number) return value;
    }
    return QString();
}

int SystemInfo::ProcessorCountOf(QStringView cpuInfo)
{
    int count = 0;
    for (QStringView line : cpuInfo.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) continue;
        bool number = false;
        (void)line.mid(colon + 1).trimmed().toInt(&number);
        if (line.left(colon).trimmed() == u"processor" && number) ++count;
    }
    return count;
}

std::int64_t SystemInfo::MemInfoBytes(QStringView memInfo, QStringView key)
{
    for (QStringView line : memInfo.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0 || line.left(colon).trimmed() != key) continue;
        const QList<QStringView> parts = line.mid(colon + 1).trimmed().split(u' ', Qt::SkipEmptyParts);
        if (parts.isEmpty()) return -1;
        bool ok = false;
        const qint64 value = parts.front().toLongLong(&ok);
        if (!ok || value < 0) return -1;
        const bool kilobytes = parts.size() > 1 && parts[1].compare(u"kB", Qt::CaseInsensitive) == 0;
        return kilobytes ? value * 1024 : value;
    }
    return -1;
}

SystemInfo SystemInfo::Read(const Sources& sources)
{
    SystemInfo info;
    try {
        QString osRelease = ReadText(sources.osRelease);
        if (osRelease.isEmpty()) osRelease = ReadText(sources.osReleaseFallback);
        info.distribution = DistributionOf(osRelease);

        struct utsname names {};
        if (uname(&names) == 0) {
            info.kernelName = QString::fromLocal8Bit(names.sysname);
            info.kernelRelease = QString::fromLocal8Bit(names.release);
            info.machine = QString::fromLocal8Bit(names.machine);
        }

        const QString cpu = ReadText(sources.cpuInfo);
        info.processor = ProcessorOf(cpu);
        info.processorCount = ProcessorCountOf(cpu);

        struct sysinfo memory {};
        if (sysinfo(&memory) == 0) {
            const std::uint64_t unit = memory.mem_unit ? memory.mem_unit : 1;
            info.totalPhysical = std::uint64_t(memory.totalram) * unit;
            // Free memory alone leaves out the caches the kernel gives back on demand.
            info.availablePhysical = std::uint64_t(memory.freeram + memory.bufferram) * unit;
            info.totalSwap = std::uint64_t(memory.totalswap) * unit;
            info.freeSwap = std::uint64_t(memory.freeswap) * unit;
        }
        // The kernel's own estimate of the memory available to a new program, where it gives one.
        const std::int64_t available = MemInfoBytes(ReadText(sources.memInfo), u"MemAvailable");
        if (available >= 0) info.availablePhysical = std::uint64_t(available);
    } catch (...) {
    }
    return info;
}
