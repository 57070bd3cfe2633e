#include "forms/data_grid.h"

#include <QHeaderView>

#include "forms/error_boundary.h"
#include "ledger/records/record_source.h"

namespace ledger::ui {

DataGrid::DataGrid(const QString& objectName, RecordSource& source, QWidget* parent)
    : QTableWidget(parent), source_(&source) {
    setObjectName(objectName);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The fixed heading row and column are cells of the grid itself, as on
    // the shop's sheets, so the header views stay hidden.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Reading the rows may fail (a file replaced meanwhile): the error is
    // shown, never passed back into the record source's signal.
    connectGuarded(&source, &RecordSource::currentRowChanged, this, [this] { fill(); });
}

QString DataGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void DataGrid::fill() {
    if (!source_ || !source_->isOpen()) return;
    const QStringList columns = source_->columnNames();
    const std::vector<QStringList> rows = source_->rowsAsText();
    setRowCount(static_cast<int>(rows.size()) + 1);
    setColumnCount(static_cast<int>(columns.size()) + 1);
    const QBrush fixed = palette().button();
    auto fixedCell = [&](const QString& text) {
        auto* cell = new QTableWidgetItem(text);
        cell->setBackground(fixed);
        cell->setFlags(Qt::ItemIsEnabled);
        return cell;
    };
    setItem(0, 0, fixedCell(QString()));
    for (int c = 0; c < columns.size(); ++c) setItem(0, c + 1, fixedCell(columns[c]));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        setItem(r + 1, 0, fixedCell(QString()));
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* cell = new QTableWidgetItem(rows[r][c]);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r + 1, c + 1, cell);
        }
    }
}

}  // namespace ledger::ui
