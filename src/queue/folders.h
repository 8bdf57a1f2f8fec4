// The queue's folders below the data root `cDatver`, in DOS form with their closing
// backslash: the outbox and its failure and quarantine folders. Every path of a queue
// folder is composed here, so the layout of the office's disk is written down once.
// (An order's archive names are derived from its outbox path in queue/order_names.h.)
#pragma once

#include <QString>

namespace sendwerk {

enum class Folder { Outbox, Failure, Quarantine };

// "C:\ZUMA\" + "CMail\Ausgang\", "…\Ausgang\failure\" or "…\Ausgang\quarantine\".
QString folderPath(const QString& cDatver, Folder folder);
// The folder's listing pattern for order files: folderPath() + "*.ausg".
QString orderPattern(const QString& cDatver, Folder folder);

// The office's routines choose between the two error folders by a number: 0 is the
// failure folder, any other value the quarantine folder.
Folder errorFolder(int nFQ);

}  // namespace sendwerk
