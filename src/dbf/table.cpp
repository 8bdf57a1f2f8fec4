#include "dbf/table.h"

#include "dbf/dbf_header.h"
#include "dbf/field_codec.h"
#include "dbf/file_handle.h"
#include "dbf/index_key.h"
#include "dbf/lock_offsets.h"
#include "dbf/memo_file.h"
#include "dbf/ntx_index.h"
#include "dbf/table_files.h"
#include "platform/temporary_files.h"
#include "platform/office_text.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

namespace sendwerk::dbf {

namespace {

// The header can be at most 64 KiB (its length is a 16-bit number).
constexpr std::int64_t maxHeaderBytes = 65536 + 32;

}  // namespace

struct Table::Impl {
    QString path;
    ShareMode mode = ShareMode::Shared;
    FileHandle dbf;
    std::optional<MemoFile> memo;
    std::unique_ptr<NtxIndex> index;
    bool indexInStep = false;  // the index walk stands on the current record
    TableLayout layout;
    int exclusiveCount = 0;

    int recNo = 1;
    bool atEof = true;
    bool atBof = false;
    bool found = false;
    QByteArray record;
    bool dirty = false;
    std::set<int> recordLocks;
    bool fileLocked = false;

    bool shared() const { return mode == ShareMode::Shared; }
    std::string where() const { return path.toStdString(); }

    int recordsInFile() const {
        const std::int64_t data = dbf.size() - layout.headerLength;
        return data <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(data / layout.recordLength, INT32_MAX));
    }
    int count() const { return shared() ? recordsInFile() : exclusiveCount; }
    std::int64_t offsetOf(int number) const {
        return layout.headerLength + std::int64_t{number - 1} * layout.recordLength;
    }

