#include "dbf/ntx_format.h"

#include "dbf/table.h"

#include <QtEndian>

namespace sendwerk::dbf {

namespace {

constexpr int expressionOffset = 22;
constexpr int expressionSize = 256;

[[noreturn]] void refuse(const QString& path, const std::string& cause) {
    throw DbfError(path.toStdString() + ": " + cause);
}

}  // namespace

int ntxMaxItems(int keySize) {
    int m = 1022 / (keySize + 10) - 1;
    if (m % 2 == 1 && m > 2) --m;
    return m;
}

NtxHeader ntxHeaderFor(int keySize, int keyDecimals, const QString& expression) {
    NtxHeader header;
    header.keySize = keySize;
    header.keyDecimals = keyDecimals;
    header.maxItems = ntxMaxItems(keySize);
    header.halfPage = header.maxItems / 2;
    header.expression = expression;
    return header;
}

NtxHeader parseNtxHeader(const QByteArray& page, const QString& path, std::int64_t fileSize) {
    if (page.size() < ntxPageSize) refuse(path, "truncated index header");
    const char* data = page.constData();
    NtxHeader header;
    header.signature = qFromLittleEndian<quint16>(data);
    if ((header.signature & ~0x0011) != 0x0006)
        refuse(path, "not an NTX index (signature " + std::to_string(header.signature) + ")");
    header.version = qFromLittleEndian<quint16>(data + 2);
    header.root = qFromLittleEndian<quint32>(data + 4);
    header.freePage = qFromLittleEndian<quint32>(data + 8);
    const int itemSize = qFromLittleEndian<quint16>(data + 12);
    header.keySize = qFromLittleEndian<quint16>(data + 14);
    header.keyDecimals = qFromLittleEndian<quint16>(data + 16);
    header.maxItems = qFromLittleEndian<quint16>(data + 18);
    header.halfPage = qFromLittleEndian<quint16>(data + 20);
    if (header.keySize < 1 || header.keySize > 250 || itemSize != header.keySize + 8)
        refuse(path, "key size " + std::to_string(header.keySize) + " / item size " + std::to_string(itemSize) +
                         " do not agree");
    if (header.maxItems < 2 || header.slotOffset(header.maxItems + 1) > ntxPageSize)
        refuse(path, "items per page " + std::to_string(header.maxItems) + " do not fit a page");
    if (header.root < ntxPageSize || std::int64_t{header.root} + ntxPageSize > fileSize)
        refuse(path, "root page pointer " + std::to_string(header.root) + " lies outside the file");
    const QByteArray expression(data + expressionOffset, expressionSize);
    header.expression = QString::fromLatin1(expression.left(expression.indexOf('\0'))).trimmed();
    header.unique = data[278] != 0;
    header.descending = data[280] != 0;
    return header;
}

QByteArray ntxHeaderBytes(const NtxHeader& header) {
    QByteArray page(ntxPageSize, '\0');
    char* data = page.data();
    qToLittleEndian<quint16>(header.signature, data);
    qToLittleEndian<quint16>(header.version, data + 2);
    qToLittleEndian<quint32>(header.root, data + 4);
    qToLittleEndian<quint32>(header.freePage, data + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(header.itemSize()), data + 12);
    qToLittleEndian<quint16>(static_cast<quint16>(header.keySize), data + 14);
    qToLittleEndian<quint16>(static_cast<quint16>(header.keyDecimals), data + 16);
    qToLittleEndian<quint16>(static_cast<quint16>(header.maxItems), data + 18);
    qToLittleEndian<quint16>(static_cast<quint16>(header.halfPage), data + 20);
    const QByteArray expression = header.expression.toLatin1().left(expressionSize - 1);
    page.replace(expressionOffset, expression.size(), expression);
    data[278] = header.unique ? 1 : 0;
    data[280] = header.descending ? 1 : 0;
    return page;
}

}  // namespace sendwerk::dbf
