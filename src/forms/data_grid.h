// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QTableView>

namespace ledger {
class RecordSource;
}

namespace forms {

class GridRows;

// A read-only grid over a whole record source: one fixed heading row with the
// column names, one empty fixed first column, then one line per row in the
// row set's order. The heading row and the first column are the grid's own
// headers, so they stay in view (and on a printed page) however far the
// lines are scrolled. Cells are addressed as the shop's grid numbers them:
// row 0 is the heading row, column 0 the empty column. Widths are set per
// column (in pixels).
//
// The rows are a model the view reads as it draws: only the lines in view
// are ever laid out, so ten thousand rows open as quickly as the rows are
// read.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(const QString& objectName, ledger::RecordSource& source, QWidget* parent);
    ~DataGrid() override;

    // Text of a cell; row 0 is the heading row, column 0 the empty column.
    QString cellText(int row, int column) const;
    int gridRows() const;
    int gridColumns() const;
    void setGridColumnWidth(int column, int pixels);
    int gridColumnWidth(int column) const;

    // The heading row alone (no rows could be read).
    void showHeadingOnly(const QStringList& columns);

private:
    void fill();

    QPointer<ledger::RecordSource> source_;
    GridRows* rows_;
};

}  // namespace forms
