#include "forms/data_grid.h"

#include <QHeaderView>

#include "forms/error_boundary.h"
#include "ledger/records/record_source.h"

namespace ledger::ui {

DataGrid::DataGrid(const QString& objectName, RecordSource& source, QWidget* parent)
    : QTableWidget(parent), source_(&source) {
    setObjectName(objectName);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The fixed heading row and empty first column, in the grey of the
    // shop's grid, neither clickable nor sized by dragging into nothing.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
    }
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(horizontalHeader()->defaultSectionSize() / 2);
    setCornerButtonEnabled(false);
    // Reading the rows may fail (a file replaced meanwhile): the error is
    // shown, never passed back into the record source's signal.
    connectGuarded(&source, &RecordSource::currentRowChanged, this, [this] { fill(); });
}

QString DataGrid::cellText(int row, int column) const {
    if (column == 0) return QString();  // the empty fixed column
    if (row == 0) {
        const QTableWidgetItem* heading = horizontalHeaderItem(column - 1);
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, column - 1);
    return cell ? cell->text() : QString();
}

void DataGrid::setGridColumnWidth(int column, int pixels) {
    if (column == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(column - 1, pixels);
}

int DataGrid::gridColumnWidth(int column) const {
    return column == 0 ? verticalHeader()->width() : columnWidth(column - 1);
}

void DataGrid::setHeadings(const QStringList& columns) {
    setColumnCount(static_cast<int>(columns.size()));
    setHorizontalHeaderLabels(columns);
}

void DataGrid::showHeadingOnly(const QStringList& columns) {
    setRowCount(0);
    setHeadings(columns);
}

void DataGrid::fill() {
    if (!source_ || !source_->isOpen()) return;
    const QStringList columns = source_->columnNames();
    const std::vector<QStringList> rows = source_->rowsAsText();
    setRowCount(static_cast<int>(rows.size()));
    setHeadings(columns);
    // The fixed first column stays empty: no row numbers.
    setVerticalHeaderLabels(QStringList(static_cast<qsizetype>(rows.size()), QString()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* cell = new QTableWidgetItem(rows[r][c]);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, cell);
        }
    }
}

}  // namespace ledger::ui
