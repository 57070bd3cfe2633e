// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>

#include "daily/rules/sheet_balance.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/error_boundary.h"
#include "ledger/amount/amount.h"
#include "monthly/month_sheet.h"

namespace monthly {

namespace {

using ledger::ui::BoundLineEdit;
using ledger::ui::ComputedFigure;

// Every figure reads its operands from the texts on screen: fields and
// figures alike go through the amount parse, so a figure fed by another
// carries exactly what that one shows. The month is balanced as a day is.
double amountShown(const QLineEdit* field) { return ledger::parseAmount(field->text()); }
double amountShown(const ComputedFigure* figure) { return ledger::parseAmount(figure->text()); }

std::vector<double> amountsShown(const std::vector<BoundLineEdit*>& fields) {
    std::vector<double> amounts;
    for (const BoundLineEdit* field : fields) amounts.push_back(amountShown(field));
    return amounts;
}

}  // namespace

void Form4::connectTriggers() {
    // Each reaction runs at once when a field's text changes, and a figure
    // whose text changes runs the figures depending on it as plain calls,
    // depth first, so the figures follow every keystroke and every month the
    // bar brings in. Only the fields' signals start the chain.
    for (BoundLineEdit* field : administration_)
        ledger::ui::connectGuarded(field, &QLineEdit::textChanged, this,
                                   [this](const QString&) { computeAdministrationSubtotal(); });
    for (BoundLineEdit* field : expenditure_)
        ledger::ui::connectGuarded(field, &QLineEdit::textChanged, this,
                                   [this](const QString&) { computeExpenditureSubtotal(); });
    ledger::ui::connectGuarded(turnover_, &QLineEdit::textChanged, this,
                               [this](const QString&) { computeTotalNetAmount(); });
    // The total net amount first, then the deduction.
    ledger::ui::connectGuarded(smallIncidentalMoney_, &QLineEdit::textChanged, this,
                               [this](const QString&) {
                                   computeTotalNetAmount();
                                   computeDeduction();
                               });
    ledger::ui::connectGuarded(acceptedCash_, &QLineEdit::textChanged, this,
                               [this](const QString&) { computeDifference(); });

    administrationSubtotal_->setDependents([this] { computeTotal(); });
    expenditureSubtotal_->setDependents([this] {
        copyOutOfPocketExpenses();
        computeTotal();
    });
    for (ComputedFigure* figure : {totalNetAmount_, outOfPocketExpenses_, deduction_})
        figure->setDependents([this] { computeCashSubtotal(); });
    cashSubtotal_->setDependents([this] {
        computeDifference();
        computeTotal();
    });
}

void Form4::computeAdministrationSubtotal() {
    administrationSubtotal_->setText(
        ledger::amountText(daily::administrationSubtotal(amountsShown(administration_))));
}

void Form4::computeExpenditureSubtotal() {
    expenditureSubtotal_->setText(
        ledger::amountText(daily::expenditureSubtotal(amountsShown(expenditure_))));
}

void Form4::computeTotalNetAmount() {
    totalNetAmount_->setText(ledger::amountText(
        daily::totalNetAmount(amountShown(turnover_), amountShown(smallIncidentalMoney_))));
}

void Form4::copyOutOfPocketExpenses() {
    // Character for character: no parse, no arithmetic, nothing to test.
    outOfPocketExpenses_->setText(expenditureSubtotal_->text());
}

void Form4::computeOutOfPocketFromFields() {
    outOfPocketExpenses_->setText(
        ledger::amountText(daily::expenditureSubtotal(amountsShown(expenditure_))));
}

void Form4::computeDeduction() {
    // A single parsed value: no arithmetic to test.
    deduction_->setText(ledger::amountText(amountShown(smallIncidentalMoney_)));
}

void Form4::computeCashSubtotal() {
    cashSubtotal_->setText(ledger::amountText(daily::cashSubtotal(
        amountShown(totalNetAmount_), amountShown(outOfPocketExpenses_), amountShown(deduction_))));
}

void Form4::computeDifference() {
    difference_->setText(ledger::amountText(
        daily::cashDifference(amountShown(acceptedCash_), amountShown(cashSubtotal_))));
}

void Form4::computeTotal() {
    // The expenditure is already inside the cash subtotal, as on the daily
    // window.
    total_->setText(ledger::amountText(
        daily::settlementTotal(amountShown(cashSubtotal_), amountShown(administrationSubtotal_))));
}

}  // namespace monthly
