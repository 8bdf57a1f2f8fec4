#include "dbf/table.h"

namespace sendwerk::dbf {

struct Table::Impl {};

namespace {
[[noreturn]] void notYet(const char* what) {
    throw DbfError(std::string("table engine: ") + what + " not implemented yet");
}
}  // namespace

Table::Table() : d(std::make_unique<Impl>()) {}
Table::~Table() = default;

OpenResult Table::open(const QString&, ShareMode, std::unique_ptr<Table>&) { notYet("open"); }
void Table::create(const QString&, const QList<FieldDef>&) { notYet("create"); }
QString Table::path() const { notYet("path"); }
QString Table::alias() const { notYet("alias"); }
const QList<FieldDef>& Table::fields() const { notYet("fields"); }
int Table::fieldIndex(const QString&) const { notYet("fieldIndex"); }
int Table::recCount() const { notYet("recCount"); }
int Table::recNo() const { notYet("recNo"); }
void Table::goTo(int) { notYet("goTo"); }
void Table::goTop() { notYet("goTop"); }
void Table::goBottom() { notYet("goBottom"); }
void Table::skip(int) { notYet("skip"); }
bool Table::bof() const { notYet("bof"); }
bool Table::eof() const { notYet("eof"); }
bool Table::deleted() const { notYet("deleted"); }
QByteArray Table::rawField(const QString&) const { notYet("rawField"); }
QByteArray Table::text(const QString&) const { notYet("text"); }
std::optional<double> Table::number(const QString&) const { notYet("number"); }
QDate Table::date(const QString&) const { notYet("date"); }
std::optional<bool> Table::logical(const QString&) const { notYet("logical"); }
QByteArray Table::memo(const QString&) const { notYet("memo"); }
void Table::put(const QString&, const QByteArray&) { notYet("put"); }
void Table::putNumber(const QString&, double) { notYet("putNumber"); }
void Table::putDate(const QString&, const QDate&) { notYet("putDate"); }
void Table::putLogical(const QString&, bool) { notYet("putLogical"); }
void Table::putMemo(const QString&, const QByteArray&) { notYet("putMemo"); }
void Table::setDeleted(bool) { notYet("setDeleted"); }
void Table::appendBlank() { notYet("appendBlank"); }
bool Table::lockRecord(int) { notYet("lockRecord"); }
void Table::unlockRecord(int) { notYet("unlockRecord"); }
void Table::unlockAll() { notYet("unlockAll"); }
bool Table::lockFile() { notYet("lockFile"); }
void Table::commit() { notYet("commit"); }
void Table::setIndex(const QString&) { notYet("setIndex"); }
void Table::clearIndexes() { notYet("clearIndexes"); }
bool Table::hasIndex() const { notYet("hasIndex"); }
QString Table::indexExpression() const { notYet("indexExpression"); }
bool Table::indexIsNumeric() const { notYet("indexIsNumeric"); }
bool Table::seek(const QByteArray&, bool) { notYet("seek"); }
bool Table::seek(double, bool) { notYet("seek"); }
bool Table::found() const { notYet("found"); }

}  // namespace sendwerk::dbf
