#include "browse/browsed_table.h"

#include "dbf/field_text.h"

namespace sendwerk {

namespace {

const QString kFieldPrefix = QStringLiteral("FIELD->");

QString unqualified(const QString& field) {
    const qsizetype arrow = field.indexOf(QLatin1String("->"));
    return arrow < 0 ? field : field.mid(arrow + 2);
}

}  // namespace

BrowsedTable::BrowsedTable(dbf::WorkAreas& areas, int area, bool readOnly, std::function<void()> refused)
    : areas_(areas), area_(area), readOnly_(readOnly), refused_(std::move(refused)) {}

dbf::Table& BrowsedTable::table() const {
    dbf::Table* table = areas_.area(area_);
    if (table == nullptr) throw dbf::DbfError("work area " + std::to_string(area_) + ": the browsed table is closed");
    return *table;
}

int BrowsedTable::recCount() const { return table().recCount(); }

int BrowsedTable::recNo() const { return table().recNo(); }

void BrowsedTable::goTo(int recordNumber) { table().goTo(recordNumber); }

int BrowsedTable::skip(int n) {
    dbf::Table& t = table();
    const int count = t.recCount();
    if (count == 0) return 0;
    const int from = std::clamp(t.recNo(), 1, count);
    const int to = std::clamp(from + n, 1, count);
    t.goTo(to);
    return to - from;
}

void BrowsedTable::goTop() { table().goTop(); }

void BrowsedTable::goBottom() { table().goBottom(); }

int BrowsedTable::relativePosition() const {
    const int count = recCount();
    if (count <= 1) return 0;
    return int((std::int64_t{std::clamp(recNo(), 1, count)} - 1) * 100 / (count - 1));
}

void BrowsedTable::goToRelative(int percent) {
    const int count = recCount();
    if (count == 0) return;
    goTo(1 + int(std::int64_t{std::clamp(percent, 0, 100)} * (count - 1) / 100));
}

std::optional<DataLink> BrowsedTable::EditBlock(const QString& cFieldName) {
    const int index = table().fieldIndex(unqualified(cFieldName));
    if (index < 0) return std::nullopt;
    const QString qualified = cFieldName.contains(QLatin1String("->")) ? cFieldName : kFieldPrefix + cFieldName;
    const dbf::FieldDef form = table().fields().at(index);
    DataLink link;
    link.form = form;
    link.read = [this, form] { return dbf::fieldText(form, table().rawField(form.name)); };
    link.write = [this, qualified](const QString& x) { WriteField(qualified, x); };
    return link;
}

QString BrowsedTable::WriteField(const QString& cField, const QString& xValue) {
    dbf::ScopedSelection selection(areas_, area_);
    dbf::Table& t = areas_.current();
    const int record = t.recNo();
    const int index = t.fieldIndex(unqualified(cField));
    if (index < 0 || t.eof()) return xValue;
    const dbf::FieldDef& field = t.fields().at(index);
    const Result<QByteArray> bytes = dbf::storedBytes(field, xValue);
    if (readOnly_ || !bytes) {
        if (refused_) refused_();
        return xValue;
    }
    if (!t.lockRecord(record)) return xValue;
    t.goTo(record);  // the record as it is now, with what others wrote meanwhile
    t.put(field.name, *bytes);
    t.commit();
    t.unlockAll();
    return xValue;
}

}  // namespace sendwerk
