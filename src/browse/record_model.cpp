#include "browse/record_model.h"

#include "browse/browsed_table.h"
#include "dbf/field_text.h"

namespace sendwerk {

RecordModel::RecordModel(BrowsedTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), rows_(table.recCount()) {}

void RecordModel::addField(const QString& name, const QString& heading) {
    const int index = table_.table().fieldIndex(name);
    if (index < 0) return;
    const int column = int(fields_.size());
    beginInsertColumns({}, column, column);
    fields_.emplace_back(index, table_.table().fields().at(index));
    headings_ << heading;
    endInsertColumns();
}

int RecordModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RecordModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(fields_.size()); }

QVariant RecordModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.column() >= int(fields_.size())) return {};
    if (index.row() != cachedRow_) {
        cachedRecord_ = table_.table().recordAt(index.row() + 1);
        cachedRow_ = index.row();
    }
    const auto& [field, definition] = fields_[index.column()];
    return dbf::fieldText(definition, table_.table().fieldIn(cachedRecord_, field));
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return headings_.value(section);
    return section + 1;
}

void RecordModel::refresh(int from, int to) {
    cachedRow_ = -1;
    if (rows_ == 0 || fields_.empty()) return;
    from = std::clamp(from, 0, rows_ - 1);
    to = std::clamp(to, from, rows_ - 1);
    emit dataChanged(index(from, 0), index(to, int(fields_.size()) - 1));
}

bool RecordModel::followAppends() {
    cachedRow_ = -1;
    const int now = table_.recCount();
    if (now == rows_) return false;
    if (now < rows_) {
        // Records only go when the file is packed elsewhere: start again.
        beginResetModel();
        rows_ = now;
        endResetModel();
        return true;
    }
    beginInsertRows({}, rows_, now - 1);
    rows_ = now;
    endInsertRows();
    return true;
}

int RecordModel::textWidth(int column) const {
    return column < int(fields_.size()) ? dbf::textWidth(fields_[column].second) : 0;
}

}  // namespace sendwerk
