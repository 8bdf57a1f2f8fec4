// A grid column whose cells are edited in place. On demand it lays one entry field
// exactly over the cell of the grid's current row, loads the cell into it and lets the
// operator edit; the value is written through the column's data link when the grid's
// cursor leaves the row, and only when it was changed. While the column is active the
// editing follows the cursor from row to row; Tab and Shift+Tab carry it from cell to
// cell, wrapping at the row's ends. At most one column of a grid reads at a time: a read
// ends the read of the column that held it, without writing that column's edit.
//
// Owned by its BrowseView (a QObject child); the entry field is made at the first read
// and lives in the grid's data area until the column goes. GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

#include "browse/entry_field.h"

namespace sendwerk {

class BrowseView;
class EventQueue;

class EditColumn final : public QObject, public EntryController {
public:
    EditColumn(BrowseView& browser, const QString& heading, DataLink link);
    ~EditColumn() override;

    const QString& heading() const { return heading_; }
    const DataLink& dataLink() const { return link_; }
    bool active() const { return active_; }

    // Passed to the editor when set.
    std::optional<bool> editable;

    // Starts editing the cell of `row` (the grid's current row when -1); a `firstKey`
    // replaces the cell's content as the first typed character.
    EditColumn& read(int row = -1, int firstKey = 0);
    EditColumn& killRead();  // ends edit mode without writing
    // The grid calls it for the row its cursor leaves (false, the table still on that
    // row's record) and the row it arrives on (true).
    void hiliteRow(int row, bool lHilite);
    // The left button pressed on `row` of this column.
    void lbDown(int row);
    // Keeps the editor over its cell when the grid changes size or scrolls.
    void resize();
    EntryField* activeGet() const { return xbpGet_; }

    bool keyboard(int nKey) override;
    bool preValidate(EntryField&) override { return true; }
    bool postValidate(EntryField&) override { return true; }

private:
    void createXbp();
    void setPosAndSize(int row);
    bool move(const std::function<void()>& movement);
    bool moveAndRead(const std::function<void()>& movement);

    BrowseView& browser_;
    QString heading_;
    DataLink link_;
    bool active_ = false;
    int row_ = -1;                 // the row the editor stands over
    QPointer<EntryField> xbpGet_;  // a child of the data area, which may go first
};

}  // namespace sendwerk
