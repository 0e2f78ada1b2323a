#pragma once
// A temporary folder for one test, removed with everything in it when the test ends.
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    // path() + "/" + name
    QString file(const QString& name) const;
private:
    QTemporaryDir dir_;
};
