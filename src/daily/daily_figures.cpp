// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/daily_figures.h"

#include <QWidget>
#include <stdexcept>

#include "daily/rules/sheet_balance.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/error_boundary.h"
#include "interfaces/settlement_explanations.h"
#include "ledger/amount/amount.h"

namespace daily {

using ledger::ui::BoundLineEdit;
using ledger::ui::ComputedFigure;

DailyFigures::DailyFigures(QWidget* window, DayFigureControls controls)
    : window_(window), c_(std::move(controls)) {
    // A missing control is a fault of the window's build, in every build.
    const bool complete = c_.administration.size() == 10 && c_.expenditure.size() == 10 &&
                          c_.turnover && c_.smallIncidentalMoney && c_.acceptedCash &&
                          c_.administrationSubtotal && c_.expenditureSubtotal && c_.outOfPocket &&
                          c_.smallMoneyDeducted && c_.netAmount && c_.cashSubtotal &&
                          c_.difference && c_.settlementTotal;
    if (!complete) throw std::logic_error("the day sheet lacks a control of its figures");
    const settlement::Explanations say = settlement::explanations(QStringLiteral("day"));
    c_.administrationSubtotal->setExplanation(say.administrationSubtotal);
    c_.expenditureSubtotal->setExplanation(say.expenditureSubtotal);
    c_.netAmount->setExplanation(say.totalNetAmount);
    c_.outOfPocket->setExplanation(say.outOfPocket);
    c_.smallMoneyDeducted->setExplanation(say.smallMoneyDeducted);
    c_.cashSubtotal->setExplanation(say.cashSubtotal);
    c_.difference->setExplanation(say.difference);
    c_.settlementTotal->setExplanation(say.total);
}

// P(x): a field's or a figure's text read as an amount.
double DailyFigures::amountOf(const BoundLineEdit* field) {
    return ledger::parseAmount(field->text());
}

double DailyFigures::amountOf(const ComputedFigure* figure) {
    return ledger::parseAmount(figure->text());
}

// The ten fields of a group as the sheet reads them.
std::vector<double> DailyFigures::amountsOf(const std::vector<BoundLineEdit*>& fields) {
    std::vector<double> amounts;
    amounts.reserve(fields.size());
    for (const BoundLineEdit* field : fields) amounts.push_back(amountOf(field));
    return amounts;
}

// The arithmetic is the sheet balance's (daily/rules), which the month sheet,
// the pictures and the year report share.
void DailyFigures::computeAdministrationSubtotal() {
    c_.administrationSubtotal->setText(
        ledger::amountText(administrationSubtotal(amountsOf(c_.administration))));
}

void DailyFigures::computeExpenditureSubtotal() {
    c_.expenditureSubtotal->setText(
        ledger::amountText(expenditureSubtotal(amountsOf(c_.expenditure))));
}

void DailyFigures::copyOutOfPocket() { c_.outOfPocket->setText(c_.expenditureSubtotal->text()); }

void DailyFigures::computeOutOfPocketFromFields() {
    c_.outOfPocket->setText(ledger::amountText(expenditureSubtotal(amountsOf(c_.expenditure))));
}

void DailyFigures::computeSmallMoneyDeducted() {
    c_.smallMoneyDeducted->setText(ledger::amountText(amountOf(c_.smallIncidentalMoney)));
}

void DailyFigures::computeNetAmount() {
    c_.netAmount->setText(ledger::amountText(
        totalNetAmount(amountOf(c_.turnover), amountOf(c_.smallIncidentalMoney))));
}

void DailyFigures::computeCashSubtotal() {
    c_.cashSubtotal->setText(ledger::amountText(cashSubtotal(
        amountOf(c_.netAmount), amountOf(c_.outOfPocket), amountOf(c_.smallMoneyDeducted))));
}

void DailyFigures::computeDifference() {
    c_.difference->setText(
        ledger::amountText(cashDifference(amountOf(c_.acceptedCash), amountOf(c_.cashSubtotal))));
}

void DailyFigures::computeSettlementTotal() {
    // The expenditure is already inside the cash subtotal (through Label39):
    // it is not taken off a second time.
    c_.settlementTotal->setText(ledger::amountText(
        settlementTotal(amountOf(c_.cashSubtotal), amountOf(c_.administrationSubtotal))));
}

void DailyFigures::connectReactions() {
    // Within the chain the figures call each other.
    c_.administrationSubtotal->setDependents([this] { computeSettlementTotal(); });
    c_.expenditureSubtotal->setDependents([this] {
        copyOutOfPocket();
        computeSettlementTotal();
    });
    for (ComputedFigure* figure : {c_.outOfPocket, c_.smallMoneyDeducted, c_.netAmount})
        figure->setDependents([this] { computeCashSubtotal(); });
    c_.cashSubtotal->setDependents([this] {
        computeDifference();
        computeSettlementTotal();
    });

    // The outer edge of the chain: a field's text changed (typed, set by
    // another window, or filled from a row).
    auto onField = [this](BoundLineEdit* field, auto reaction) {
        ledger::ui::connectGuarded(field, &BoundLineEdit::textChanged, window_,
                                   [this, reaction] { (this->*reaction)(); });
    };
    for (BoundLineEdit* field : c_.administration)
        onField(field, &DailyFigures::computeAdministrationSubtotal);
    for (BoundLineEdit* field : c_.expenditure)
        onField(field, &DailyFigures::computeExpenditureSubtotal);
    onField(c_.turnover, &DailyFigures::computeNetAmount);
    ledger::ui::connectGuarded(c_.smallIncidentalMoney, &BoundLineEdit::textChanged, window_,
                               [this] {
                                   computeSmallMoneyDeducted();
                                   computeNetAmount();
                               });
    onField(c_.acceptedCash, &DailyFigures::computeDifference);
}

void DailyFigures::recalculateAll() {
    computeAdministrationSubtotal();
    computeExpenditureSubtotal();
    computeOutOfPocketFromFields();
    computeSmallMoneyDeducted();
    computeNetAmount();
    computeCashSubtotal();
    computeDifference();
    computeSettlementTotal();
}

}  // namespace daily
