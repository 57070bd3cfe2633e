#pragma once

#include <QPointer>
#include <QTableWidget>

namespace ledger {
class RecordSource;
}

namespace ledger::ui {

// A read-only grid over a whole record source: one fixed heading row with the
// column names, one empty fixed first column, then one line per row in the
// row set's order. The heading row and the first column are the grid's own
// headers, so they stay in view (and on a printed page) however far the
// lines are scrolled. Cells are addressed as the shop's grid numbers them:
// row 0 is the heading row, column 0 the empty column. Widths are set per
// column (in pixels).
class DataGrid : public QTableWidget {
    Q_OBJECT
public:
    DataGrid(const QString& objectName, RecordSource& source, QWidget* parent);

    // Text of a cell; row 0 is the heading row, column 0 the empty column.
    QString cellText(int row, int column) const;
    int gridRows() const { return rowCount() + 1; }
    int gridColumns() const { return columnCount() + 1; }
    void setGridColumnWidth(int column, int pixels);
    int gridColumnWidth(int column) const;

    // The heading row alone (no rows could be read).
    void showHeadingOnly(const QStringList& columns);

private:
    void fill();
    void setHeadings(const QStringList& columns);

    QPointer<RecordSource> source_;
};

}  // namespace ledger::ui
