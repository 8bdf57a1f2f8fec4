// The header of a dBASE III table: the 32-byte file header and the field descriptors.
// parseHeader() checks everything a reader relies on (version, field types, the header
// length against the descriptors and their terminator, the record length against the
// fields' widths plus the deletion flag) and throws DbfError naming the file and the
// fault, so no later read runs outside a record and nothing is written into a table
// whose layout could not be validated. headerBytes() writes the form other engines
// read: version 0x03 (0x83 with memo fields), a lone 0x0D terminator.
#pragma once

#include "dbf/table.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <cstdint>

namespace sendwerk::dbf {

struct TableLayout {
    std::uint8_t version = 0x03;
    QDate lastUpdate;
    std::uint32_t headerRecordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    QList<FieldDef> fields;
    QList<int> offsets;  // of each field within the record (byte 0 is the deletion mark)

    bool hasMemo() const;
};

// `bytes` is at least the start of the file (the whole header when the file holds it).
TableLayout parseHeader(const QByteArray& bytes, const QString& path);

// Checks a field list for create(): names, types, widths. Returns it normalised (names
// upper case, fixed widths of D L M).
QList<FieldDef> checkedFields(const QList<FieldDef>& fields, const QString& path);
TableLayout layoutOf(const QList<FieldDef>& fields);

QByteArray headerBytes(const TableLayout& layout);
// Bytes 1..7 (date of last update and record count), rewritten at each append.
QByteArray countAndDateBytes(std::uint32_t recordCount, const QDate& date);

}  // namespace sendwerk::dbf
