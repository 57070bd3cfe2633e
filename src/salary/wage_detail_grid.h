// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_window.h"

class QLineEdit;
class QPushButton;

namespace ledger {
class RecordSource;
}

namespace forms {
class DataGrid;
}

namespace salary {

// "The staff calculate wages(Detail)": the wage rows that the "Detail"
// command asked for, listed by date in a read-only grid that can fit its
// columns to their texts and print itself. The rows are read when the window
// loads, and again at each later "Detail".
class Form9 : public forms::FormWindow {
    Q_OBJECT
public:
    explicit Form9(QWidget* parent = nullptr);
    ~Form9() override;

    forms::DataGrid* grid() const { return grid_; }
    // Reads the rows of the detail query text as it stands now.
    void showAskedRows();

protected:
    void loadStep() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeGrid();
    void openRows();
    void showHeadingOnly();
    void autosizeColumns();  // Command1
    void printSheet();       // Command2

    // Hidden, with no bar: the grid is its only view.
    ledger::RecordSource* data_ = nullptr;  // Data1
    QLineEdit* title_ = nullptr;            // Text1
    QPushButton* autosize_ = nullptr;       // Command1
    QPushButton* print_ = nullptr;          // Command2
    forms::DataGrid* grid_ = nullptr;       // MSFlexGrid1
};

}  // namespace salary
