#include "app/AboutReport.h"

#include "general/General.h"
#include "platform/system/SystemInfo.h"
#include "text/LoadText.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
QString Kilobytes(std::uint64_t bytes, QStringView pattern)
{
    return general::Format(double(bytes / 1024), pattern) + "K";
}
}

QString VersionLabel(int major, int minor)
{
    return "Window version " + QString::number(major) + "." + QString::number(minor) + " for Linux";
}

AboutReport AboutReport::Of(const SystemInfo& info)
{
    AboutReport report;
    if (!info.versionKnown()) {
        report.outcome = Outcome::Failure(LoadText(426), QCoreApplication::applicationName(),
                                          "uname gave no kernel release");
        return report;
    }
    // The kernel's major.minor, as a system version reads; the whole release is its build.
    const QRegularExpressionMatch version =
        QRegularExpression(R"(^(\d+)\.(\d+))").match(info.kernelRelease);
    QString system = info.distribution + ", " + info.kernelName;
    if (version.hasMatch()) system += " " + version.captured(1) + "." + version.captured(2);
    system += " (Build " + info.kernelRelease + ")";
    report.lines << system;
    report.lines << "CPU: " + (info.processor.isEmpty() ? QString("(unknown)") : info.processor);
    report.lines << LoadText(427) + Kilobytes(info.totalPhysical, u"###,###,###");
    report.lines << LoadText(428) + Kilobytes(info.availablePhysical, u"###,###,###");
    report.lines << LoadText(429) + Kilobytes(info.totalPhysical + info.totalSwap, u"##,###,###,###");
    report.lines << LoadText(430) + Kilobytes(info.availablePhysical + info.freeSwap, u"##,###,###,###");
    return report;
}
