#include "daily/daily_figures.h"

#include <QWidget>
#include <stdexcept>

#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/error_boundary.h"
#include "interfaces/settlement_explanations.h"
#include "ledger/amount/amount.h"
#include "ledger/amount/checked_figure.h"

namespace daily {

using ledger::checkedFigure;
using ledger::ui::BoundLineEdit;
using ledger::ui::ComputedFigure;

namespace {

const QString kAdministrationSubtotal = QStringLiteral("the administration's subtotal");
const QString kExpenditureSubtotal = QStringLiteral("the subtotal of the expenditure");
const QString kNetAmount = QStringLiteral("the total net amount");
const QString kCashSubtotal = QStringLiteral("the subtotal of the cash");
const QString kDifference = QStringLiteral("the difference");
const QString kSettlementTotal = QStringLiteral("the settlement total of the day");

}  // namespace

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

double DailyFigures::sumOf(const std::vector<BoundLineEdit*>& fields, const QString& figureName) {
    double total = amountOf(fields.front());
    for (size_t i = 1; i < fields.size(); ++i)
        total = checkedFigure(total + amountOf(fields[i]), figureName);
    return total;
}

void DailyFigures::computeAdministrationSubtotal() {
    const double total = sumOf(c_.administration, kAdministrationSubtotal);
    c_.administrationSubtotal->setText(ledger::amountText(total));
}

void DailyFigures::computeExpenditureSubtotal() {
    const double total = sumOf(c_.expenditure, kExpenditureSubtotal);
    c_.expenditureSubtotal->setText(ledger::amountText(total));
}

void DailyFigures::copyOutOfPocket() { c_.outOfPocket->setText(c_.expenditureSubtotal->text()); }

void DailyFigures::computeOutOfPocketFromFields() {
    const double total = sumOf(c_.expenditure, kExpenditureSubtotal);
    c_.outOfPocket->setText(ledger::amountText(total));
}

void DailyFigures::computeSmallMoneyDeducted() {
    c_.smallMoneyDeducted->setText(ledger::amountText(amountOf(c_.smallIncidentalMoney)));
}

void DailyFigures::computeNetAmount() {
    const double net =
        checkedFigure(amountOf(c_.turnover) + amountOf(c_.smallIncidentalMoney), kNetAmount);
    c_.netAmount->setText(ledger::amountText(net));
}

void DailyFigures::computeCashSubtotal() {
    double cash = checkedFigure(amountOf(c_.netAmount) - amountOf(c_.outOfPocket), kCashSubtotal);
    cash = checkedFigure(cash - amountOf(c_.smallMoneyDeducted), kCashSubtotal);
    c_.cashSubtotal->setText(ledger::amountText(cash));
}

void DailyFigures::computeDifference() {
    const double difference =
        checkedFigure(amountOf(c_.acceptedCash) - amountOf(c_.cashSubtotal), kDifference);
    c_.difference->setText(ledger::amountText(difference));
}

void DailyFigures::computeSettlementTotal() {
    // The expenditure is deducted here a second time (it is already inside
    // the cash subtotal through Label39), as the shop's sheet computes it.
    double total = checkedFigure(amountOf(c_.cashSubtotal) - amountOf(c_.expenditureSubtotal),
                                 kSettlementTotal);
    total = checkedFigure(total - amountOf(c_.administrationSubtotal), kSettlementTotal);
    c_.settlementTotal->setText(ledger::amountText(total));
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
