// The browse view: a grid over the table in one work area, one row per record in record
// order and one EditColumn per column, with a row cursor (the whole current row is
// highlighted). The cursor is the table's current record; painting reads the records it
// shows by number, without moving the cursor, so rows are read on demand and never all
// at once.
//
// Every move of the cursor tells the columns: the row left (hiliteRow false, the table
// still on its record), then the row arrived on (true). A move to another column within
// the row tells the column left, so its edit is written before the next column reads. A
// move that cannot go further (Enter on the last row) writes the cell and reads it again.
// Records appended meanwhile, by this program or another, appear within a second.
//
// Keys reach the current column first (its keyboard()); what it does not use moves the
// cursor. GUI thread only.
#pragma once

#include <QTableView>
#include <QTimer>

#include <vector>

namespace sendwerk {

class BrowsedTable;
class EditColumn;
class EventQueue;
class RecordModel;
struct EntrySettings;

class BrowseView final : public QTableView {
public:
    BrowseView(BrowsedTable& table, EventQueue& events, EntrySettings& entry, QWidget* parent);
    ~BrowseView() override;

    BrowsedTable& table() const { return table_; }
    EventQueue& events() const { return events_; }
    EntrySettings& entrySettings() const { return entry_; }

    // Takes the column (a QObject child of the view).
    void addColumn(EditColumn* column);
    int colCount() const { return int(columns_.size()); }
    EditColumn* getColumn(int position) const;  // 0-based
    int indexOf(const EditColumn* column) const;
    int rowPos() const;  // the current row, 0-based (record number − 1)
    int colPos() const;  // the current column, 0-based
    EditColumn* currentColumn() const { return getColumn(colPos()); }
    // The column that reads (shows its editor), or none.
    EditColumn* activeColumn = nullptr;

    // The cell rectangle of `row` in `column`, in data-area coordinates.
    QRect cellRect(int row, int column) const;

    // Movements.
    void down();
    void up();
    void pageDown();
    void pageUp();
    void goTop();
    void goBottom();
    void right();
    void left();
    void firstColumn();
    void lastColumn();
    void refreshCurrent();
    void refreshRows(int from, int to);
    void forceStable();
    // Puts the cursor on record `recordNumber` (the table's current one when 0).
    void showRecord(int recordNumber = 0);

    // Shows the records appended since the last look; the view's timer calls it.
    void followAppends();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void moveTo(int row, int column);
    void moveRows(int n);
    void arrive(int row);
    void leaveRow(int row);
    void keepEditorOverCell();
    int rowsPerPage() const;

    BrowsedTable& table_;
    EventQueue& events_;
    EntrySettings& entry_;
    RecordModel* model_ = nullptr;
    std::vector<EditColumn*> columns_;
    QTimer appends_;
};

}  // namespace sendwerk
