// The subcommands of dbftool. Each works on native paths, writes its output to `out`
// and returns the exit code (0 success, 1 "not found" of seek); errors throw
// std::runtime_error (DbfError among them) whose text names the file and the cause.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace sendwerk::dbftool {

using Output = std::function<void(const QByteArray&)>;
// A line for the operator beside the output (stderr), for something done but worth a look.
using Notice = std::function<void(const QString&)>;

int info(const QString& table, const Output& out);
int dump(const QString& table, bool csv, const Output& out);
// Field definitions NAME:TYPE:WIDTH[:DEC]; the width may be left out for D, L and M.
int create(const QString& table, const QStringList& definitions, const Output& out);
// Assignments NAME=VALUE, all checked before the record is appended: a value that the
// field cannot hold (a number too wide, a text too long) refuses the whole record.
// Afterwards a notice names every index beside the table that now needs rebuilding.
int append(const QString& table, const QStringList& assignments, const Output& out, const Notice& notice);
int index(const QString& table, const QString& ntx, const QString& expression, const Output& out);
int seek(const QString& table, const QString& ntx, const QString& key, const Output& out);

}  // namespace sendwerk::dbftool
