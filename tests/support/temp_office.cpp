#include "support/temp_office.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace sendwerk::testing {

TempOffice::TempOffice() {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QMap<QChar, QString> TempOffice::drives() const { return {{QChar('C'), root()}}; }

QString TempOffice::native(const QString& relative) const { return root() + "/" + relative; }

void TempOffice::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = native(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

QByteArray TempOffice::read(const QString& relative) const {
    QFile file(native(relative));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool TempOffice::exists(const QString& relative) const { return QFileInfo::exists(native(relative)); }

void TempOffice::makeFolder(const QString& relative) const { QDir().mkpath(native(relative)); }

// The environment may point a test at another tree; by default the one it was built in.
static QString fromEnvironment(const char* name, const char* builtIn) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QString::fromUtf8(builtIn) : QString::fromLocal8Bit(value);
}

QString sourceDir() { return fromEnvironment("SENDWERK_SOURCE_DIR", SENDWERK_SOURCE_DIR); }
QString binaryDir() { return fromEnvironment("SENDWERK_BINARY_DIR", SENDWERK_BINARY_DIR); }

}  // namespace sendwerk::testing
