#include "dbf/work_areas.h"

#include <stdexcept>

namespace sendwerk::dbf {

WorkAreas::WorkAreas(PathResolver resolver) : resolver_(std::move(resolver)) {}

WorkAreas::~WorkAreas() = default;

void WorkAreas::select(int area) { selected_ = area; }

bool WorkAreas::selectAlias(const QString& alias) {
    for (const auto& [number, name] : aliases_) {
        if (name.compare(alias, Qt::CaseInsensitive) == 0) {
            selected_ = number;
            return true;
        }
    }
    return false;
}

int WorkAreas::newArea() const {
    int number = 1;
    while (areas_.count(number) != 0) ++number;
    return number;
}

// A drive that the map does not know is a hard error of the open, not "in use".
static QString nativeOf(const PathResolver& resolver, const QString& dosPath) {
    try {
        return resolver.nativeOrThrow(dosPath);
    } catch (const std::runtime_error& error) {
        throw DbfError(error.what());
    }
}

Result<> WorkAreas::use(const QString& dosPath, ShareMode mode, const QString& alias) {
    close();
    return place(Table::open(nativeOf(resolver_, dosPath), mode), alias);
}

Result<> WorkAreas::useAlone(const QString& dosPath) {
    close();
    return place(Table::openAlone(nativeOf(resolver_, dosPath)), {});
}

Result<> WorkAreas::place(Result<std::unique_ptr<Table>> opened, const QString& alias) {
    if (!opened) return Failure{opened.cause()};
    std::unique_ptr<Table>& table = *opened;
    aliases_[selected_] = alias.isEmpty() ? table->alias() : alias.toUpper();
    areas_[selected_] = std::move(table);
    return {};
}

Result<void> WorkAreas::create(const QString& dosPath, const QList<FieldDef>& fields) {
    return Table::create(nativeOf(resolver_, dosPath), fields);
}

bool WorkAreas::isOpen(int area) const { return areas_.count(area) != 0; }

Table& WorkAreas::current() {
    Table* table = area(selected_);
    if (table == nullptr) throw DbfError("work area " + std::to_string(selected_) + ": no table is open");
    return *table;
}

Table* WorkAreas::area(int number) {
    const auto it = areas_.find(number);
    return it == areas_.end() ? nullptr : it->second.get();
}

QString WorkAreas::alias(int area) const {
    const auto it = aliases_.find(area);
    return it == aliases_.end() ? QString() : it->second;
}

void WorkAreas::setIndex(const QString& dosNtxPath) { current().setIndex(nativeOf(resolver_, dosNtxPath)); }

void WorkAreas::close() {
    areas_.erase(selected_);
    aliases_.erase(selected_);
}

void WorkAreas::commitAll() {
    for (auto& [number, table] : areas_) table->commit();
}

void WorkAreas::closeAll() {
    areas_.clear();
    aliases_.clear();
}

}  // namespace sendwerk::dbf
