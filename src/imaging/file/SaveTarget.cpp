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
