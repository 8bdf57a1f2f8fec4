#include "queue/folders.h"

namespace sendwerk {

QString folderPath(const QString& cDatver, Folder folder) {
    const QString outbox = cDatver + QStringLiteral("CMail\\Ausgang\\");
    switch (folder) {
    case Folder::Outbox: return outbox;
    case Folder::Failure: return outbox + QStringLiteral("failure\\");
    case Folder::Quarantine: return outbox + QStringLiteral("quarantine\\");
    }
    return outbox;
}

QString orderPattern(const QString& cDatver, Folder folder) {
    return folderPath(cDatver, folder) + QStringLiteral("*.ausg");
}

Folder errorFolder(int nFQ) { return nFQ == 0 ? Folder::Failure : Folder::Quarantine; }

}  // namespace sendwerk
