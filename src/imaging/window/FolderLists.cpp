#include "imaging/window/FolderLists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTreeView>

namespace {
// The file systems a user keeps files on: the root and those on devices, not the kernel's own.
QStringList MountPoints()
{
    QStringList points{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.device().startsWith("/dev/") && !points.contains(root) &&
            !root.startsWith("/boot") && !root.startsWith("/snap"))
            points << root;
    }
    return points;
}
}

FolderLists::FolderLists(QWidget* parent)
    : QObject(parent), Drive1(new QComboBox(parent)), Dir1(new QTreeView(parent)),
      File1(new QListView(parent)), folderModel_(new QFileSystemModel(this)),
      fileModel_(new QFileSystemModel(this))
{
    setObjectName("folderlists");
    Drive1->setObjectName("Drive1");
    Dir1->setObjectName("Dir1");
    File1->setObjectName("File1");

    mountPoints_ = MountPoints();
    Drive1->addItems(mountPoints_);

    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folderModel_->setRootPath(QStringLiteral("/"));
    Dir1->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column) Dir1->hideColumn(column);
    Dir1->header()->hide();

    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilterDisables(false);
    File1->setModel(fileModel_);
    File1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    connect(Drive1, &QComboBox::activated, this, &FolderLists::driveChosen);
    connect(Dir1, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        setPath(folderModel_->filePath(index));
    });
    connect(File1, &QListView::clicked, this, [this](const QModelIndex& index) {
        fileName_ = fileModel_->fileName(index);
        emit fileClicked();
    });
    connect(fileModel_, &QFileSystemModel::directoryLoaded, this, &FolderLists::selectInList);
    // The folder tree reads its folders as it goes: the folder is shown again once those on
    // its way are read.
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (path_ == loaded || path_.startsWith(loaded.endsWith('/') ? loaded : loaded + '/')) revealFolder();
    });
    setPattern(pattern_);
    // The lists start in the program's current folder, as folder lists do.
    setPath(QDir::currentPath());
}

QString FolderLists::driveOf(const QString& path) const
{
    QString best = QStringLiteral("/");
    for (const QString& point : mountPoints_)
        if ((path == point || path.startsWith(point.endsWith('/') ? point : point + '/')) &&
            point.size() > best.size())
            best = point;
    return best;
}

void FolderLists::driveChosen(int index)
{
    const QString root = Drive1->itemText(index);
    if (QFileInfo(root).isDir() && QStorageInfo(root).isReady()) {
        setPath(root);
        return;
    }
    // A drive that is not ready: the list goes back to the folder's drive, silently.
    const QSignalBlocker quiet(Drive1);
    Drive1->setCurrentText(driveOf(path_));
}

void FolderLists::setPath(const QString& folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QFileInfo(clean).isDir()) return;
    if (clean != path_) fileName_.clear();
    path_ = clean;
    revealFolder();
    File1->setRootIndex(fileModel_->setRootPath(path_));
    {
        const QSignalBlocker quiet(Drive1);
        Drive1->setCurrentText(driveOf(path_));
    }
    selectInList();
}

void FolderLists::revealFolder()
{
    const QModelIndex folderIndex = folderModel_->index(path_);
    Dir1->setCurrentIndex(folderIndex);
    Dir1->expand(folderIndex);
    Dir1->scrollTo(folderIndex);
}

void FolderLists::setFileName(const QString& nameOrPath)
{
    if (nameOrPath.contains(u'/')) {
        const QFileInfo info(nameOrPath);
        if (info.isDir()) {
            setPath(info.absoluteFilePath());
            return;
        }
        setPath(info.absolutePath());
        fileName_ = info.fileName();
    } else {
        fileName_ = nameOrPath;
    }
    selectInList();
}

void FolderLists::setPattern(const QString& pattern)
{
    pattern_ = pattern;
    // "*.*" means every file, also those whose names have no dot.
    fileModel_->setNameFilters({pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern});
}

void FolderLists::selectInList()
{
    const QModelIndex index =
        fileName_.isEmpty() ? QModelIndex() : fileModel_->index(QDir(path_).filePath(fileName_));
    File1->setCurrentIndex(index);
    if (index.isValid()) File1->scrollTo(index);
}
