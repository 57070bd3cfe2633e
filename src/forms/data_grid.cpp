// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/data_grid.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include "forms/error_boundary.h"
#include "ledger/records/record_source.h"
#include "ledger/records/row_set.h"

namespace forms {

// The grid's lines as the record source gave them, read-only, with the
// column names as the heading row and an empty first column.
class GridRows final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const QStringList& columns, std::vector<std::vector<QVariant>> rows) {
        beginResetModel();
        columns_ = columns;
        rows_ = std::move(rows);
        endResetModel();
    }

    const QStringList& columns() const { return columns_; }
    int lines() const { return static_cast<int>(rows_.size()); }
    // A cell's text as a field shows its value; made when asked for, so only
    // the cells drawn (or measured) are ever turned into text.
    QString text(int line, int column) const {
        const auto& row = rows_[static_cast<size_t>(line)];
        return column < static_cast<int>(row.size())
                   ? ledger::fieldText(row[static_cast<size_t>(column)])
                   : QString();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return text(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        // The fixed first column stays empty: no row numbers.
        if (orientation == Qt::Vertical) return QString();
        return columns_.value(section);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
};

DataGrid::DataGrid(const QString& objectName, ledger::RecordSource& source, QWidget* parent)
    : QTableView(parent), source_(&source), rows_(new GridRows(this)) {
    setObjectName(objectName);
    setModel(rows_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The fixed heading row and empty first column, in the grey of the
    // shop's grid, neither clickable nor sized by dragging into nothing.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
    }
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    // Every line as high as the font makes it, without asking each line.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(horizontalHeader()->defaultSectionSize() / 2);
    setCornerButtonEnabled(false);
    // Reading the rows may fail (a file replaced meanwhile): the error is
    // shown, never passed back into the record source's signal.
    connectGuarded(&source, &ledger::RecordSource::currentRowChanged, this, [this] { fill(); });
}

DataGrid::~DataGrid() = default;

QString DataGrid::cellText(int row, int column) const {
    if (column == 0) return QString();  // the empty fixed column
    if (row == 0) return rows_->columns().value(column - 1);
    if (row - 1 >= rows_->lines()) return QString();
    return rows_->text(row - 1, column - 1);
}

int DataGrid::gridRows() const { return rows_->lines() + 1; }

int DataGrid::gridColumns() const { return static_cast<int>(rows_->columns().size()) + 1; }

void DataGrid::setGridColumnWidth(int column, int pixels) {
    if (column == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(column - 1, pixels);
}

int DataGrid::gridColumnWidth(int column) const {
    return column == 0 ? verticalHeader()->width() : columnWidth(column - 1);
}

void DataGrid::showHeadingOnly(const QStringList& columns) { rows_->show(columns, {}); }

void DataGrid::fill() {
    if (!source_ || !source_->isOpen()) return;
    rows_->show(source_->columnNames(), source_->rowValues());
}

}  // namespace forms
