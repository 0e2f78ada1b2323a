// The about window's report and the system information program, without a window: the facts
// read from made-up system files, the report's lines, this machine's report checked against
// /proc and os-release, and starting the program from PATH.
#include "app/AboutReport.h"
#include "app/StartSysInfo.h"
#include "platform/system/SystemInfo.h"

#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/TimeScale.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The first value of a "key<separator>value" line, read the simple way.
QString FirstValue(const QString& text, const QString& pattern)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

qint64 MemKilobytes(const QString& meminfo, const QString& key)
{
    return FirstValue(meminfo, "^" + key + R"(:\s*(\d+) kB)").toLongLong();
}

QString Thousands(qint64 value) { return QLocale(QLocale::English).toString(value); }

} // namespace

TEST(SystemInfo, ReadsTheDistributionProcessorAndMemoryFromTheirTexts)
{
    EXPECT_EQ(SystemInfo::DistributionOf(u"NAME=\"Debian GNU/Linux\"\n# a comment\n"
                                         u"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION=\"12\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(SystemInfo::DistributionOf(u"NAME='Some \\\"Lab\\\" Linux'\nVERSION=\"3.1\"\n"),
              "Some \"Lab\" Linux 3.1");
    EXPECT_EQ(SystemInfo::DistributionOf(u"NAME=Alpine\n"), "Alpine");
    EXPECT_EQ(SystemInfo::DistributionOf(u""), "Linux");

    const QString x86 = "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n\n"
                        "processor\t: 1\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n";
    EXPECT_EQ(SystemInfo::ProcessorOf(x86), "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz");
    EXPECT_EQ(SystemInfo::ProcessorCountOf(x86), 2);
    EXPECT_EQ(SystemInfo::ProcessorOf(u"Processor\t: ARMv7 Processor rev 10 (v7l)\nprocessor\t: 0\n"),
              "ARMv7 Processor rev 10 (v7l)");
    EXPECT_EQ(SystemInfo::ProcessorOf(u"processor\t: 0\nBogoMIPS\t: 48.00\nCPU implementer\t: 0x41\n"), "");

    const QString meminfo = "MemTotal:       16318424 kB\nMemFree:  1000 kB\nMemAvailable:    9000000 kB\n";
    EXPECT_EQ(SystemInfo::MemInfoBytes(meminfo, u"MemAvailable"), 9000000LL * 1024);
    EXPECT_EQ(SystemInfo::MemInfoBytes(meminfo, u"SwapTotal"), -1);
}

TEST(AboutReport, LinesGiveTheSystemProcessorAndMemoryInKilobytes)
{
    EXPECT_EQ(VersionLabel(1, 0), "Window version 1.0 for Linux");
    SystemInfo info;
    info.distribution = "Debian GNU/Linux 12 (bookworm)";
    info.kernelName = "Linux";
    info.kernelRelease = "6.1.0-18-amd64";
    info.processor = "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz";
    info.totalPhysical = 16318424ULL * 1024;
    info.availablePhysical = 9000000ULL * 1024 + 1023;   // whole kilobytes, rounded down
    info.totalSwap = 1048572ULL * 1024;
    info.freeSwap = 48572ULL * 1024;
    const AboutReport report = AboutReport::Of(info);
    EXPECT_TRUE(report.outcome.ok);
    EXPECT_EQ(report.lines, QStringList({"Debian GNU/Linux 12 (bookworm), Linux 6.1 (Build 6.1.0-18-amd64)",
                                         "CPU: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz",
                                         "Total Physical Memory: 16,318,424K",
                                         "Available Physical Memory: 9,000,000K",
                                         "Total Virtual Memory: 17,366,996K",
                                         "Available Virtual Memory: 9,048,572K"}));

    info.processor.clear();
    EXPECT_EQ(AboutReport::Of(info).lines.at(1), "CPU: (unknown)");
    info.kernelRelease.clear();   // uname failed
    const AboutReport unknown = AboutReport::Of(info);
    EXPECT_FALSE(unknown.outcome.ok);
    EXPECT_EQ(unknown.outcome.message, "Error Getting Version Information");
    EXPECT_TRUE(unknown.lines.isEmpty());
}

TEST(AboutReport, ThisMachinesReportAgreesWithProcAndOsRelease)
{
    const AboutReport report = AboutReport::Of(SystemInfo::Read());
    ASSERT_TRUE(report.outcome.ok);
    ASSERT_EQ(report.lines.size(), 6);

    QString osRelease = ReadFile("/etc/os-release");
    if (osRelease.isEmpty()) osRelease = ReadFile("/usr/lib/os-release");
    const QString pretty = FirstValue(osRelease, R"re(^PRETTY_NAME="?([^"\n]*)"?$)re");
    if (!pretty.isEmpty()) {
        EXPECT_TRUE(report.lines[0].startsWith(pretty + ", ")) << report.lines[0].toStdString();
    }
    const ToolResult uname = RunTool("uname", {"-r"});
    ASSERT_EQ(uname.exitCode, 0);
    EXPECT_TRUE(report.lines[0].endsWith("(Build " + uname.output.trimmed() + ")")) << report.lines[0].toStdString();

    const QString model = FirstValue(ReadFile("/proc/cpuinfo"), R"(^model name\s*:(.*)$)");
    if (!model.isEmpty()) {
        EXPECT_EQ(report.lines[1], "CPU: " + model);
    }

    const QString meminfo = ReadFile("/proc/meminfo");
    const qint64 total = MemKilobytes(meminfo, "MemTotal");
    const qint64 swap = MemKilobytes(meminfo, "SwapTotal");
    ASSERT_GT(total, 0);
    EXPECT_EQ(report.lines[2], "Total Physical Memory: " + Thousands(total) + "K");
    EXPECT_EQ(report.lines[4], "Total Virtual Memory: " + Thousands(total + swap) + "K");
    // Available memory moves while the test runs: within a twentieth of the kernel's figure.
    const qint64 available = MemKilobytes(meminfo, "MemAvailable");
    const QString shown = FirstValue(report.lines[3], R"(^Available Physical Memory: ([\d,]+)K$)");
    ASSERT_FALSE(shown.isEmpty()) << report.lines[3].toStdString();
    EXPECT_NEAR(double(QString(shown).remove(',').toLongLong()), double(available), available / 20.0);
}

TEST(StartSysInfo, StartsTheProgramFoundOnThePathOrSaysItIsUnavailable)
{
    TempDir dir;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    const Outcome missing = StartSysInfo();
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "System Information Is Unavailable At This Time");

    // A stand-in for the system information program, which leaves a mark when it runs.
    const QString program = dir.file("hardinfo");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\necho ran > '%1'\n").arg(dir.file("ran")).toUtf8());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const Outcome started = StartSysInfo();
    qputenv("PATH", path);
    EXPECT_TRUE(started.ok);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(dir.file("ran")); }, Slack(10000)));
}
