// SPDX-License-Identifier: GPL-3.0-or-later
// The staff register's load step and commands: Login (the rate transfer),
// New, Cancel, the monthly-pay box and the hidden "By This Name".

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <optional>

#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/field_binding.h"
#include "ledger/records/record_source.h"
#include "staff/staff_register.h"
#include "staff/wage_window.h"

namespace staff {

using forms::connectGuarded;

void Form6::loadStep() {
    data_->source().setDatabasePath(forms::workspace().books());
    choices_->source().setDatabasePath(forms::workspace().books());
}

void Form6::connectCommands() {
    connectGuarded(login_, &QPushButton::clicked, this, [this] { carryRatesToWageRow(); });
    connectGuarded(newEmployee_, &QPushButton::clicked, this, [this] { beginNewEmployee(); });
    // "Save" has no action of its own: the row is stored when the register
    // moves to another row or closes.
    connectGuarded(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    connectGuarded(byThisName_, &QPushButton::clicked, this, [this] { findWageWindowName(); });
    connectGuarded(monthlyPayBox_, &QCheckBox::clicked, this,
                   [this](bool ticked) { showMonthlyPay(ticked); });
}

void Form6::beginNewEmployee() { data_->source().addNew(); }

void Form6::showMonthlyPay(bool ticked) {
    // The field is visible while the box is still unticked when the window
    // opens, so the first click (ticking) leaves it as it is.
    monthlyPay_->setVisible(ticked);
}

void Form6::findWageWindowName() {
    auto* wageWindow = qobject_cast<Form5*>(FormWindow::find(windows::kWageWindow));
    if (!wageWindow) return;
    ledger::RecordSource& staffRows = data_->source();
    // An empty register has no row to find and none to come back to.
    if (staffRows.rowCount() == 0) return;
    // The very employee picked in the wage window (two of one name stay
    // apart); a name nobody has leaves the register where it is.
    const std::optional<ledger::Bookmark> employee = wageWindow->chosenEmployee();
    if (!employee) return;
    if (!staffRows.holds(*employee)) staffRows.takeInNewRows();
    if (staffRows.holds(*employee)) staffRows.setBookmark(*employee);
}

void Form6::carryRatesToWageRow() {
    // The values land in bound fields of the wage window's current row, so
    // they may go only into a row begun there with New: written into a stored
    // row they would change it at that window's next write-back.
    auto* wageWindow = qobject_cast<Form5*>(FormWindow::find(windows::kWageWindow));
    if (!wageWindow || !wageWindow->isEnteringNewRow()) {
        tellLoginNeedsNewWageRow();
        return;
    }
    // The register's own edits are stored before anything is carried: if
    // they cannot be, the user sees why and nothing has moved yet.
    data_->source().writeBack();

    std::optional<QString> monthlyPay;
    if (monthlyPayBox_->isChecked()) monthlyPay = monthlyPay_->text();
    // The name goes with the rates: the wage row's name and rates are always
    // one employee's, whichever row the register was moved to.
    wageWindow->takeRates(name_->text(), salaryHour_->text(), overtimeSalaryHour_->text(),
                          serialNumber_->text(), monthlyPay);
    unload();
}

void Form6::offerOnlyLogin() {
    for (QPushButton* button : {newEmployee_, save_, cancel_}) button->hide();
}

void Form6::tellLoginNeedsNewWageRow() {
    forms::tell(
        this, QStringLiteral("The rates can be carried only into a wage row begun with New in the "
                             "wage window (\"The staff calculate wages\"). Nothing was carried and "
                             "no wage row was changed.\n\nTo take over these rates: in the wage "
                             "window press New, choose the name, then press Login here."));
}

}  // namespace staff
