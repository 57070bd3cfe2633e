// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class QLineEdit;
class QWidget;

namespace forms {
class ComputedFigure;
}

namespace settlement {

// The boxes and figures of a settlement sheet as its window built them. The
// day sheet and the month sheet name them differently (the day's Label44 is
// the month's Label43) and balance them alike.
struct SheetControls {
    // Added in this order: rent ... insurance and bread trader ... articles
    // in the shop.
    std::vector<QLineEdit*> administration;
    std::vector<QLineEdit*> expenditure;
    QLineEdit* turnover = nullptr;
    QLineEdit* smallIncidentalMoney = nullptr;
    QLineEdit* acceptedCash = nullptr;

    forms::ComputedFigure* administrationSubtotal = nullptr;
    forms::ComputedFigure* expenditureSubtotal = nullptr;
    forms::ComputedFigure* outOfPocket = nullptr;  // the expenditure subtotal's text again
    forms::ComputedFigure* smallMoneyDeducted = nullptr;
    forms::ComputedFigure* totalNetAmount = nullptr;
    forms::ComputedFigure* cashSubtotal = nullptr;
    forms::ComputedFigure* difference = nullptr;
    forms::ComputedFigure* settlementTotal = nullptr;
};

// Which sheet the chain balances: the two differ in two small ways the shop
// has always seen (below), and in the word their total's tooltip uses.
enum class Sheet { Day, Month };

// The eight computed figures of a settlement sheet and the chain of
// reactions that keeps them current, with the arithmetic of the sheet
// balance (daily/rules) and its explanations as the figures' tooltips.
// Every change of a box runs its reaction at once; a figure whose text
// changes runs the figures that depend on it as plain calls, depth first,
// so the figures follow every keystroke, every row the record source brings
// in and every figure another window writes. Figures that feed others are
// read back from their text. Only the boxes' own change signals start it.
//
// The two sheets differ: on a change of the small incidental money the day
// sheet writes the deduction before the total net amount, the month sheet
// after it; and the month sheet's full recalculation leaves the deduction
// empty until the small incidental money first changes.
//
// Every sum is tested after each step: an overflow or an invalid operation
// ends the reaction before its figure is written (figures written before
// keep their text) and reaches the user as one arithmetic error.
class SettlementChain {
public:
    // Every control must be set (a missing one is a fault of the window's
    // build and throws std::logic_error); the window is the context of the
    // reactions, which are connected here.
    SettlementChain(QWidget* window, SheetControls controls, Sheet sheet);

    // Every figure from the boxes as they are now, in the sheet's order (the
    // window's load step).
    void recalculateAll();

private:
    void explainFigures();
    void connectReactions();
    void onSmallIncidentalMoney();

    // One per computed figure, named after what the figure means.
    void computeAdministrationSubtotal();
    void computeExpenditureSubtotal();
    void copyOutOfPocket();               // from the expenditure subtotal's text
    void computeOutOfPocketFromFields();  // the full recalculation only
    void computeSmallMoneyDeducted();
    void computeTotalNetAmount();
    void computeCashSubtotal();
    void computeDifference();
    void computeSettlementTotal();

    QWidget* window_;
    SheetControls c_;
    Sheet sheet_;
};

}  // namespace settlement
