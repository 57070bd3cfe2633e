// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "forms/form_window.h"
#include "interfaces/sheet_commands.h"
#include "supplies/sheet_design.h"

namespace ledger {
class RecordSource;
}

namespace forms {
class BoundLineEdit;
class ComputedFigure;
class DataControl;
}  // namespace forms

class QPushButton;

namespace supplies {

// A supply detail sheet: ten item amounts of the daily ledger's row, their
// subtotal, "By here day" to show the daily window's day (that very row of
// the ledger, also when two sheets share its date) and "Confirm" to
// carry the subtotal into the daily window. The tableware sheet (Form2) and
// the shop-articles sheet (Form3) are this one window with different designs.
class SupplySheet : public forms::FormWindow, public SheetCommands {
    Q_OBJECT
public:
    explicit SupplySheet(const SheetDesign& design, QWidget* parent = nullptr);

    const SheetDesign& design() const { return design_; }
    ledger::RecordSource& records();
    QPushButton* byHereDayButton() const override { return byHereDay_; }

protected:
    void loadStep() override;

private:
    void buildItemColumn();
    void buildRightColumn();
    void buildDecoration();
    void orderKeyboardFocus();
    void centreOnScreen();

    void recomputeSubtotal();
    void goToMainWindowDay();  // Command1 "By here day"
    void confirm();            // Command2 "Confirm"
    // Whether this sheet shows the very day row the daily window shows.
    bool showsDay(const daily::DailyWindowFace& main) const;
    // The daily window showing a stored day, or nullptr after saying why
    // there is none.
    daily::DailyWindowFace* dailyWindowOnStoredDay();
    void tellDailyWindowClosed();
    void tellDayNotStored();

    const SheetDesign& design_;
    forms::DataControl* data_ = nullptr;
    std::vector<forms::BoundLineEdit*> items_;
    forms::BoundLineEdit* date_ = nullptr;
    forms::ComputedFigure* subtotal_ = nullptr;
    QPushButton* byHereDay_ = nullptr;
    QPushButton* confirm_ = nullptr;
};

}  // namespace supplies
