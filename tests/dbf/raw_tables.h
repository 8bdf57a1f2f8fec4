// Test helpers of the table engine: a DBF written byte by byte (so tests can damage any
// part of it) and small conveniences around QTemporaryDir. Header-only.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

#include <stdexcept>

#include <utility>

namespace sendwerk::dbf::testing {

struct RawField {
    QByteArray name;
    char type;
    int width;
    int decimals = 0;
};

// A well-formed dBASE III file: header, descriptors, lone 0x0D, records, 0x1A.
inline QByteArray rawTable(const QList<RawField>& fields, const QList<QByteArray>& records, char version = 0x03) {
    int recordLength = 1;
    for (const RawField& f : fields) recordLength += f.width;
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    QByteArray bytes(headerLength, '\0');
    bytes[0] = version;
    bytes[1] = 126;
    bytes[2] = 7;
    bytes[3] = 15;
    qToLittleEndian<quint32>(static_cast<quint32>(records.size()), bytes.data() + 4);
    qToLittleEndian<quint16>(static_cast<quint16>(headerLength), bytes.data() + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(recordLength), bytes.data() + 10);
    int at = 32;
    for (const RawField& f : fields) {
        bytes.replace(at, f.name.size(), f.name);
        bytes[at + 11] = f.type;
        bytes[at + 16] = static_cast<char>(f.width);
        bytes[at + 17] = static_cast<char>(f.decimals);
        at += 32;
    }
    bytes[at] = 0x0D;
    for (const QByteArray& r : records) bytes += r.leftJustified(recordLength, ' ', true);
    return bytes + '\x1A';
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A little-endian integer of a file image; a position beyond the image is a test error,
// not a read outside the buffer.
template <typename Integer>
Integer littleEndianAt(const QByteArray& bytes, qsizetype at) {
    if (at < 0 || at + qsizetype(sizeof(Integer)) > bytes.size()) throw std::out_of_range("read beyond the file image");
    return qFromLittleEndian<Integer>(bytes.constData() + at);
}

}  // namespace sendwerk::dbf::testing
