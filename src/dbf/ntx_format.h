// The NTX index file layout shared by the reader and the builder: 1024-byte pages, page 0
// the header (signature, root, key size, items per page, key expression), every other
// page a count, a table of item slot offsets and the items (left child, record number,
// key). parseNtxHeader() checks what a reader relies on and throws DbfError naming the
// file and the fault.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace sendwerk::dbf {

inline constexpr int ntxPageSize = 1024;

struct NtxHeader {
    quint16 signature = 0x0006;
    quint16 version = 1;
    quint32 root = 0;
    quint32 freePage = 0;
    int keySize = 0;
    int keyDecimals = 0;
    int maxItems = 0;  // m
    int halfPage = 0;
    QString expression;
    bool unique = false;
    bool descending = false;

    int itemSize() const { return keySize + 8; }
    // Offset of item slot i on a fresh page.
    int slotOffset(int i) const { return 2 * (maxItems + 2) + i * itemSize(); }
};

// m = floor(1022 / (key size + 10)) - 1, one less again when odd and above 2.
int ntxMaxItems(int keySize);
NtxHeader ntxHeaderFor(int keySize, int keyDecimals, const QString& expression);

NtxHeader parseNtxHeader(const QByteArray& page, const QString& path, std::int64_t fileSize);
QByteArray ntxHeaderBytes(const NtxHeader& header);

}  // namespace sendwerk::dbf
