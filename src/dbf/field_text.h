// Text as an operator types it (at the command line or in a grid cell) turned into the
// bytes a field stores, with the checks that keep a value from being stored cut, as
// asterisks or as something other than what was typed:
// - C: Windows-1252 text, at most the field's width (trailing blanks do not count);
// - N: a number, "," or "." as the decimal point, that fits width and decimals;
// - D: a date as YYYYMMDD or DD.MM.YYYY;
// - L: T, Y or J for true, F or N for false (either case), "?" for unset;
// - M: any Windows-1252 text (the memo itself, no width).
// Empty text (or only blanks) is the empty value of N, D and L. A refusal is a Failure
// whose German cause names the field and the value. fieldText() goes the other way, to
// the form the office reads and types: C in full width, N right-aligned with its
// decimals, D as DD.MM.YYYY, L as T or F; an empty value is all blanks. Pure functions,
// any thread.
#pragma once

#include "dbf/table.h"
#include "platform/result.h"

#include <QByteArray>
#include <QString>

namespace sendwerk::dbf {

Result<QByteArray> storedBytes(const FieldDef& field, const QString& text);
QString fieldText(const FieldDef& field, const QByteArray& stored);
// The width of fieldText() for the field: 10 for D, the field's width otherwise.
int textWidth(const FieldDef& field);

}  // namespace sendwerk::dbf
