// Finding the files of a table on disk: the DBF from a name with or without extension,
// and the DBT or NTX beside it, each matched case-insensitively against what exists
// (an exact match wins), as the office's files come in any letter case.
#pragma once

#include <QString>

namespace sendwerk::dbf {

// `path` itself when it exists; else a file in its folder whose name matches
// case-insensitively; else `path` unchanged.
QString existingSpelling(const QString& path);
// The DBF of `path`: ".dbf"/".DBF" added when the name has no extension.
QString tablePathFor(const QString& path);
// The DBF's sibling with another extension ("dbt"), in the letter case of the DBF's own.
QString siblingPath(const QString& dbfPath, const QString& extension);

}  // namespace sendwerk::dbf
