// SPDX-License-Identifier: GPL-3.0-or-later
// The wage window's figures: each change of a field runs its reaction at
// once, and a figure whose text changes runs the figures that depend on it,
// depth first, so the wage follows every keystroke, every row the bar brings
// in and every value the staff register carries over. Only the fields' own
// change signals start the chain; within it the figures call each other.

#include <QComboBox>
#include <QLineEdit>

#include "forms/amount_shown.h"
#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/workspace.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/books.h"
#include "ledger/schema/schema.h"
#include "staff/wage_arithmetic.h"
#include "staff/wage_window.h"

namespace staff {

using forms::amountShown;
using forms::ComputedFigure;
using forms::connectGuarded;

namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

void Form5::connectTriggers() {
    // Rates typed by hand stay editable while the row is entered; only
    // rates the register carried lock (takeRates).
    connectGuarded(salaryHour_, &QLineEdit::textChanged, this, [this] { copySalaryHour(); });
    connectGuarded(overtimeSalaryHour_, &QLineEdit::textChanged, this,
                   [this] { copyOvertimeSalaryHour(); });
    connectGuarded(mainHour_, &QLineEdit::textChanged, this, [this] { computeMainTotal(); });
    connectGuarded(workOvertime_, &QLineEdit::textChanged, this,
                   [this] { computeOvertimeTotal(); });
    for (QLineEdit* deduction : {insurance_, absentDeduct_})
        connectGuarded(deduction, &QLineEdit::textChanged, this, [this] { computeDeductions(); });

    salaryHourCopy_->setDependents([this] { computeMainTotal(); });
    overtimeSalaryHourCopy_->setDependents([this] { computeOvertimeTotal(); });
    for (ComputedFigure* total : {mainTotal_, overtimeTotal_})
        total->setDependents([this] { computeSubtotal(); });
    for (ComputedFigure* part : {subtotal_, deductions_})
        part->setDependents([this] { computeWage(); });

    // A choice in either yes / no list, a click on its text, its drop-down
    // opened and closed, and text typed into it: each decides whether the
    // hours are worked or zero, so the lock always follows what the list
    // shows.
    for (forms::BoundCombo* list : {askForLeave_, absent_}) {
        connectGuarded(list, &QComboBox::activated, this,
                       [this, list] { applyLeaveOrAbsence(list); });
        connectGuarded(list, &forms::BoundCombo::popupClosed, this,
                       [this, list] { applyLeaveOrAbsence(list); });
        connectGuarded(list, &forms::BoundCombo::valueChanged, this, [this, list] {
            if (!list->isFilling()) applyLeaveOrAbsence(list);
        });
        list->lineEdit()->installEventFilter(this);
    }
}

void Form5::setFieldText(QLineEdit* field, const QString& text) {
    // Set by code like a keystroke: the field's reaction runs, and its
    // failure ends the step that set it.
    forms::raiseReactionErrors([&] { field->setText(text); });
}

void Form5::copySalaryHour() {
    salaryHourCopy_->setText(ledger::amountText(amountShown(salaryHour_)));
}

void Form5::copyOvertimeSalaryHour() {
    overtimeSalaryHourCopy_->setText(ledger::amountText(amountShown(overtimeSalaryHour_)));
}

void Form5::computeMainTotal() {
    mainTotal_->setText(ledger::amountText(checkedResult(
        amountShown(salaryHourCopy_) * amountShown(mainHour_), QStringLiteral("the main total"))));
}

void Form5::computeOvertimeTotal() {
    overtimeTotal_->setText(ledger::amountText(
        checkedResult(amountShown(overtimeSalaryHourCopy_) * amountShown(workOvertime_),
                      QStringLiteral("the overtime total"))));
}

void Form5::computeSubtotal() {
    subtotal_->setText(ledger::amountText(checkedResult(
        amountShown(mainTotal_) + amountShown(overtimeTotal_), QStringLiteral("the subtotal"))));
}

void Form5::computeDeductions() {
    deductions_->setText(
        ledger::amountText(checkedResult(amountShown(insurance_) + amountShown(absentDeduct_),
                                         QStringLiteral("the deductions (Subtotal -2)"))));
}

void Form5::computeWage() {
    unrecordedMonthlyPay_ = false;
    // A row that records a monthly pay added that, not its hours.
    if (monthlyPay_ && !monthlyPay_->text().isEmpty()) {
        wage_->setText(monthlyPay_->text());
        return;
    }
    wage_->setText(ledger::amountText(checkedResult(
        amountShown(subtotal_) - amountShown(deductions_), QStringLiteral("the day's wage"))));
}

void Form5::bindMonthlyPayWhereRecorded() {
    bool recorded = false;
    try {
        books_ = ledger::openBooks(forms::workspace().books());
        recorded = ledger::tableHasColumn(*books_, ledger::schema::kWages,
                                          ledger::schema::kWageMonthlyPay);
    } catch (const ledger::LedgerError&) {
        // The record sources say what is wrong with the books when they open.
    }
    if (!recorded) return;
    monthlyPay_ = new forms::BoundLineEdit(QStringLiteral("Text15"), data_->source(),
                                           ledger::schema::kWageMonthlyPay, this);
    monthlyPay_->hide();
    connectGuarded(monthlyPay_, &QLineEdit::textChanged, this, [this] { computeWage(); });
    for (forms::BoundLineEdit* figure :
         {salaryHour_, overtimeSalaryHour_, mainHour_, workOvertime_, insurance_, absentDeduct_})
        connectGuarded(figure, &QLineEdit::textChanged, this,
                       [this, figure] { giveUpMonthlyPay(figure); });
}

void Form5::giveUpMonthlyPay(const forms::BoundLineEdit* changed) {
    // A row shown, or the register's own transfer, is no change of mind.
    if (carrying_ || changed->isFilling() || monthlyPay_->text().isEmpty()) return;
    setFieldText(monthlyPay_, QString());
}

void Form5::applyLeaveOrAbsence(const QComboBox* list) {
    // Exact texts, case and all; the last list set to one of them decides.
    if (list->currentText() == kYes) {
        setHoursReadOnly(true);
        setFieldText(mainHour_, QStringLiteral("0"));
        setFieldText(workOvertime_, QStringLiteral("0"));
    }
    if (list->currentText() == kNo) setHoursReadOnly(false);
}

void Form5::lockHoursAsTheListsShow() {
    // A row filled in (a new row, a row of the bar): the lists show what
    // they hold, and the hours are locked while one says "Yes" and neither
    // says "No". Nothing is zeroed: the row's hours are what they are.
    const QString leave = askForLeave_->currentText();
    const QString absent = absent_->currentText();
    setHoursReadOnly((leave == kYes || absent == kYes) && leave != kNo && absent != kNo);
}

void Form5::setHoursReadOnly(bool readOnly) {
    mainHour_->setReadOnly(readOnly);
    workOvertime_->setReadOnly(readOnly);
}

}  // namespace staff
