// The program's own temporary files: a file that is being written (a copy, a result
// file, a new table) lies beside its final name as that name + ".~" + eight hex digits
// until it is complete, and only then takes the final name. One pattern for all of
// them, so a listing for "*.ausg" never sees one, and start-up can tell the program's
// own leftovers from anything else in a folder.
#pragma once

#include <QString>

#include "platform/result.h"

namespace sendwerk {

// A fresh temporary name beside `target` (native or DOS path: only the end changes).
QString temporarySibling(const QString& target);
// A new temporary file beside a native target, opened for reading and writing; the
// caller owns the descriptor. Never one that exists already (random names can meet: a
// forked copy draws the same ones), so two writers never share one.
struct TemporaryFile {
    int fd = -1;
    QString path;
};
Result<TemporaryFile> createTemporarySibling(const QString& nativeTarget);

// True when the file name (no folder) has the temporary pattern.
bool isTemporarySibling(const QString& fileName);

// Gives `from` the name `to` only when no file of that name exists: 0 when done, else
// the errno (EEXIST: a file of that name is there; nothing was changed).
int renameWithoutReplacing(const QString& fromNative, const QString& toNative);

}  // namespace sendwerk
