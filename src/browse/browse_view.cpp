#include "browse/browse_view.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include "browse/browsed_table.h"
#include "browse/edit_column.h"
#include "browse/record_model.h"
#include "widgets/key_codes.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"

namespace sendwerk {

namespace {

constexpr int kAppendLookMs = 1000;

}  // namespace

BrowseView::BrowseView(BrowsedTable& table, EventQueue& events, EntrySettings& entry, QWidget* parent)
    : QTableView(parent), table_(table), events_(events), entry_(entry) {
    applyPresentation(
        *this, {{presentation::TextColour, colour::Blue}, {presentation::Background, colour::EntryFieldBackground}});
    model_ = new RecordModel(table, this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { keepEditorOverCell(); });
    connect(&appends_, &QTimer::timeout, this, [this] { followAppends(); });
    appends_.start(kAppendLookMs);
}

BrowseView::~BrowseView() {
    appends_.stop();
    activeColumn = nullptr;
}

void BrowseView::addColumn(EditColumn* column) {
    columns_.push_back(column);
    model_->addField(column->dataLink().form.name, column->heading());
    const int position = int(columns_.size()) - 1;
    const int textWidth = fontMetrics().horizontalAdvance(QString(model_->textWidth(position), QLatin1Char('M')));
    const int headingWidth = fontMetrics().horizontalAdvance(column->heading());
    setColumnWidth(position, std::min(std::max(textWidth * 3 / 4, headingWidth) + 12, 400));
}

EditColumn* BrowseView::getColumn(int position) const {
    return position >= 0 && position < int(columns_.size()) ? columns_[position] : nullptr;
}

int BrowseView::indexOf(const EditColumn* column) const {
    for (int i = 0; i < int(columns_.size()); ++i)
        if (columns_[i] == column) return i;
    return -1;
}

int BrowseView::rowPos() const { return currentIndex().isValid() ? currentIndex().row() : 0; }

int BrowseView::colPos() const { return currentIndex().isValid() ? currentIndex().column() : 0; }

QRect BrowseView::cellRect(int row, int column) const { return visualRect(model_->index(row, column)); }

int BrowseView::rowsPerPage() const {
    const int height = verticalHeader()->defaultSectionSize();
    return std::max(1, viewport()->height() / std::max(1, height));
}

void BrowseView::moveTo(int row, int column) {
    if (model_->rowCount() == 0 || columns_.empty()) return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    column = std::clamp(column, 0, colCount() - 1);
    if (currentIndex().isValid() && row == rowPos() && column == colPos()) {
        // Nowhere further to go: the cell is written as if left, and read again.
        leaveRow(row);
        arrive(row);
        return;
    }
    setCurrentIndex(model_->index(row, column));
}

void BrowseView::moveRows(int n) {
    table_.goTo(rowPos() + 1);
    const int moved = table_.skip(n);
    moveTo(rowPos() + moved, colPos());
}

void BrowseView::down() { moveRows(1); }
void BrowseView::up() { moveRows(-1); }
void BrowseView::pageDown() { moveRows(rowsPerPage() - 1); }
void BrowseView::pageUp() { moveRows(-(rowsPerPage() - 1)); }

void BrowseView::goTop() {
    table_.goTop();
    moveTo(table_.recNo() - 1, colPos());
}

void BrowseView::goBottom() {
    followAppends();
    table_.goBottom();
    moveTo(table_.recNo() - 1, colPos());
}

void BrowseView::right() { moveTo(rowPos(), colPos() + 1); }
void BrowseView::left() { moveTo(rowPos(), colPos() - 1); }
void BrowseView::firstColumn() { moveTo(rowPos(), 0); }
void BrowseView::lastColumn() { moveTo(rowPos(), colCount() - 1); }

void BrowseView::refreshCurrent() { refreshRows(rowPos(), rowPos()); }

void BrowseView::refreshRows(int from, int to) { model_->refresh(from, to); }

void BrowseView::forceStable() {
    if (currentIndex().isValid()) scrollTo(currentIndex());
    keepEditorOverCell();
    viewport()->update();
}

void BrowseView::showRecord(int recordNumber) {
    if (recordNumber == 0) recordNumber = table_.recNo();
    const int row = std::clamp(recordNumber, 1, std::max(1, model_->rowCount())) - 1;
    if (model_->rowCount() == 0 || columns_.empty()) return;
    setCurrentIndex(model_->index(row, colPos()));
    scrollTo(currentIndex(), QAbstractItemView::PositionAtTop);
}

void BrowseView::followAppends() {
    if (model_->followAppends() && !currentIndex().isValid() && model_->rowCount() > 0) showRecord(1);
    viewport()->update();
}

void BrowseView::leaveRow(int row) {
    table_.goTo(row + 1);
    for (EditColumn* column : columns_) column->hiliteRow(row, false);
}

void BrowseView::arrive(int row) {
    table_.goTo(row + 1);
    // The current column reads last, so a click that made another column active wins.
    EditColumn* current = currentColumn();
    for (EditColumn* column : columns_)
        if (column != current) column->hiliteRow(row, true);
    if (current != nullptr) current->hiliteRow(row, true);
}

void BrowseView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid()) return;
    if (!previous.isValid()) {
        arrive(current.row());
        return;
    }
    if (current.row() != previous.row()) {
        leaveRow(previous.row());
        arrive(current.row());
    } else if (current.column() != previous.column()) {
        table_.goTo(previous.row() + 1);
        if (EditColumn* left = getColumn(previous.column())) left->hiliteRow(previous.row(), false);
    }
}

bool BrowseView::event(QEvent* e) {
    // Tab and Shift+Tab are keys of the grid here, not moves of the focus.
    if (isTabPress(*e)) {
        keyPressEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return QTableView::event(e);
}

void BrowseView::keyPressEvent(QKeyEvent* e) {
    e->accept();
    // Keys typed ahead while the grid was busy were meant for the cell that the keys
    // before them opened.
    if (activeColumn != nullptr && activeColumn->activeGet() != nullptr && activeColumn->activeGet()->isVisible()) {
        QCoreApplication::sendEvent(activeColumn->activeGet(), e);
        return;
    }
    const int code = keyCodeFor(*e);
    if (EditColumn* column = currentColumn(); column != nullptr && column->keyboard(code)) return;
    switch (code) {
    case key::Down: down(); break;
    case key::Up: up(); break;
    case key::PageDown: pageDown(); break;
    case key::PageUp: pageUp(); break;
    case key::CtrlPageDown: goBottom(); break;
    case key::CtrlPageUp: goTop(); break;
    case key::Right: right(); break;
    case key::Left: left(); break;
    case key::Home: firstColumn(); break;
    case key::End: lastColumn(); break;
    default: return;
    }
    forceStable();
}

void BrowseView::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    if (at.isValid() && e->button() == Qt::LeftButton) {
        if (at.row() == rowPos() && at.column() != colPos() && currentIndex().isValid()) {
            // Leaving a cell of this row for another one: its edit is written first.
            table_.goTo(rowPos() + 1);
            if (EditColumn* left = currentColumn()) left->hiliteRow(rowPos(), false);
        }
        if (EditColumn* column = getColumn(at.column())) column->lbDown(at.row());
    }
    QTableView::mousePressEvent(e);
}

void BrowseView::keepEditorOverCell() {
    if (activeColumn != nullptr) activeColumn->resize();
}

void BrowseView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    keepEditorOverCell();
}

void BrowseView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    keepEditorOverCell();
}

}  // namespace sendwerk
