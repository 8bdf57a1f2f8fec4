// Creates the two archive levels "CMail\gesendet\<order number>\<form name>" below the
// data root when they are missing, directly through the file system, with the
// one-second pause after each creation that the office's timing expects. Does not
// report failure: a missing folder shows when the archive copy fails. GUI thread.
#pragma once

#include <QString>

namespace sendwerk {

class FileSystem;
class Clock;

void createArchiveFolders(const QString& cDatver, const QString& cAuftrag, const QString& cMailForm,
                          const FileSystem& files, Clock& clock);

}  // namespace sendwerk
