// The numbered work areas of the office's rules (1, 9, 28 ...): each holds at most one
// open table; one area is selected. Tables are named by DOS path and resolved through
// the drive map at open time. Not thread-safe: the GUI thread owns it.
#pragma once

#include <QString>

#include <map>
#include <memory>

#include "dbf/table.h"
#include "platform/dos_path.h"

namespace sendwerk::dbf {

class WorkAreas {
public:
    explicit WorkAreas(PathResolver resolver);
    ~WorkAreas();

    void select(int area);
    int selected() const { return selected_; }
    // Selects the area that holds the table of this alias; false when none does.
    bool selectAlias(const QString& alias);
    // The lowest area number without an open table.
    int newArea() const;

    // Opens the table in the selected area (closing what was open there). Alias: the
    // given one, else the file's base name. It fails when the table is in use (the
    // network error); other failures throw DbfError.
    Result<> use(const QString& dosPath, ShareMode mode, const QString& alias = {});
    // Table::openAlone() in the selected area.
    Result<> useAlone(const QString& dosPath);
    // Creates a table (the engine adds ".DBF"); never replaces one (Table::create).
    Result<> create(const QString& dosPath, const QList<FieldDef>& fields);

    bool isOpen(int area) const;
    Table& current();         // throws DbfError when the selected area is empty
    Table* area(int number);  // null when empty
    QString alias(int area) const;

    void setIndex(const QString& dosNtxPath);  // on the selected area's table
    void close();                              // the selected area
    void commitAll();
    void closeAll();

    const PathResolver& resolver() const { return resolver_; }

private:
    // Puts an opened table into the selected area.
    Result<> place(Result<std::unique_ptr<Table>> opened, const QString& alias);

    PathResolver resolver_;
    int selected_ = 1;
    std::map<int, std::unique_ptr<Table>> areas_;
    std::map<int, QString> aliases_;
};

// Selects a work area for the length of a scope and selects the one that was selected
// before when the scope ends, also when an exception passes.
class ScopedSelection {
public:
    ScopedSelection(WorkAreas& areas, int area) : areas_(areas), previous_(areas.selected()) { areas.select(area); }
    ~ScopedSelection() { areas_.select(previous_); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    WorkAreas& areas_;
    int previous_;
};

}  // namespace sendwerk::dbf
