#include "dbf/ntx_index.h"

#include <QtEndian>

#include <cstring>

namespace sendwerk::dbf {

namespace {

// Far deeper than any real index (3^32 keys); only a damaged file gets there.
constexpr std::size_t maxDepth = 32;

}  // namespace

NtxIndex::NtxIndex(FileHandle file, const QList<FieldDef>& fields) : file_(std::move(file)) {
    fileSize_ = file_.size();
    header_ = parseNtxHeader(file_.readAt(0, ntxPageSize), file_.path(), fileSize_);
    // Its keys would run the other way round; seeking it as ascending would be wrong.
    if (header_.descending) throw DbfError(file_.path().toStdString() + ": descending indexes are not supported");
    key_ = parseKeyExpression(header_.expression, fields, file_.path());
    if (key_.length != header_.keySize)
        throw DbfError(file_.path().toStdString() + ": key size " + std::to_string(header_.keySize) +
                       " does not match the expression " + header_.expression.toStdString());
}

const NtxIndex::Page& NtxIndex::page(quint32 offset) {
    if (const auto it = pages_.find(offset); it != pages_.end()) return it->second;
    const std::string where = file_.path().toStdString() + ": index page at " + std::to_string(offset);
    if (offset < ntxPageSize || std::int64_t{offset} + ntxPageSize > fileSize_)
        throw DbfError(where + " lies outside the file");
    const QByteArray bytes = file_.readAt(offset, ntxPageSize);
    if (bytes.size() < ntxPageSize) throw DbfError(where + " is truncated");
    const char* data = bytes.constData();
    Page result;
    result.count = qFromLittleEndian<quint16>(data);
    if (result.count > header_.maxItems)
        throw DbfError(where + " claims " + std::to_string(result.count) + " items, more than a page holds");
    const int itemSize = header_.itemSize();
    const int firstSlot = 2 * (header_.maxItems + 2);
    for (int i = 0; i <= result.count; ++i) {
        const int slot = qFromLittleEndian<quint16>(data + 2 + 2 * i);
        if (slot < firstSlot || slot + itemSize > ntxPageSize)
            throw DbfError(where + " has an item slot outside the page");
        result.children.push_back(qFromLittleEndian<quint32>(data + slot));
        if (i == result.count) break;
        result.records.push_back(qFromLittleEndian<quint32>(data + slot + 4));
        result.keys.emplace_back(data + slot + 8, header_.keySize);
    }
    return pages_.emplace(offset, std::move(result)).first->second;
}

void NtxIndex::push(quint32 offset, int slot) {
    if (path_.size() >= maxDepth)
        throw DbfError(file_.path().toStdString() + ": index pages form a cycle or nest too deep");
    path_.push_back({offset, slot});
}

void NtxIndex::descendLeft(quint32 offset) {
    while (offset != 0) {
        push(offset, 0);
        offset = page(offset).children[0];
    }
}

void NtxIndex::descendRight(quint32 offset) {
    while (offset != 0) {
        const Page& p = page(offset);
        push(offset, p.count);
        offset = p.children[p.count];
    }
}

// The top step names the gap before item `slot`: the item there, or the item of the
// nearest ancestor after the child it came down.
quint32 NtxIndex::settleForward() {
    while (!path_.empty()) {
        const Step& top = path_.back();
        const Page& p = page(top.page);
        if (top.slot < p.count) return p.records[top.slot];
        path_.pop_back();
    }
    return 0;
}

quint32 NtxIndex::settleBackward() {
    while (!path_.empty()) {
        Step& top = path_.back();
        if (top.slot > 0) {
            --top.slot;
            return page(top.page).records[top.slot];
        }
        path_.pop_back();
    }
    return 0;
}

quint32 NtxIndex::first() {
    path_.clear();
    descendLeft(header_.root);
    return settleForward();
}

quint32 NtxIndex::last() {
    path_.clear();
    descendRight(header_.root);
    return settleBackward();
}

quint32 NtxIndex::next() {
    if (path_.empty()) return 0;
    Step& top = path_.back();
    ++top.slot;
    const quint32 child = page(top.page).children[top.slot];
    descendLeft(child);
    return settleForward();
}

quint32 NtxIndex::previous() {
    if (path_.empty()) return 0;
    const Step top = path_.back();
    descendRight(page(top.page).children[top.slot]);
    return settleBackward();
}

quint32 NtxIndex::seek(const QByteArray& value, bool& found) {
    const QByteArray wanted = value.left(header_.keySize);
    const auto compare = [&wanted](const QByteArray& key) {
        return std::memcmp(key.constData(), wanted.constData(), static_cast<std::size_t>(wanted.size()));
    };
    path_.clear();
    quint32 offset = header_.root;
    while (offset != 0) {
        const Page& p = page(offset);
        int i = 0;
        while (i < p.count && compare(p.keys[i]) < 0) ++i;
        push(offset, i);
        offset = p.children[i];
    }
    const quint32 record = settleForward();
    const Step& at = path_.empty() ? Step{0, 0} : path_.back();
    found = record != 0 && compare(page(at.page).keys[at.slot]) == 0;
    return record;
}

}  // namespace sendwerk::dbf
