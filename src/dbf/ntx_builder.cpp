#include "dbf/ntx_builder.h"

#include "dbf/file_handle.h"
#include "dbf/index_key.h"
#include "dbf/ntx_format.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace sendwerk::dbf {

namespace {

struct Item {
    QByteArray key;
    quint32 record = 0;
    quint32 left = 0;  // file offset of the page to the item's left; 0 on leaves
};

// One level of the tree under construction: its items in order, and the page right of
// the last item.
struct Level {
    std::vector<Item> items;
    quint32 rightmost = 0;
};

class PageWriter {
public:
    explicit PageWriter(const NtxHeader& header) : header_(header) {}

    quint32 add(const Item* items, int count, quint32 rightmost) {
        QByteArray page(ntxPageSize, '\0');
        char* data = page.data();
        qToLittleEndian<quint16>(static_cast<quint16>(count), data);
        for (int i = 0; i <= header_.maxItems; ++i) {
            const int slot = header_.slotOffset(i);
            qToLittleEndian<quint16>(static_cast<quint16>(slot), data + 2 + 2 * i);
            if (i < count) {
                qToLittleEndian<quint32>(items[i].left, data + slot);
                qToLittleEndian<quint32>(items[i].record, data + slot + 4);
                std::memcpy(data + slot + 8, items[i].key.constData(), static_cast<std::size_t>(header_.keySize));
            } else if (i == count) {
                qToLittleEndian<quint32>(rightmost, data + slot);
            }
        }
        const quint32 offset = static_cast<quint32>(ntxPageSize * (pages_.size() + 1));
        pages_.push_back(page);
        return offset;
    }
    const std::vector<QByteArray>& pages() const { return pages_; }

private:
    const NtxHeader& header_;
    std::vector<QByteArray> pages_;
};

// Splits a level into pages of about equal fill; the item between two pages goes up.
Level packLevel(const Level& level, int maxItems, PageWriter& writer) {
    const qsizetype count = static_cast<qsizetype>(level.items.size());
    const qsizetype pages = (count + 1 + maxItems) / (maxItems + 1);  // ceil((count + 1) / (m + 1))
    const qsizetype onPages = count - (pages - 1);
    Level upper;
    qsizetype at = 0;
    for (qsizetype p = 0; p < pages; ++p) {
        const qsizetype take = onPages / pages + (p < onPages % pages ? 1 : 0);
        const bool lastPage = p == pages - 1;
        const quint32 right = lastPage ? level.rightmost : level.items[at + take].left;
        const quint32 offset = writer.add(level.items.data() + at, static_cast<int>(take), right);
        at += take;
        if (lastPage) {
            upper.rightmost = offset;
        } else {
            Item separator = level.items[at++];
            separator.left = offset;
            upper.items.push_back(std::move(separator));
        }
    }
    return upper;
}

std::vector<Item> sortedKeys(Table& table, const IndexKey& key) {
    const QString fieldName = table.fields()[key.field].name;
    std::vector<Item> items;
    const int count = table.recCount();
    items.reserve(static_cast<std::size_t>(count));
    const int position = table.recNo();
    for (int record = 1; record <= count; ++record) {
        table.goTo(record);
        items.push_back({keyOf(key, table.rawField(fieldName)), static_cast<quint32>(record), 0});
    }
    table.goTo(position);
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
    return items;
}

}  // namespace

void buildIndex(Table& table, const QString& ntxNativePath, const QString& expression) {
    const IndexKey key = parseKeyExpression(expression, table.fields(), ntxNativePath);
    NtxHeader header = ntxHeaderFor(key.length, key.decimals, expression.trimmed().toUpper());
    PageWriter writer(header);
    Level level{sortedKeys(table, key), 0};
    while (static_cast<int>(level.items.size()) > header.maxItems) level = packLevel(level, header.maxItems, writer);
    header.root = writer.add(level.items.data(), static_cast<int>(level.items.size()), level.rightmost);

    QString temporary;
    {
        FileHandle file = FileHandle::createTemporary(ntxNativePath);
        temporary = file.path();
        file.writeAt(0, ntxHeaderBytes(header));
        std::int64_t offset = ntxPageSize;
        for (const QByteArray& page : writer.pages()) {
            file.writeAt(offset, page);
            offset += ntxPageSize;
        }
        file.sync();
    }
    if (std::rename(temporary.toLocal8Bit().constData(), ntxNativePath.toLocal8Bit().constData()) != 0) {
        QFile::remove(temporary);
        throw DbfError(ntxNativePath.toStdString() + ": cannot put the new index in place");
    }
}

}  // namespace sendwerk::dbf
