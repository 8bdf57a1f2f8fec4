// A throw-away office for tests: a temporary folder mapped as drive C:, removed again
// when the object goes. Tests compose DOS paths ("C:\ZUMA\CMail\...") exactly as the
// program does and look at the native files through native().
#pragma once

#include <QByteArray>
#include <QChar>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace sendwerk::testing {

class TempOffice {
public:
    TempOffice();

    // Native root folder that drive C: maps to.
    QString root() const { return dir_.path(); }
    // Drive map with C: → root().
    QMap<QChar, QString> drives() const;
    // Native path of a path relative to the root ("ZUMA/CMail/x").
    QString native(const QString& relative) const;

    // Creates a file (and its folders) relative to the root.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    void makeFolder(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Folder of the source tree (for fixtures and scripts under tests/).
QString sourceDir();
// Folder of the build tree (for built tools).
QString binaryDir();

}  // namespace sendwerk::testing
