// An NTX index opened for reading: key order navigation (first, last, next, previous)
// and seek, both walking the B-tree pages as formats.md describes. Pages are checked
// when first read (inside the file, item count and slots inside the page) and the walk
// is bounded in depth, so a damaged file (a page pointer outside the file, pages that
// point back at each other) ends in DbfError, never in an endless loop.
// Descending indexes are refused. The engine never appends to indexed tables, so the
// index is read-only here.
#pragma once

#include "dbf/file_handle.h"
#include "dbf/index_key.h"
#include "dbf/ntx_format.h"

#include <QByteArray>
#include <QList>

#include <map>
#include <vector>

namespace sendwerk::dbf {

class NtxIndex {
public:
    // Reads and checks the header and the key expression against the table's fields.
    NtxIndex(FileHandle file, const QList<FieldDef>& fields);

    const NtxHeader& header() const { return header_; }
    const IndexKey& key() const { return key_; }
    const QString& path() const { return file_.path(); }

    // Each returns the record number of the item it lands on, or 0 past either end.
    quint32 first();
    quint32 last();
    quint32 next();
    quint32 previous();
    // Positions on the first key >= value (compared over the value's length); `found`
    // tells whether that key starts with the value. 0 when no key is >= value.
    quint32 seek(const QByteArray& value, bool& found);

private:
    struct Page {
        int count = 0;
        std::vector<quint32> children;  // count + 1
        std::vector<quint32> records;   // count
        std::vector<QByteArray> keys;   // count
    };
    // A step of the walk: a page and a slot (the child taken, or the item we are on).
    struct Step {
        quint32 page;
        int slot;
    };

    const Page& page(quint32 offset);
    void push(quint32 offset, int slot);
    void descendLeft(quint32 offset);
    void descendRight(quint32 offset);
    quint32 settleForward();
    quint32 settleBackward();

    FileHandle file_;
    std::int64_t fileSize_ = 0;
    NtxHeader header_;
    IndexKey key_;
    std::map<quint32, Page> pages_;
    std::vector<Step> path_;
};

}  // namespace sendwerk::dbf
