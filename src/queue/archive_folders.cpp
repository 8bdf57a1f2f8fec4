#include "queue/archive_folders.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "queue/folders.h"

namespace sendwerk {

void createArchiveFolders(const QString& cDatver, const QString& cAuftrag, const QString& cMailForm,
                          const FileSystem& files, Clock& clock) {
    const QString orderFolder = archiveRoot(cDatver) + cAuftrag;
    for (const QString& folder : {orderFolder, orderFolder + '\\' + cMailForm}) {
        if (files.folderExists(folder)) continue;
        files.makeFolders(folder);
        clock.pause(1);
    }
}

}  // namespace sendwerk
