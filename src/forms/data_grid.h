#pragma once

#include <QPointer>
#include <QTableWidget>

namespace ledger {
class RecordSource;
}

namespace ledger::ui {

// A read-only grid over a whole record source: one fixed heading row with the
// column names, one empty fixed first column, then one line per row in the
// row set's order. Widths are set per column (in pixels).
class DataGrid : public QTableWidget {
    Q_OBJECT
public:
    DataGrid(const QString& objectName, RecordSource& source, QWidget* parent);

    // Text of a cell; row 0 is the heading row, column 0 the empty column.
    QString cellText(int row, int column) const;
    int gridRows() const { return rowCount(); }
    int gridColumns() const { return columnCount(); }
    void setGridColumnWidth(int column, int pixels) { setColumnWidth(column, pixels); }
    int gridColumnWidth(int column) const { return columnWidth(column); }

private:
    void fill();

    QPointer<RecordSource> source_;
};

}  // namespace ledger::ui
