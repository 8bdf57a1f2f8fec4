// The records of a browsed table as rows of a grid, read on demand by record number
// (without moving the table's cursor) and shown in the form the office types
// (dbf/field_text.h). The last record read is kept until refresh(), so painting one row
// reads the file once. GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QStringList>

#include <vector>

#include "dbf/table.h"

namespace sendwerk {

class BrowsedTable;

class RecordModel final : public QAbstractTableModel {
public:
    explicit RecordModel(BrowsedTable& table, QObject* parent);

    // A column for the field `name` with the heading `heading`.
    void addField(const QString& name, const QString& heading);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Forgets what was read; rows `from`..`to` are repainted from the file.
    void refresh(int from, int to);
    // Takes in the records appended since the last look; true when rows came.
    bool followAppends();

    int textWidth(int column) const;

private:
    BrowsedTable& table_;
    std::vector<std::pair<int, dbf::FieldDef>> fields_;  // field index, definition
    QStringList headings_;
    int rows_ = 0;
    mutable int cachedRow_ = -1;
    mutable QByteArray cachedRecord_;
};

}  // namespace sendwerk
