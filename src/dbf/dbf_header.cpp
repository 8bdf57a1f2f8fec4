#include "dbf/dbf_header.h"

#include <QtEndian>

#include <string>

namespace sendwerk::dbf {

namespace {

constexpr int fileHeaderSize = 32;
constexpr int descriptorSize = 32;
constexpr char terminator = 0x0D;

std::string hex(std::uint8_t value) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[value >> 4] + digits[value & 0xF];
}

[[noreturn]] void refuse(const QString& path, const std::string& cause) {
    throw DbfError(path.toStdString() + ": " + cause);
}

void checkVersion(std::uint8_t version, const QString& path) {
    if (version == 0x03 || version == 0x83) return;
    std::string kind = "an unknown table format";
    if (version == 0x8B) kind = "a dBASE IV table with memo";
    if (version == 0xF5) kind = "a FoxPro table with memo";
    if (version >= 0x30 && version <= 0x32) kind = "a Visual FoxPro table";
    refuse(path, kind + " (version byte " + hex(version) + "), only dBASE III tables (0x03, 0x83) are supported");
}

QDate dateFromBytes(const char* bytes) {
    const int year = static_cast<std::uint8_t>(bytes[0]);
    // year - 1900 from most writers; year % 100 from a few (taken as 1980..2079).
    const int fullYear = year >= 80 ? 1900 + year : 2000 + year;
    return QDate(fullYear, static_cast<std::uint8_t>(bytes[1]), static_cast<std::uint8_t>(bytes[2]));
}

FieldDef parseDescriptor(const char* raw, const QString& path, int number) {
    FieldDef field;
    int length = 0;
    while (length < 11 && raw[length] != '\0') ++length;
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c < 0x20 || c > 0x7E) refuse(path, "field " + std::to_string(number) + " has a name with non-ASCII bytes");
    }
    field.name = QString::fromLatin1(raw, length).trimmed().toUpper();
    if (field.name.isEmpty()) refuse(path, "field " + std::to_string(number) + " has no name");
    field.type = raw[11];
    if (QByteArray("CNDLM").indexOf(field.type) < 0)
        refuse(path, "field " + field.name.toStdString() + " has the unknown type " +
                         hex(static_cast<std::uint8_t>(field.type)));
    field.width = static_cast<std::uint8_t>(raw[16]);
    field.decimals = static_cast<std::uint8_t>(raw[17]);
    return field;
}

int sumOfWidths(const QList<FieldDef>& fields) {
    int sum = 0;
    for (const FieldDef& f : fields) sum += f.width;
    return sum;
}

}  // namespace

bool TableLayout::hasMemo() const {
    for (const FieldDef& f : fields)
        if (f.type == 'M') return true;
    return false;
}

TableLayout parseHeader(const QByteArray& bytes, const QString& path) {
    if (bytes.size() < fileHeaderSize + 1)
        refuse(path, "truncated table header (" + std::to_string(bytes.size()) + " bytes)");
    TableLayout layout;
    const char* data = bytes.constData();
    layout.version = static_cast<std::uint8_t>(data[0]);
    checkVersion(layout.version, path);
    layout.lastUpdate = dateFromBytes(data + 1);
    layout.headerRecordCount = qFromLittleEndian<quint32>(data + 4);
    layout.headerLength = qFromLittleEndian<quint16>(data + 8);
    layout.recordLength = qFromLittleEndian<quint16>(data + 10);
    if (layout.headerLength < fileHeaderSize + descriptorSize + 1)
        refuse(path, "header length " + std::to_string(layout.headerLength) + " is too small for one field");
    if (layout.headerLength > bytes.size())
        refuse(path, "header length " + std::to_string(layout.headerLength) + " lies beyond the end of the file (" +
                         std::to_string(bytes.size()) + " bytes)");
    if (layout.recordLength < 2) refuse(path, "record length " + std::to_string(layout.recordLength) + " is too small");

    // The descriptors end at their terminator, wherever the header length says the
    // records begin: the two must agree, or every record would be read shifted.
    int at = fileHeaderSize;
    for (; at + descriptorSize <= bytes.size() && data[at] != terminator; at += descriptorSize)
        layout.fields.append(parseDescriptor(data + at, path, layout.fields.size() + 1));
    if (layout.fields.isEmpty()) refuse(path, "the header describes no fields");
    if (at >= bytes.size() || data[at] != terminator) refuse(path, "the field descriptors have no terminator");
    // A lone 0x0D, or 0x0D 0x00 as some writers put it.
    const bool terminatorFits =
        layout.headerLength == at + 1 || (layout.headerLength == at + 2 && data[at + 1] == '\0');
    if (!terminatorFits)
        refuse(path, "header length " + std::to_string(layout.headerLength) + " does not fit " +
                         std::to_string(layout.fields.size()) + " field descriptors and their terminator (expected " +
                         std::to_string(at + 1) + ")");

    if (sumOfWidths(layout.fields) + 1 != layout.recordLength) {
        // Some engines keep wide C fields' high width byte in the decimals byte.
        QList<FieldDef> wide = layout.fields;
        for (FieldDef& f : wide)
            if (f.type == 'C') f.width += 256 * f.decimals, f.decimals = 0;
        if (sumOfWidths(wide) + 1 == layout.recordLength) layout.fields = wide;
    }
    int offset = 1;
    for (const FieldDef& f : layout.fields) {
        if (f.width == 0) refuse(path, "field " + f.name.toStdString() + " has width 0");
        layout.offsets.append(offset);
        offset += f.width;
    }
    // A record length that is larger than the fields need would count the records
    // wrongly (an append would then overwrite old ones), a smaller one cut the last field.
    if (offset != layout.recordLength)
        refuse(path, "the fields need " + std::to_string(offset) +
                         " bytes (with the deletion flag) but the record "
                         "length is " +
                         std::to_string(layout.recordLength));
    return layout;
}

