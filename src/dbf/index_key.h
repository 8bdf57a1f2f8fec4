// The key expressions an NTX index of this engine can have, and how their keys are
// made: a plain field name (C as stored, N in the numeric key encoding, D YYYYMMDD,
// L T/F) or STR(field, width[, decimals]) over an N field (the number as text,
// right-aligned). Names compare case-insensitively; anything else is refused with
// DbfError, since a key the engine cannot compute would make seeks silently wrong.
#pragma once

#include "dbf/table.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace sendwerk::dbf {

struct IndexKey {
    enum class Kind { Text, Numeric, Str };
    Kind kind = Kind::Text;
    int field = 0;     // index in the table's field list
    int length = 0;    // key size in bytes
    int decimals = 0;  // Numeric and Str

    bool numeric() const { return kind == Kind::Numeric; }
};

IndexKey parseKeyExpression(const QString& expression, const QList<FieldDef>& fields, const QString& path);

// The key of a record, from the stored bytes of the key's field.
QByteArray keyOf(const IndexKey& key, const QByteArray& rawField);
// A search value given as text (text keys) or as a number (numeric and STR keys).
QByteArray searchKey(const IndexKey& key, const QByteArray& value);
QByteArray searchKey(const IndexKey& key, double value);

// STR(value, width, decimals) with leading blanks made "0"; negatives as formats.md says.
QByteArray numericKey(double value, int width, int decimals);

}  // namespace sendwerk::dbf
