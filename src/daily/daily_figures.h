#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ledger_error.h"

class QWidget;
class QLineEdit;

namespace ledger::ui {
class BoundLineEdit;
class ComputedFigure;
}  // namespace ledger::ui

namespace daily {

// The eight computed figures of the day sheet and the chain of reactions that
// keeps them current. Every change of an amount field or of a figure runs its
// reaction at once, nested depth first, as the shop's sheet has always done;
// figures that feed others are read back from their label text.
//
// Every sum is tested after each step: an overflow or an invalid operation
// ends the reaction before its label is written (labels written before keep
// their text) and reaches the user as one arithmetic error.
class DailyFigures {
public:
    // The fields and labels are found in `window` by name; they must exist.
    explicit DailyFigures(QWidget* window);

    // The fields of each group, in the order their amounts are summed.
    static const QStringList& administrationFields();
    static const QStringList& expenditureFields();

    void connectReactions();

    // Every figure from the fields as they are now, in the sheet's order.
    void recalculateAll();

private:
    QLineEdit* field(const QString& name) const;
    ledger::ui::ComputedFigure* figure(const QString& name) const;
    double amountOf(const QString& name) const;
    double sumOf(const QStringList& fields, const QString& figureName) const;

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

    void onField(const QString& name, std::function<void()> reaction);
    void onFigure(const QString& name, std::function<void()> reaction);

    QWidget* window_;
};

}  // namespace daily
