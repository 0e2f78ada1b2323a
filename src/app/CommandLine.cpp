#include "app/CommandLine.h"

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine out;
    QStringList pieces;
    bool optionsEnded = false;
    for (const QString& a : arguments) {
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && out.action == CommandLine::Action::Run) {
            if (a == "-h" || a == "--help") {
                out.action = CommandLine::Action::Help;
                continue;
            }
            if (a == "-v" || a == "--version") {
                out.action = CommandLine::Action::Version;
                continue;
            }
        }
        pieces << a;
    }
    out.file = pieces.join(' ');
    return out;
}

QString HelpText(const QString& program)
{
    return QStringLiteral(
               "Usage: %1 [FILE]\n"
               "KIVRA, a toolkit for science teaching: sound analyser, FFT spectrum, audio "
               "recorder,\nwebcam capture with time-lapse, video player and image processor.\n"
               "\n"
               "FILE opens at start: a .wav sound in the sound analyser, an .mp3 sound after\n"
               "decoding it to WAV, any other file in the video player. Without FILE, KIVRA opens\n"
               "the file of its last run.\n"
               "\n"
               "Options:\n"
               "  -h, --help     show this help and exit\n"
               "  -v, --version  show the version and exit\n"
               "  --             end of options: what follows is the file, even if it starts "
               "with -\n"
               "\n"
               "Environment:\n"
               "  KIVRA_LANG     interface language: en, zh_TW or zh_CN (default: the system's)\n")
        .arg(program);
}

QString VersionText(const QString& program, const QString& version)
{
    return QStringLiteral("%1 %2\n").arg(program, version);
}
