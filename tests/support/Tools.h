#pragma once
// Runs an outside tool (sox, ffmpeg, lame, identify) for a test, with an argument list.
#include <QString>
#include <QStringList>

struct ToolResult {
    int exitCode = -1;      // -1 when the program could not be started or timed out
    QString output;         // standard output and standard error together
};

ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 60000);
bool ToolAvailable(const QString& program);
