// The table a browser window shows, in the work area it was opened in: the browse's
// navigation (skip with the count of records moved, top, bottom, record number, relative
// position) and the data link of each field column (EditBlock, WriteField). Every
// operation selects the window's own work area for its length and the one selected
// before afterwards, so a send run that works in its own areas meanwhile never moves
// what the window shows, nor the window what the run writes.
//
// WriteField stores one field of the current record under its record lock: it re-reads
// the record under the lock, so a value that someone else wrote into another field
// meanwhile is kept, and it stores nothing (and beeps) when the text does not fit the
// field or the window is read-only. A record that cannot be locked is not stored. GUI
// thread only.
#pragma once

#include <QString>

#include <optional>

#include <functional>
#include "browse/entry_field.h"
#include "dbf/work_areas.h"

namespace sendwerk {

class BrowsedTable {
public:
    BrowsedTable(dbf::WorkAreas& areas, int area, bool readOnly, std::function<void()> refused);

    int area() const { return area_; }
    dbf::Table& table() const;  // throws DbfError when the area was closed

    int recCount() const;
    int recNo() const;
    void goTo(int recordNumber);
    // Moves up to n records forward (n > 0) or back, never past the last or before the
    // first; returns the number moved (negative backwards). n = 0 re-reads the record.
    int skip(int n);
    void goTop();
    void goBottom();
    int relativePosition() const;  // 0..100
    void goToRelative(int percent);

    // The data link of a field column; nothing when the table has no such field.
    std::optional<DataLink> EditBlock(const QString& cFieldName);
    // Returns xValue, stored or not.
    QString WriteField(const QString& cField, const QString& xValue);

private:
    dbf::WorkAreas& areas_;
    int area_;
    bool readOnly_;
    std::function<void()> refused_;
};

}  // namespace sendwerk
