// A program that makes its scratch folder, puts a file in it, prints the folder and ends.
#include "platform/system/TemporaryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = platform::ScratchFolder();
    QFile file(QDir(folder).filePath("Untitled1.wav"));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write("RIFF");
    file.close();
    std::printf("%s\n", qPrintable(folder));
    return 0;
}
