#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace sendwerk {

QString germanCause(int errorNumber) {
    switch (errorNumber) {
    case ENOENT: return QStringLiteral("nicht vorhanden");
    case EACCES:
    case EPERM: return QStringLiteral("keine Berechtigung");
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return QStringLiteral("kein Platz mehr auf dem Datenträger");
    case EROFS: return QStringLiteral("Datenträger nur lesbar");
    case EEXIST: return QStringLiteral("schon vorhanden");
    case EISDIR: return QStringLiteral("ist ein Ordner");
    case ENOTDIR: return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("wird gerade benutzt");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case ENAMETOOLONG: return QStringLiteral("Name zu lang");
    case EMFILE:
    case ENFILE: return QStringLiteral("zu viele offene Dateien");
    default: return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

}  // namespace sendwerk
