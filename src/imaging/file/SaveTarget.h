#pragma once
// The type word and the path a save dialog leads to.
#include <QString>
#include <QStringList>

struct SaveTarget {
    QString typeWord;   // three letters, upper-case; may name no format ("ALL", "PEG")
    QString path;
};

// From the dialog's filter index k after it closed and the chosen file name:
// - k outside 1..11: the type word is the last three characters of the name, upper-cased, and
//   the path is the name as chosen;
// - otherwise the type word is entry k's of savetypefilter; the path is the chosen name, with
//   "." and the type word appended when the file's own name (the part after the last folder
//   separator) has no dot. A name with a dot keeps its extension even when it differs from the
//   type word: the file is still written in the type word's format.
SaveTarget SaveTargetOf(int filterIndex, const QString& fileName);

// The name the image processor's Save dialog starts with for a picture made from source (a full
// path): never the source itself, which a Save confirmed at once would replace. It is the
// source's folder and base name followed by "_1", "_2"... and no extension (the dialog adds the
// chosen type's): the first that no file in the folder has as its base name, in any case and
// with any extension. namesInFolder: the names of the files in the source's folder. Empty for an
// empty source.
QString ProposedSaveName(const QString& source, const QStringList& namesInFolder);
