// KIVRA starts here: the frame and nothing else; the frame opens the start-up file.
#include "app/MDIMain.h"
#include "platform/QtPrompts.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("KIVRA");
    QApplication::setOrganizationName("KIVRA");

    MDIMain frame;
    Prompts::Install(std::make_unique<QtPrompts>(&frame));
    frame.show();
    // The command line carries at most one path; a path with spaces may arrive in pieces.
    const QStringList args = QApplication::arguments().mid(1);
    frame.Load(args.join(' '));
    return QApplication::exec();
}
