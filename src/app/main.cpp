// KIVRA starts here: --help and --version answer on the terminal before any window exists;
// otherwise the frame and nothing else; the frame opens the start-up file.
#include "app/CommandLine.h"
#include "app/MDIMain.h"
#include "app/StartupTimes.h"
#include "platform/ui/QtPrompts.h"
#include "platform/system/MemoryReuse.h"
#include "platform/system/QtTranslations.h"
#include "text/LoadText.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    StartupTimes::MarkStart();
    KeepPictureMemoryForReuse();
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i) rawArguments << QString::fromLocal8Bit(argv[i]);
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    switch (ParseCommandLine(rawArguments).action) {
    case CommandLine::Action::Help:
        std::fputs(HelpText(program).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(VersionText(program, KIVRA_VERSION).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Run:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("KIVRA");
    QApplication::setOrganizationName("KIVRA");
    QApplication::setApplicationVersion(KIVRA_VERSION);
    // The desktop matches the windows to the installed menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(KIVRA_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(KIVRA_APP_ID));

    // Qt's dialogs and buttons speak the interface language too.
    const text::Language language = text::CurrentLanguage();
    if (language != text::Language::English)
        platform::InstallQtTranslations(language == text::Language::ChineseTraditional ? "zh_TW" : "zh_CN");

    MDIMain frame;
    Prompts::Install(std::make_unique<QtPrompts>(&frame));
    StartupTimes::Watch(frame);
    frame.show();
    // Qt has taken its own options (-platform, -style...) out of the arguments by now; the rest
    // is the file, which may have arrived in pieces when it has spaces.
    frame.Load(ParseCommandLine(QApplication::arguments().mid(1)).file);
    return QApplication::exec();
}
