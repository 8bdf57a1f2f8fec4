// One open dBASE III table (DBF, with its DBT memo file when it has memo fields, and
// at most one attached NTX index that orders it and that seeks use).
//
// Field values are the stored bytes: C fields hold Windows-1252 text; reads return the
// text without its trailing blanks where the method says so. Writes pad with blanks and
// cut at the field width. In shared mode the record count is taken from the file size,
// as other engines do, so records appended by other processes become visible; in
// exclusive mode the header's count, but never more records than the file holds.
// While open, the table holds a whole-file share lock (flock: shared or exclusive), so an
// exclusive open fails while anyone has it open; record, append and file locks are
// byte-range locks of this open alone (dbf/lock_offsets.h). commit() means on disk.
// Hard errors (bad header, unreadable file, a record pointer beyond the file) throw
// DbfError naming the file and the cause. Not thread-safe.
//
// Indexes are read-only here: appends and field writes do not update an attached NTX.
// The program never appends to an indexed table; rebuild an index with buildIndex()
// (dbf/ntx_builder.h) after changing its table.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "dbf/lock_wait.h"
#include "platform/result.h"

namespace sendwerk::dbf {

// A runtime error of the table engine; what() names the file and the cause.
class DbfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FieldDef {
    QString name;     // ASCII, at most 10 characters, stored upper case
    char type = 'C';  // C N D L M
    int width = 0;    // D is 8, L is 1, M is 10 whatever is given
    int decimals = 0;
};

enum class ShareMode { Shared, Exclusive };

class FileHandle;

// Field name and value of a record to append, as put() takes them.
using FieldValues = QList<std::pair<QString, QByteArray>>;

class Table {
public:
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Opens the DBF at `nativePath` (".dbf"/".DBF" added when it has no extension,
    // matched case-insensitively). Fails (the "network error": the table is in use)
    // when the share lock cannot be had; throws DbfError for anything else.
    static Result<std::unique_ptr<Table>> open(const QString& nativePath, ShareMode mode);
    // The single-instance test and the shared open in one step: opens shared only when
    // no one else (this process included) has the table open, and no other copy that
    // does the same can slip in between. Fails like open() otherwise.
    static Result<std::unique_ptr<Table>> openAlone(const QString& nativePath);
    // Creates a new, empty table (".DBF" added when the name has no extension), and a
    // DBT when a field is of type M. It is written under a temporary name of its own and
    // put in place only where no file is: a table of that name, even one that appeared
    // a moment ago, is never replaced (the failure says so). Throws DbfError on a bad
    // field list or I/O error.
    static Result<void> create(const QString& nativePath, const QList<FieldDef>& fields);

    QString path() const;   // native path of the DBF
    QString alias() const;  // base name, upper case
    const QList<FieldDef>& fields() const;
    int fieldIndex(const QString& name) const;  // case-insensitive; -1 when absent
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    int versionByte() const;   // 0x03, or 0x83 with memo
    QDate lastUpdate() const;  // as the header says
    int headerLength() const;
    int recordLength() const;

    // Navigation, 1-based record numbers. An attached index orders top/bottom/skip.
    int recCount() const;
    int recNo() const;  // recCount() + 1 at end of file
    void goTo(int recordNumber);
    void goTop();
    void goBottom();
    void skip(int count = 1);
    bool bof() const;
    bool eof() const;
    bool deleted() const;  // current record carries the deletion mark

    // Reads that need no cursor: they neither move the current record nor write what is
    // pending in it, so a grid can paint any row while one record is being edited. They
    // show what is on disk. A number outside 1..recCount() gives an empty record.
    QByteArray recordAt(int recordNumber) const;                         // the stored bytes, deletion mark first
    QByteArray fieldIn(const QByteArray& record, int fieldIndex) const;  // one field's bytes of such a record
    QByteArray fieldAt(int recordNumber, int fieldIndex) const;

    // Field access on the current record (at end of file: blank values).
    QByteArray rawField(const QString& name) const;           // stored bytes, as they are
    QByteArray text(const QString& name) const;               // C/M: text, trailing blanks removed
    std::optional<double> number(const QString& name) const;  // N: empty is nullopt
    QDate date(const QString& name) const;                    // D: invalid when empty
    std::optional<bool> logical(const QString& name) const;
    QByteArray memo(const QString& name) const;  // M: the memo text
    // Writes need a current record (DbfError at end of file). put() takes C text, raw
    // N/D/L text and memo text for M. A number that does not fit its N field is refused
    // with DbfError (the field keeps its value) rather than stored as asterisks.
    void put(const QString& name, const QByteArray& value);  // C (and raw N/D/L text)
    void putNumber(const QString& name, double value);
    void putDate(const QString& name, const QDate& value);
    void putLogical(const QString& name, bool value);
    void putMemo(const QString& name, const QByteArray& value);
    void setDeleted(bool deleted);

    // Appends a record with these values (the others blank) and makes it current. The
    // whole record is written first, then the count in the header, so a crash leaves
    // either no record or a complete one, never a blank or half-filled one; a count one
    // short is mended by the next append. In shared mode it takes the append lock,
    // counts the records from the file size, waits for a whole-file lock of another
    // program to end, and leaves the new record locked (the record locks held before are
    // released), as other engines do. A lock that stays taken beyond `wait` gives a
    // failure naming the table, and nothing is written; a bad value throws DbfError.
    Result<void> appendRecord(const FieldValues& values, const LockWait& wait = {});
    // appendRecord() without values; a lock that stays taken throws DbfError.
    void appendBlank();
    bool lockRecord(int recordNumber);  // false when someone else holds it
    void unlockRecord(int recordNumber);
    void unlockAll();
    bool lockFile();
    // Writes everything pending and fsyncs DBF, DBT and index.
    void commit();

    // Index. setIndex() clears the list of open indexes and attaches this one.
    void setIndex(const QString& ntxNativePath);
    void clearIndexes();
    bool hasIndex() const;
    QString indexExpression() const;
    bool indexIsNumeric() const;
    // Seek on the attached index: exact (found) or soft (positioned on the next key).
    // The value is encoded like the keys: text for character keys, number for numeric.
    bool seek(const QByteArray& key, bool soft = false);
    bool seek(double key, bool soft = false);
    bool found() const;

private:
    Table();
    static Result<std::unique_ptr<Table>> openWith(const QString& nativePath, ShareMode mode,
                                                   const std::function<bool(FileHandle&)>& shareLock);
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sendwerk::dbf
