// How dbftool shows a record: values as UTF-8 text (C and M decoded from Windows-1252,
// C without trailing blanks, N as stored without padding, D YYYYMMDD, L T/F, empty for
// unset values), either as one tab-separated line (control characters escaped, so one
// record is one line) or as a CSV row (quoted where needed, line breaks kept).
#pragma once

#include "dbf/table.h"

#include <QByteArray>
#include <QStringList>

namespace sendwerk::dbftool {

// The current record's values, in field order.
QStringList recordValues(const dbf::Table& table);

// "RECNO", "DELETED" and the field names.
QStringList headerValues(const dbf::Table& table);
// The record number, "*" when deleted (else empty), then the values.
QStringList recordRow(const dbf::Table& table);

QByteArray plainLine(const QStringList& values);
QByteArray csvLine(const QStringList& values);

}  // namespace sendwerk::dbftool