    int field(const QString& name) const {
        for (int i = 0; i < layout.fields.size(); ++i)
            if (layout.fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
        throw DbfError(where() + ": the table has no field " + name.toStdString());
    }
    QByteArray raw(int i) const { return record.mid(layout.offsets[i], layout.fields[i].width); }
    void store(int i, const QByteArray& bytes) {
        if (atEof) throw DbfError(where() + ": no current record to write (end of file)");
        record.replace(layout.offsets[i], layout.fields[i].width, bytes);
        dirty = true;
    }
    void requireType(int i, char type) const {
        const FieldDef& f = layout.fields[i];
        if (f.type != type)
            throw DbfError(where() + ": field " + f.name.toStdString() + " is of type " + f.type + ", not " + type);
    }

    void flush() {
        if (!dirty) return;
        dbf.writeAt(offsetOf(recNo), record);
        dirty = false;
    }

    void blank() { record = QByteArray(layout.recordLength, ' '); }

    // Makes record `number` current; outside 1..count it is the end of file.
    void load(int number) {
        flush();
        indexInStep = false;
        atBof = false;
        if (number < 1 || number > count()) {
            atEof = true;
            recNo = count() + 1;
            blank();
            return;
        }
        const QByteArray bytes = dbf.readAt(offsetOf(number), layout.recordLength);
        if (bytes.size() != layout.recordLength)
            throw DbfError(where() + ": record " + std::to_string(number) + " is cut off by the end of the file");
        atEof = false;
        recNo = number;
        record = bytes;
    }

    // Lands on what the index walk returned (0: past the end).
    void loadFromIndex(quint32 number) {
        if (number == 0) {
            load(0);
            return;
        }
        load(static_cast<int>(number));
        indexInStep = !atEof;
    }

    // Brings the index walk onto the current record after goTo() moved it physically.
    void stepIndexToCurrent() {
        if (indexInStep || atEof) return;
        const IndexKey& key = index->key();
        bool hit = false;
        quint32 at = index->seek(keyOf(key, raw(key.field)), hit);
        while (hit && at != 0 && at != static_cast<quint32>(recNo)) at = index->next();
        indexInStep = at == static_cast<quint32>(recNo);
        if (!indexInStep)
            throw DbfError(index->path().toStdString() + ": record " + std::to_string(recNo) +
                           " is missing from the index");
    }

    void releaseRecordLocks() {
        for (int number : recordLocks) dbf.unlockRange(recordLockOffset(number), 1);
        recordLocks.clear();
    }

    // A failed exact seek leaves the end of file; a soft one the next key.
    bool seekKey(const QByteArray& key, bool soft) {
        bool hit = false;
        const quint32 at = index->seek(key, hit);
        found = hit;
        loadFromIndex(hit || soft ? at : 0);
        return hit;
    }

    // The stored bytes of `value` in field i, cut or padded to its width; a memo value
    // is written to the DBT now and gives its block number.
    QByteArray encoded(int i, const QByteArray& value) {
        const FieldDef& f = layout.fields[i];
        switch (f.type) {
        case 'M': return formatMemoBlock(value.isEmpty() ? 0 : memo->write(value, shared()));
        case 'N': {
            const QByteArray text = value.trimmed();
            if (text.size() > f.width)
                throw DbfError(where() + ": \"" + text.toStdString() + "\" does not fit the numeric field " +
                               f.name.toStdString() + " (width " + std::to_string(f.width) + ")");
            return QByteArray(f.width - text.size(), ' ') + text;
        }
        default: return padText(value, f.width);
        }
    }

    Result<void> append(const QByteArray& bytes, const LockWait& wait);
    QString lockedCause(const LockWait& wait) const;
};

Table::Table() : d(std::make_unique<Impl>()) {}

Table::~Table() {
    try {
        d->flush();
    } catch (const DbfError&) {
        // A destructor cannot report; commit() is where write errors surface.
    }
}

Result<std::unique_ptr<Table>> Table::open(const QString& nativePath, ShareMode mode) {
    return openWith(nativePath, mode,
                    [mode](FileHandle& file) { return file.tryShareLock(mode == ShareMode::Exclusive); });
}

Result<std::unique_ptr<Table>> Table::openAlone(const QString& nativePath) {
    return openWith(nativePath, ShareMode::Shared, [](FileHandle& file) { return file.tryShareLockAlone(); });
}

Result<std::unique_ptr<Table>> Table::openWith(const QString& nativePath, ShareMode mode,
                                               const std::function<bool(FileHandle&)>& shareLock) {
    auto table = std::unique_ptr<Table>(new Table());
    Impl& d = *table->d;
    d.path = tablePathFor(nativePath);
    d.mode = mode;
    d.dbf = FileHandle::openExisting(d.path, FileHandle::Access::ReadWrite);
    if (!shareLock(d.dbf))
        return Failure{QStringLiteral("%1: die Tabelle wird von einem anderen Programm benutzt").arg(d.path)};
    d.layout = parseHeader(d.dbf.readAt(0, maxHeaderBytes), d.path);
    d.exclusiveCount = static_cast<int>(std::min<std::int64_t>(d.layout.headerRecordCount, d.recordsInFile()));
    if (d.layout.hasMemo() || d.layout.version == 0x83) {
        const QString memoPath = siblingPath(d.path, QStringLiteral("DBT"));
        if (!QFileInfo::exists(memoPath))
            throw DbfError(d.path.toStdString() + ": the memo file " + memoPath.toStdString() + " is missing");
        d.memo.emplace(FileHandle::openExisting(
            memoPath, d.dbf.writable() ? FileHandle::Access::ReadWrite : FileHandle::Access::ReadOnly));
    }
    table->goTop();
    return table;
}

Result<void> Table::create(const QString& nativePath, const QList<FieldDef>& fields) {
    const QString path =
        existingSpelling(QFileInfo(nativePath).suffix().isEmpty() ? nativePath + QStringLiteral(".DBF") : nativePath);
    const TableLayout layout = layoutOf(checkedFields(fields, path));
    const QString memoPath = siblingPath(path, QStringLiteral("DBT"));
    QStringList temporaries;
    const auto removeTemporaries = [&] {
        for (const QString& temporary : temporaries) QFile::remove(temporary);
    };
    try {
        FileHandle file = FileHandle::createTemporary(path);
        temporaries.append(file.path());
        file.writeAt(0, headerBytes(layout) + '\x1A');
        file.sync();
        if (layout.hasMemo()) {
            FileHandle memo = FileHandle::createTemporary(memoPath);
            temporaries.append(memo.path());
            MemoFile::writeEmpty(memo);
        }
    } catch (...) {
        removeTemporaries();
        throw;
    }
    if (const int error = renameWithoutReplacing(temporaries.first(), path); error != 0) {
        removeTemporaries();
        if (error == EEXIST)
            return Failure{QStringLiteral("Die Tabelle %1 gibt es schon; sie bleibt, wie sie ist.").arg(path)};
        throw DbfError(path.toStdString() + ": cannot put the new table in place: " + std::strerror(error));
    }
    // The table's name is ours now, so a memo file of that name is a leftover without
    // its table.
    if (layout.hasMemo() &&
        std::rename(QFile::encodeName(temporaries.last()).constData(), QFile::encodeName(memoPath).constData()) != 0) {
        QFile::remove(temporaries.last());
        throw DbfError(memoPath.toStdString() + ": cannot put the new memo file in place");
    }
    return {};
}

QString Table::path() const { return d->path; }
QString Table::alias() const { return QFileInfo(d->path).completeBaseName().toUpper(); }
const QList<FieldDef>& Table::fields() const { return d->layout.fields; }

int Table::fieldIndex(const QString& name) const {
    for (int i = 0; i < d->layout.fields.size(); ++i)
        if (d->layout.fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int Table::versionByte() const { return d->layout.version; }
QDate Table::lastUpdate() const { return d->layout.lastUpdate; }
int Table::headerLength() const { return d->layout.headerLength; }
int Table::recordLength() const { return d->layout.recordLength; }

int Table::recCount() const { return d->count(); }
int Table::recNo() const { return d->atEof ? d->count() + 1 : d->recNo; }
bool Table::bof() const { return d->atBof; }
bool Table::eof() const { return d->atEof; }
bool Table::deleted() const { return !d->atEof && d->record.at(0) == '*'; }

void Table::goTo(int recordNumber) { d->load(recordNumber); }

void Table::goTop() {
    if (d->index)
        d->loadFromIndex(d->index->first());
    else
        d->load(1);
    d->atBof = d->atEof;
}

void Table::goBottom() {
    if (d->index)
        d->loadFromIndex(d->index->last());
    else
        d->load(d->count());
    d->atBof = d->atEof;
}

void Table::skip(int count) {
    if (!d->index) {
        const int from = d->atEof ? d->count() + 1 : d->recNo;
        const int target = from + count;
        if (target < 1) {
            goTop();
            d->atBof = true;
        } else {
            d->load(target);
        }
        return;
    }
    for (; count > 0 && !d->atEof; --count) {
        d->stepIndexToCurrent();
        d->loadFromIndex(d->index->next());
    }
    for (; count < 0; ++count) {
        if (d->atEof) {
            d->loadFromIndex(d->index->last());
            continue;
        }
        d->stepIndexToCurrent();
        const quint32 before = d->index->previous();
        if (before == 0) {
            goTop();
            d->atBof = true;
            return;
        }
        d->loadFromIndex(before);
    }
}

QByteArray Table::recordAt(int recordNumber) const {
    if (recordNumber < 1 || recordNumber > d->count()) return {};
    const QByteArray bytes = d->dbf.readAt(d->offsetOf(recordNumber), d->layout.recordLength);
    return bytes.size() == d->layout.recordLength ? bytes : QByteArray();
}

QByteArray Table::fieldIn(const QByteArray& record, int fieldIndex) const {
    if (fieldIndex < 0 || fieldIndex >= d->layout.fields.size() || record.size() != d->layout.recordLength) return {};
    return record.mid(d->layout.offsets[fieldIndex], d->layout.fields[fieldIndex].width);
}

QByteArray Table::fieldAt(int recordNumber, int fieldIndex) const {
    return fieldIn(recordAt(recordNumber), fieldIndex);
}

QByteArray Table::rawField(const QString& name) const { return d->raw(d->field(name)); }

QByteArray Table::text(const QString& name) const {
    const int i = d->field(name);
    QByteArray value;
    switch (d->layout.fields[i].type) {
    case 'M': value = memo(name); break;
    case 'C': value = d->raw(i); break;
    default: return d->raw(i).trimmed();
    }
    return withoutTrailingBlanks(value);
}

std::optional<double> Table::number(const QString& name) const { return parseNumber(d->raw(d->field(name))); }
QDate Table::date(const QString& name) const { return parseDate(d->raw(d->field(name))); }
std::optional<bool> Table::logical(const QString& name) const { return parseLogical(d->raw(d->field(name))); }

QByteArray Table::memo(const QString& name) const {
    const int i = d->field(name);
    d->requireType(i, 'M');
    const std::optional<quint32> block = parseMemoBlock(d->raw(i));
    if (!block) throw DbfError(d->where() + ": record " + std::to_string(d->recNo) + " has a bad memo pointer");
    if (*block == 0) return {};
    return d->memo->read(*block);
}

void Table::put(const QString& name, const QByteArray& value) {
    const int i = d->field(name);
    if (d->layout.fields[i].type == 'M') {
        putMemo(name, value);
        return;
    }
    d->store(i, d->encoded(i, value));
}

void Table::putNumber(const QString& name, double value) {
    const int i = d->field(name);
    d->requireType(i, 'N');
    const FieldDef& f = d->layout.fields[i];
    const std::optional<QByteArray> text = formatNumber(value, f.width, f.decimals);
    if (!text)
        throw DbfError(d->where() + ": the number " + QByteArray::number(value, 'g', 17).toStdString() +
                       " does not fit the field " + f.name.toStdString() + " (" + std::to_string(f.width) + "," +
                       std::to_string(f.decimals) + ")");
    d->store(i, *text);
}

void Table::putDate(const QString& name, const QDate& value) {
    const int i = d->field(name);
    d->requireType(i, 'D');
    d->store(i, formatDate(value));
}

void Table::putLogical(const QString& name, bool value) {
    const int i = d->field(name);
    d->requireType(i, 'L');
    d->store(i, value ? "T" : "F");
}

void Table::putMemo(const QString& name, const QByteArray& value) {
    const int i = d->field(name);
    d->requireType(i, 'M');
    if (d->atEof) throw DbfError(d->where() + ": no current record to write (end of file)");
    d->store(i, d->encoded(i, value));
}

void Table::setDeleted(bool deleted) {
    if (d->atEof) throw DbfError(d->where() + ": no current record to delete (end of file)");
    d->record[0] = deleted ? '*' : ' ';
    d->dirty = true;
}

QString Table::Impl::lockedCause(const LockWait& wait) const {
    return QStringLiteral(
               "Die Tabelle %1 ist seit %2 Sekunden von einem anderen Programm gesperrt; "
               "der Satz wurde nicht angefügt.")
        .arg(path)
        .arg(wait.limitSeconds);
}

Result<void> Table::Impl::append(const QByteArray& bytes, const LockWait& wait) {
    flush();
    if (shared() && !waitForLock(dbf, lockBase, 1, wait)) return Failure{lockedCause(wait)};
    const auto releaseHeader = [&] {
        if (shared()) dbf.unlockRange(lockBase, 1);
    };
    try {
        const int number = count() + 1;
        if (shared()) {
            releaseRecordLocks();
            // Another program's whole-file lock covers the new record's lock too, so this
            // waits for it as well.
            if (!waitForLock(dbf, recordLockOffset(number), 1, wait)) {
                releaseHeader();
                return Failure{lockedCause(wait)};
            }
            recordLocks.insert(number);
        }
        dbf.writeAt(offsetOf(number), bytes + '\x1A');
        dbf.writeAt(1, countAndDateBytes(static_cast<std::uint32_t>(number), QDate::currentDate()));
        exclusiveCount = number;
        recNo = number;
        record = bytes;
        atEof = false;
        atBof = false;
        indexInStep = false;
    } catch (...) {
        releaseHeader();
        throw;
    }
    releaseHeader();
    return {};
}

Result<void> Table::appendRecord(const FieldValues& values, const LockWait& wait) {
    // Built apart from the current record, so a bad value leaves the table as it was.
    QByteArray bytes(d->layout.recordLength, ' ');
    for (const auto& [name, value] : values) {
        const int i = d->field(name);
        bytes.replace(d->layout.offsets[i], d->layout.fields[i].width, d->encoded(i, value));
    }
    return d->append(bytes, wait);
}

void Table::appendBlank() {
    const Result<void> appended = d->append(QByteArray(d->layout.recordLength, ' '), LockWait{});
    if (!appended) throw DbfError(appended.cause().toStdString());
}

bool Table::lockRecord(int recordNumber) {
    if (!d->shared() || d->fileLocked || d->recordLocks.count(recordNumber) != 0) return true;
    if (!d->dbf.lockRange(recordLockOffset(recordNumber), 1)) return false;
    d->recordLocks.insert(recordNumber);
    return true;
}

void Table::unlockRecord(int recordNumber) {
    if (d->recordLocks.erase(recordNumber) != 0) d->dbf.unlockRange(recordLockOffset(recordNumber), 1);
}

void Table::unlockAll() {
    d->flush();
    d->releaseRecordLocks();
    if (d->fileLocked) d->dbf.unlockRange(fileLockStart, fileLockLength);
    d->fileLocked = false;
}

bool Table::lockFile() {
    if (!d->shared() || d->fileLocked) return true;
    // Our own record locks would merge into the file lock; like other engines, the file
    // lock replaces them.
    d->releaseRecordLocks();
    d->fileLocked = d->dbf.lockRange(fileLockStart, fileLockLength);
    return d->fileLocked;
}

void Table::commit() {
    d->flush();
    d->dbf.sync();
    if (d->memo) d->memo->sync();
}

void Table::setIndex(const QString& ntxNativePath) {
    clearIndexes();
    const QString path = existingSpelling(
        QFileInfo(ntxNativePath).suffix().isEmpty() ? ntxNativePath + QStringLiteral(".NTX") : ntxNativePath);
    d->index =
        std::make_unique<NtxIndex>(FileHandle::openExisting(path, FileHandle::Access::ReadOnly), d->layout.fields);
}

void Table::clearIndexes() {
    d->index.reset();
    d->indexInStep = false;
}

bool Table::hasIndex() const { return d->index != nullptr; }
QString Table::indexExpression() const { return d->index ? d->index->header().expression : QString(); }
bool Table::indexIsNumeric() const { return d->index && d->index->key().numeric(); }

bool Table::seek(const QByteArray& key, bool soft) {
    if (!d->index) throw DbfError(d->where() + ": seek without an index");
    return d->seekKey(searchKey(d->index->key(), key), soft);
}

bool Table::seek(double key, bool soft) {
    if (!d->index) throw DbfError(d->where() + ": seek without an index");
    return d->seekKey(searchKey(d->index->key(), key), soft);
}

bool Table::found() const { return d->found; }

}  // namespace sendwerk::dbf
