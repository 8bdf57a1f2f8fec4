// Builds an NTX index over all records of a table (deleted ones included, as other
// engines do) in one pass: keys sorted by key then record number, packed bottom-up into
// a balanced B-tree whose pages hold at most m items and, below the root, at least
// about half of that. The file is written beside its final name and renamed into place
// after fsync, so a reader never sees half an index. Used by tests, the demo and
// dbftool; the program itself only reads indexes.
#pragma once

#include "dbf/table.h"

#include <QString>

namespace sendwerk::dbf {

// Throws DbfError for an expression the engine cannot compute or an I/O error.
void buildIndex(Table& table, const QString& ntxNativePath, const QString& expression);

}  // namespace sendwerk::dbf
