// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>

#include "forms/amount_shown.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "ledger/amount/amount.h"
#include "ledger/records/record_source.h"
#include "salary/name_search.h"
#include "salary/rules/salary_rules.h"
#include "salary/salary_window.h"

namespace salary {

using ledger::ui::amountShown;
using ledger::ui::BoundLineEdit;
using ledger::ui::ComputedFigure;

void Form7::connectTriggers() {
    // Each reaction runs at once when a field's text changes, and the salary
    // follows its two parts as a plain call, so the figures follow
    // every keystroke, every month the bar brings in and every staff row the
    // name looks up. Only the fields' signals start the chain.
    for (BoundLineEdit* field : {salaryHour_, overtimeRate_, overtimeHours_, workHours_})
        ledger::ui::connectGuarded(field, &QLineEdit::textChanged, this,
                                   [this] { computeSubtotal(); });
    for (BoundLineEdit* field : {insurance_, absentDeduct_})
        ledger::ui::connectGuarded(field, &QLineEdit::textChanged, this,
                                   [this] { computeDeductions(); });
    ledger::ui::connectGuarded(name_, &QLineEdit::textChanged, this, [this] { lookUpStaff(); });
    for (ComputedFigure* part : {subtotal_, deductions_})
        part->setDependents([this] { computeActualSalary(); });
}

void Form7::computeSubtotal() {
    // The rates are the register's, as it stands now; the month's hours are
    // the wage rows' sums.
    subtotal_->setText(ledger::amountText(
        salarySubtotal(amountShown(salaryHour_), amountShown(workHours_),
                       amountShown(overtimeHours_), amountShown(overtimeRate_))));
}

void Form7::computeDeductions() {
    deductions_->setText(
        ledger::amountText(salaryDeductions(amountShown(insurance_), amountShown(absentDeduct_))));
}

void Form7::computeActualSalary() {
    actualSalary_->setText(
        ledger::amountText(actualSalary(amountShown(subtotal_), amountShown(deductions_))));
}

QString Form7::shownMonth() const { return month_->text(); }

QString Form7::shownName() const { return name_->text(); }

void Form7::lookUpStaff() {
    // No staff row of that name: the rates shown stay those of the employee
    // shown before, and the salary is priced with them.
    findByName(staff_->source(), staffLookupCriterion(name_->text()));
}

}  // namespace salary
