#include "imaging/file/SaveTarget.h"

#include "imaging/file/SaveFormat.h"

SaveTarget SaveTargetOf(int filterIndex, const QString& fileName)
{
    if (filterIndex < 1 || filterIndex > SaveTypeEntries)
        return {fileName.right(3).toUpper(), fileName};

    SaveTarget target{SaveTypeWordOfEntry(filterIndex), fileName};
    // Only the file's own name counts: a dot in a folder name ("/home/me/v1.2/graph") is no
    // extension.
    const qsizetype slash = fileName.lastIndexOf(u'/');
    if (!fileName.mid(slash + 1).contains(u'.')) target.path += u'.' + target.typeWord;
    return target;
}

QString ProposedSaveName(const QString& source, const QStringList& namesInFolder)
{
    if (source.isEmpty()) return {};
    const qsizetype slash = source.lastIndexOf(u'/');
    const QString folder = source.left(slash + 1);
    const QString name = source.mid(slash + 1);
    // The base name: up to the last dot, unless the name has none or starts with its only one.
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    auto taken = [&namesInFolder](const QString& candidate) {
        for (const QString& existing : namesInFolder) {
            if (existing.compare(candidate, Qt::CaseInsensitive) == 0) return true;
            if (existing.size() > candidate.size() && existing.at(candidate.size()) == u'.' &&
                existing.startsWith(candidate, Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    for (int n = 1;; ++n) {
        const QString candidate = base + u'_' + QString::number(n);
        if (!taken(candidate)) return folder + candidate;
    }
}
