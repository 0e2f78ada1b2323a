#include "Tools.h"

#include <QProcess>
#include <QStandardPaths>

ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    ToolResult result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

bool ToolAvailable(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}
