#include "imaging/window/FileSelection.h"

QStringList SplitFileList(const QString& selection)
{
    QStringList pieces;
    QString rest = selection.trimmed();
    for (;;) {
        const qsizetype nul = rest.indexOf(QChar(0));
        if (nul < 0) break;
        pieces << rest.left(nul);
        rest = rest.mid(nul + 1);
        qsizetype blanks = 0;
        while (blanks < rest.size() && rest[blanks] == u' ') ++blanks;
        rest.remove(0, blanks);
    }
    pieces << rest;
    return pieces;
}

QString AddBackslash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/')) return folder;
    return folder + u'/';
}
