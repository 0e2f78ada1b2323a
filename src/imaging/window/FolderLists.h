#pragma once
// The image processor's drive list (Drive1: the mounted file systems), folder tree (Dir1) and
// file list (File1), kept in step: choosing a drive shows its folders, choosing a folder lists
// its files, and naming a file's full path moves both lists to its folder.
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QFileSystemModel;
class QListView;
class QTreeView;
class QWidget;

class FolderLists : public QObject {
    Q_OBJECT
public:
    explicit FolderLists(QWidget* parent);

    QComboBox* drives() const { return Drive1; }
    QTreeView* folders() const { return Dir1; }
    QListView* files() const { return File1; }

    // Dir1's path: the folder the file list shows.
    QString path() const { return path_; }
    void setPath(const QString& folder);
    // File1's selection: a name in the folder, or empty.
    QString fileName() const { return fileName_; }
    // Selects a name of the folder; a full path (or a folder) moves both lists there first.
    void setFileName(const QString& nameOrPath);
    // The file list's pattern: "*.*" lists every file, a name without a dot too.
    void setPattern(const QString& pattern);
    QString pattern() const { return pattern_; }

    // The mount point a path lies on (the longest one that holds it).
    QString driveOf(const QString& path) const;

signals:
    void fileClicked();

private:
    void driveChosen(int index);
    void selectInList();
    void revealFolder();

    QComboBox* Drive1;
    QTreeView* Dir1;
    QListView* File1;
    QFileSystemModel* folderModel_;
    QFileSystemModel* fileModel_;
    QStringList mountPoints_;
    QString path_;
    QString fileName_;
    QString pattern_ = QStringLiteral("*.*");
};
