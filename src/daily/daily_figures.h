// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace ledger::ui {
class BoundLineEdit;
class ComputedFigure;
}  // namespace ledger::ui

namespace daily {

// The controls of the day sheet that the figures read and write, as the
// window built them.
struct DayFigureControls {
    // Summed in this order: Text1, Text3 ... Text11 and Text12 ... Text21.
    std::vector<ledger::ui::BoundLineEdit*> administration;
    std::vector<ledger::ui::BoundLineEdit*> expenditure;
    ledger::ui::BoundLineEdit* turnover = nullptr;              // Text25
    ledger::ui::BoundLineEdit* smallIncidentalMoney = nullptr;  // Text26
    ledger::ui::BoundLineEdit* acceptedCash = nullptr;          // Text31

    ledger::ui::ComputedFigure* administrationSubtotal = nullptr;  // Label28
    ledger::ui::ComputedFigure* expenditureSubtotal = nullptr;     // Label38
    ledger::ui::ComputedFigure* outOfPocket = nullptr;             // Label39
    ledger::ui::ComputedFigure* smallMoneyDeducted = nullptr;      // Label40
    ledger::ui::ComputedFigure* netAmount = nullptr;               // Label41
    ledger::ui::ComputedFigure* cashSubtotal = nullptr;            // Label42
    ledger::ui::ComputedFigure* difference = nullptr;              // Label43
    ledger::ui::ComputedFigure* settlementTotal = nullptr;         // Label44
};

// The eight computed figures of the day sheet and the chain of reactions that
// keeps them current. Every change of an amount field runs its reaction at
// once; a figure whose text changes runs the figures that depend on it, depth
// first, as the shop's sheet has always done. Figures that feed others are
// read back from their label text. The chain is plain calls inside the
// window: only the fields' own change signals start it.
//
// Every sum is tested after each step: an overflow or an invalid operation
// ends the reaction before its label is written (labels written before keep
// their text) and reaches the user as one arithmetic error.
class DailyFigures {
public:
    // Every control must be set; the window is the context of the reactions.
    DailyFigures(QWidget* window, DayFigureControls controls);

    void connectReactions();

    // Every figure from the fields as they are now, in the sheet's order.
    void recalculateAll();

private:
    static double amountOf(const ledger::ui::BoundLineEdit* field);
    static double amountOf(const ledger::ui::ComputedFigure* figure);
    static std::vector<double> amountsOf(const std::vector<ledger::ui::BoundLineEdit*>& fields);

    // One per computed figure, named after what the figure means.
    void computeAdministrationSubtotal();  // Label28
    void computeExpenditureSubtotal();     // Label38
    void copyOutOfPocket();                // Label39 from Label38's text
    void computeOutOfPocketFromFields();   // Label39, full recalculation only
    void computeSmallMoneyDeducted();      // Label40
    void computeNetAmount();               // Label41
    void computeCashSubtotal();            // Label42
    void computeDifference();              // Label43
    void computeSettlementTotal();         // Label44

    QWidget* window_;
    DayFigureControls c_;
};

}  // namespace daily
