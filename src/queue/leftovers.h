// The program's own temporary files that a crash left behind (a copy, a result or a
// new table interrupted half-way: names of the pattern of platform/temporary_files.h)
// in the mail folder, the outbox, its failure and quarantine folders and the archive.
// removeLeftovers() erases exactly those, nothing else of any folder, and tells which;
// start-up and every send run call it, and the run names them in the outbox pane.
// GUI thread.
#pragma once

#include <QString>
#include <QStringList>

namespace sendwerk {

class FileSystem;

// DOS paths of the files removed.
QStringList removeLeftovers(const QString& cDatver, const FileSystem& files);

// The outbox pane's note about them (CR LF first); empty when there were none.
QString leftoversNote(const QStringList& removed);

}  // namespace sendwerk
