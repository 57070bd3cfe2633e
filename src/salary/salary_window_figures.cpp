// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "forms/amount_shown.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "ledger/amount/amount.h"
#include "ledger/records/record_source.h"
#include "salary/rules/salary_rules.h"
#include "salary/salary_window.h"

namespace salary {

using forms::amountShown;
using forms::BoundLineEdit;
using forms::ComputedFigure;

void Form7::connectTriggers() {
    // Each reaction runs at once when a field's text changes, and the salary
    // follows its two parts as a plain call, so the figures follow
    // every keystroke, every month the bar brings in and every staff row the
    // name looks up. Only the fields' signals start the chain.
    for (BoundLineEdit* field : {salaryHour_, overtimeRate_, overtimeHours_, workHours_})
        forms::connectGuarded(field, &QLineEdit::textChanged, this, [this] { computeSubtotal(); });
    for (BoundLineEdit* field : {insurance_, absentDeduct_})
        forms::connectGuarded(field, &QLineEdit::textChanged, this,
                              [this] { computeDeductions(); });
    forms::connectGuarded(name_, &QLineEdit::textChanged, this, [this] { lookUpStaff(); });
    // Another month may differ only in the monthly pay its wage rows record.
    forms::connectGuarded(&months_->source(), &ledger::RecordSource::currentRowChanged, this,
                          [this] {
                              computeSubtotal();
                              showStaffNote();
                          });
    for (ComputedFigure* part : {subtotal_, deductions_})
        part->setDependents([this] { computeActualSalary(); });
}

void Form7::computeSubtotal() {
    // Without a staff row there are no rates to price the hours at: the
    // subtotal stays empty rather than invented.
    if (monthHasNoStaffRow()) {
        subtotal_->setText(QString());
        return;
    }
    // The rates are the register's, as it stands now; the month's hours are
    // the wage rows' sums, and the monthly pay what they record.
    subtotal_->setText(ledger::amountText(salarySubtotal(
        amountShown(salaryHour_), amountShown(workHours_), amountShown(overtimeHours_),
        amountShown(overtimeRate_), monthlyPayShown())));
}

void Form7::computeDeductions() {
    deductions_->setText(
        ledger::amountText(salaryDeductions(amountShown(insurance_), amountShown(absentDeduct_))));
}

void Form7::computeActualSalary() {
    if (monthHasNoStaffRow()) {
        actualSalary_->setText(QString());
        return;
    }
    actualSalary_->setText(
        ledger::amountText(actualSalary(amountShown(subtotal_), amountShown(deductions_))));
}

QString Form7::shownMonth() const { return month_->text(); }

QString Form7::shownName() const { return name_->text(); }

bool Form7::monthHasNoStaffRow() const {
    return months_->source().hasCurrentRow() && staff_->source().isOpen() &&
           !staff_->source().hasCurrentRow();
}

void Form7::lookUpStaff() {
    ledger::RecordSource& staff = staff_->source();
    if (!staff.isOpen()) return;
    const std::optional<ledger::Bookmark> member =
        staff.lookUp(staffLookupCriterion(name_->text()));
    if (member) {
        if (!staff.hasCurrentRow() || staff.bookmark().key != member->key)
            staff.setBookmark(*member);
    } else {
        // Nobody of that name (renamed in the register, or never there):
        // no one's rates are shown, so none price this month and a rate
        // typed here can edit no other employee's row.
        staff.showNoRow();
    }
    // The rates may be the same as before while the priced state changed.
    computeSubtotal();
    showStaffNote();
}

double Form7::monthlyPayShown() const {
    const ledger::RecordSource& months = months_->source();
    if (!months.hasCurrentRow()) return 0;
    return monthlyPays_.of(months.readValue(QStringLiteral("Date /\u6708")),
                           months.readValue(QStringLiteral("Name")),
                           months.readValue(QStringLiteral("Serial numbers")));
}

void Form7::showStaffNote() {
    if (!monthHasNoStaffRow()) {
        const double pay = monthlyPayShown();
        staffNote_->setText(
            QStringLiteral("The subtotal holds the monthly pay of %1 that this month's wage rows "
                           "added to their days.")
                .arg(ledger::amountText(pay)));
        staffNote_->setVisible(pay != 0);
        return;
    }
    staffNote_->setText(
        QStringLiteral("\"%1\" is not in the staff register, so this month has no rates and no "
                       "salary. If the employee was renamed, give the name back in the "
                       "register (The staff revise materials) to price the month.")
            .arg(name_->text()));
    staffNote_->show();
}

}  // namespace salary
