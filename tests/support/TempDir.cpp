#include "TempDir.h"

TempDir::TempDir() : dir_(QDir::tempPath() + "/kivra-test-XXXXXX") {}

QString TempDir::file(const QString& name) const { return dir_.filePath(name); }