QList<FieldDef> checkedFields(const QList<FieldDef>& fields, const QString& path) {
    if (fields.isEmpty()) refuse(path, "a table needs at least one field");
    if (fields.size() > 255) refuse(path, "too many fields (" + std::to_string(fields.size()) + ")");
    QList<FieldDef> result;
    int recordLength = 1;
    for (FieldDef f : fields) {
        const std::string name = f.name.toStdString();
        if (f.name.isEmpty() || f.name.size() > 10)
            refuse(path, "field name \"" + name + "\" must have 1 to 10 characters");
        for (QChar c : f.name)
            if (c.unicode() > 0x7E || !(c.isLetterOrNumber() || c == QLatin1Char('_')))
                refuse(path, "field name \"" + name + "\" may hold only ASCII letters, digits and _");
        f.name = f.name.toUpper();
        for (const FieldDef& earlier : result)
            if (earlier.name == f.name) refuse(path, "field name \"" + name + "\" occurs twice");
        f.type = static_cast<char>(QChar::fromLatin1(f.type).toUpper().toLatin1());
        switch (f.type) {
        case 'C':
            if (f.width < 1 || f.width > 254) refuse(path, "field " + name + ": width of C must be 1 to 254");
            f.decimals = 0;
            break;
        case 'N':
            if (f.width < 1 || f.width > 20) refuse(path, "field " + name + ": width of N must be 1 to 20");
            if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
                refuse(path, "field " + name + ": decimals do not fit the width");
            break;
        case 'D': f.width = 8, f.decimals = 0; break;
        case 'L': f.width = 1, f.decimals = 0; break;
        case 'M': f.width = 10, f.decimals = 0; break;
        default: refuse(path, "field " + name + ": unknown type '" + std::string(1, f.type) + "'");
        }
        recordLength += f.width;
        result.append(f);
    }
    if (recordLength > 65535) refuse(path, "records would be longer than 65535 bytes");
    return result;
}

TableLayout layoutOf(const QList<FieldDef>& fields) {
    TableLayout layout;
    layout.fields = fields;
    layout.version = layout.hasMemo() ? 0x83 : 0x03;
    layout.lastUpdate = QDate::currentDate();
    layout.headerLength = fileHeaderSize + descriptorSize * static_cast<int>(fields.size()) + 1;
    int offset = 1;
    for (const FieldDef& f : fields) {
        layout.offsets.append(offset);
        offset += f.width;
    }
    layout.recordLength = offset;
    return layout;
}

QByteArray countAndDateBytes(std::uint32_t recordCount, const QDate& date) {
    QByteArray bytes(7, '\0');
    bytes[0] = static_cast<char>(date.year() - 1900);
    bytes[1] = static_cast<char>(date.month());
    bytes[2] = static_cast<char>(date.day());
    qToLittleEndian<quint32>(recordCount, bytes.data() + 3);
    return bytes;
}

QByteArray headerBytes(const TableLayout& layout) {
    QByteArray bytes(layout.headerLength, '\0');
    bytes[0] = static_cast<char>(layout.version);
    bytes.replace(1, 7, countAndDateBytes(layout.headerRecordCount, layout.lastUpdate));
    qToLittleEndian<quint16>(static_cast<quint16>(layout.headerLength), bytes.data() + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(layout.recordLength), bytes.data() + 10);
    int at = fileHeaderSize;
    for (const FieldDef& f : layout.fields) {
        const QByteArray name = f.name.toLatin1();
        bytes.replace(at, name.size(), name);
        bytes[at + 11] = f.type;
        bytes[at + 16] = static_cast<char>(f.width);
        bytes[at + 17] = static_cast<char>(f.decimals);
        at += descriptorSize;
    }
    bytes[at] = terminator;
    return bytes;
}

}  // namespace sendwerk::dbf
