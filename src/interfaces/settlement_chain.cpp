// SPDX-License-Identifier: GPL-3.0-or-later
#include "interfaces/settlement_chain.h"

#include <QLineEdit>
#include <QWidget>
#include <stdexcept>
#include <utility>

#include "daily/rules/sheet_balance.h"
#include "daily/rules/sheet_explanations.h"
#include "forms/amount_shown.h"
#include "forms/computed_figure.h"
#include "forms/error_boundary.h"
#include "ledger/amount/amount.h"

namespace settlement {

namespace {

using forms::amountShown;
using forms::ComputedFigure;
using ledger::amountText;

// The ten boxes of a group as the sheet reads them.
std::vector<double> amountsShown(const std::vector<QLineEdit*>& boxes) {
    std::vector<double> amounts;
    amounts.reserve(boxes.size());
    for (const QLineEdit* box : boxes) amounts.push_back(amountShown(box));
    return amounts;
}

}  // namespace

SettlementChain::SettlementChain(QWidget* window, SheetControls controls, Sheet sheet)
    : window_(window), c_(std::move(controls)), sheet_(sheet) {
    // A missing control is a fault of the window's build, in every build.
    const bool complete = c_.administration.size() == 10 && c_.expenditure.size() == 10 &&
                          c_.turnover && c_.smallIncidentalMoney && c_.acceptedCash &&
                          c_.administrationSubtotal && c_.expenditureSubtotal && c_.outOfPocket &&
                          c_.smallMoneyDeducted && c_.totalNetAmount && c_.cashSubtotal &&
                          c_.difference && c_.settlementTotal;
    if (!complete) throw std::logic_error("a settlement sheet lacks a control of its figures");
    explainFigures();
    connectReactions();
}

void SettlementChain::explainFigures() {
    const daily::SheetExplanations say = daily::sheetExplanations(
        sheet_ == Sheet::Day ? QStringLiteral("day") : QStringLiteral("month"));
    c_.administrationSubtotal->setExplanation(say.administrationSubtotal);
    c_.expenditureSubtotal->setExplanation(say.expenditureSubtotal);
    c_.totalNetAmount->setExplanation(say.totalNetAmount);
    c_.outOfPocket->setExplanation(say.outOfPocket);
    c_.smallMoneyDeducted->setExplanation(say.smallMoneyDeducted);
    c_.cashSubtotal->setExplanation(say.cashSubtotal);
    c_.difference->setExplanation(say.difference);
    c_.settlementTotal->setExplanation(say.total);
}

void SettlementChain::connectReactions() {
    // Within the chain the figures call each other. The total follows the
    // expenditure subtotal as it always has, though it now reads it only
    // through the cash subtotal: recomputing it changes nothing.
    c_.administrationSubtotal->setDependents([this] { computeSettlementTotal(); });
    c_.expenditureSubtotal->setDependents([this] {
        copyOutOfPocket();
        computeSettlementTotal();
    });
    for (ComputedFigure* figure : {c_.outOfPocket, c_.smallMoneyDeducted, c_.totalNetAmount})
        figure->setDependents([this] { computeCashSubtotal(); });
    c_.cashSubtotal->setDependents([this] {
        computeDifference();
        computeSettlementTotal();
    });

    // The outer edge of the chain: a box's text changed (typed, set by
    // another window, or filled from a row).
    auto onBox = [this](QLineEdit* box, void (SettlementChain::*reaction)()) {
        forms::connectGuarded(box, &QLineEdit::textChanged, window_,
                              [this, reaction] { (this->*reaction)(); });
    };
    for (QLineEdit* box : c_.administration)
        onBox(box, &SettlementChain::computeAdministrationSubtotal);
    for (QLineEdit* box : c_.expenditure) onBox(box, &SettlementChain::computeExpenditureSubtotal);
    onBox(c_.turnover, &SettlementChain::computeTotalNetAmount);
    onBox(c_.smallIncidentalMoney, &SettlementChain::onSmallIncidentalMoney);
    onBox(c_.acceptedCash, &SettlementChain::computeDifference);
}

void SettlementChain::onSmallIncidentalMoney() {
    // The end state is the same either way; what a failing step leaves
    // written is each sheet's own.
    if (sheet_ == Sheet::Day) {
        computeSmallMoneyDeducted();
        computeTotalNetAmount();
    } else {
        computeTotalNetAmount();
        computeSmallMoneyDeducted();
    }
}

void SettlementChain::recalculateAll() {
    computeAdministrationSubtotal();
    computeExpenditureSubtotal();
    if (sheet_ == Sheet::Day) {
        computeOutOfPocketFromFields();
        computeSmallMoneyDeducted();
        computeTotalNetAmount();
    } else {
        // The deduction stays empty until the small incidental money first
        // changes.
        computeTotalNetAmount();
        computeOutOfPocketFromFields();
    }
    computeCashSubtotal();
    computeDifference();
    computeSettlementTotal();
}

void SettlementChain::computeAdministrationSubtotal() {
    c_.administrationSubtotal->setText(
        amountText(daily::administrationSubtotal(amountsShown(c_.administration))));
}

void SettlementChain::computeExpenditureSubtotal() {
    c_.expenditureSubtotal->setText(
        amountText(daily::expenditureSubtotal(amountsShown(c_.expenditure))));
}

void SettlementChain::copyOutOfPocket() {
    // Character for character: no parse, no arithmetic, nothing to test.
    c_.outOfPocket->setText(c_.expenditureSubtotal->text());
}

void SettlementChain::computeOutOfPocketFromFields() {
    c_.outOfPocket->setText(amountText(daily::expenditureSubtotal(amountsShown(c_.expenditure))));
}

void SettlementChain::computeSmallMoneyDeducted() {
    // A single parsed value: no arithmetic to test.
    c_.smallMoneyDeducted->setText(amountText(amountShown(c_.smallIncidentalMoney)));
}

void SettlementChain::computeTotalNetAmount() {
    c_.totalNetAmount->setText(amountText(
        daily::totalNetAmount(amountShown(c_.turnover), amountShown(c_.smallIncidentalMoney))));
}

void SettlementChain::computeCashSubtotal() {
    c_.cashSubtotal->setText(
        amountText(daily::cashSubtotal(amountShown(c_.totalNetAmount), amountShown(c_.outOfPocket),
                                       amountShown(c_.smallMoneyDeducted))));
}

void SettlementChain::computeDifference() {
    c_.difference->setText(amountText(
        daily::cashDifference(amountShown(c_.acceptedCash), amountShown(c_.cashSubtotal))));
}

void SettlementChain::computeSettlementTotal() {
    // The expenditure is already inside the cash subtotal (through the
    // out-of-pocket expenses): it is not taken off a second time.
    c_.settlementTotal->setText(amountText(daily::settlementTotal(
        amountShown(c_.cashSubtotal), amountShown(c_.administrationSubtotal))));
}

}  // namespace settlement
