#include "daily_figures.h"

#include <QWidget>
#include <cmath>

#include "amount.h"
#include "bound_line_edit.h"
#include "checked_figure.h"
#include "computed_figure.h"
#include "error_boundary.h"
#include "record_source.h"

namespace daily {

using ledger::ErrorCode;
using ledger::ui::BoundLineEdit;
using ledger::ui::ComputedFigure;

namespace {

// Tests the running result the way the shop's runtime tests every sum and
// difference before a figure is written.
double checked(double value, const QString& figureName) {
    return ledger::checkedFigure(value, figureName);
}

const QString kAdministrationSubtotal = QStringLiteral("the administration's subtotal");
const QString kExpenditureSubtotal = QStringLiteral("the subtotal of the expenditure");
const QString kNetAmount = QStringLiteral("the total net amount");
const QString kCashSubtotal = QStringLiteral("the subtotal of the cash");
const QString kDifference = QStringLiteral("the difference");
const QString kSettlementTotal = QStringLiteral("the settlement total of the day");

}  // namespace

DailyFigures::DailyFigures(QWidget* window) : window_(window) {}

const QStringList& DailyFigures::administrationFields() {
    static const QStringList names = {"Text1", "Text3", "Text4", "Text5",  "Text6",
                                      "Text7", "Text8", "Text9", "Text10", "Text11"};
    return names;
}

const QStringList& DailyFigures::expenditureFields() {
    static const QStringList names = {"Text12", "Text13", "Text14", "Text15", "Text16",
                                      "Text17", "Text18", "Text19", "Text20", "Text21"};
    return names;
}

QLineEdit* DailyFigures::field(const QString& name) const {
    auto* found = window_->findChild<QLineEdit*>(name);
    Q_ASSERT(found);
    return found;
}

ComputedFigure* DailyFigures::figure(const QString& name) const {
    auto* found = window_->findChild<ComputedFigure*>(name);
    Q_ASSERT(found);
    return found;
}

// P(x): a field's or a figure's text read as an amount.
double DailyFigures::amountOf(const QString& name) const {
    if (name.startsWith(QLatin1String("Label"))) return ledger::parseAmount(figure(name)->text());
    return ledger::parseAmount(field(name)->text());
}

double DailyFigures::sumOf(const QStringList& fields, const QString& figureName) const {
    double total = amountOf(fields.first());
    for (qsizetype i = 1; i < fields.size(); ++i)
        total = checked(total + amountOf(fields[i]), figureName);
    return total;
}

void DailyFigures::computeAdministrationSubtotal() {
    const double total = sumOf(administrationFields(), kAdministrationSubtotal);
    figure("Label28")->setText(ledger::amountText(total));
}

void DailyFigures::computeExpenditureSubtotal() {
    const double total = sumOf(expenditureFields(), kExpenditureSubtotal);
    figure("Label38")->setText(ledger::amountText(total));
}

void DailyFigures::copyOutOfPocket() { figure("Label39")->setText(figure("Label38")->text()); }

void DailyFigures::computeOutOfPocketFromFields() {
    const double total = sumOf(expenditureFields(), kExpenditureSubtotal);
    figure("Label39")->setText(ledger::amountText(total));
}

void DailyFigures::computeSmallMoneyDeducted() {
    figure("Label40")->setText(ledger::amountText(amountOf("Text26")));
}

void DailyFigures::computeNetAmount() {
    const double net = checked(amountOf("Text25") + amountOf("Text26"), kNetAmount);
    figure("Label41")->setText(ledger::amountText(net));
}

void DailyFigures::computeCashSubtotal() {
    double cash = checked(amountOf("Label41") - amountOf("Label39"), kCashSubtotal);
    cash = checked(cash - amountOf("Label40"), kCashSubtotal);
    figure("Label42")->setText(ledger::amountText(cash));
}

void DailyFigures::computeDifference() {
    const double difference = checked(amountOf("Text31") - amountOf("Label42"), kDifference);
    figure("Label43")->setText(ledger::amountText(difference));
}

void DailyFigures::computeSettlementTotal() {
    // The expenditure is deducted here a second time (it is already inside
    // the cash subtotal through Label39), as the shop's sheet computes it.
    double total = checked(amountOf("Label42") - amountOf("Label38"), kSettlementTotal);
    total = checked(total - amountOf("Label28"), kSettlementTotal);
    figure("Label44")->setText(ledger::amountText(total));
}

void DailyFigures::onField(const QString& name, std::function<void()> reaction) {
    auto* edit = window_->findChild<BoundLineEdit*>(name);
    Q_ASSERT(edit);
    ledger::ui::connectGuarded(edit, &BoundLineEdit::textChanged, window_,
                               [reaction] { reaction(); });
}

void DailyFigures::onFigure(const QString& name, std::function<void()> reaction) {
    ledger::ui::connectGuarded(figure(name), &ComputedFigure::textChanged, window_,
                               [reaction] { reaction(); });
}

void DailyFigures::connectReactions() {
    for (const QString& name : administrationFields())
        onField(name, [this] { computeAdministrationSubtotal(); });
    for (const QString& name : expenditureFields())
        onField(name, [this] { computeExpenditureSubtotal(); });
    onField("Text25", [this] { computeNetAmount(); });
    onField("Text26", [this] {
        computeSmallMoneyDeducted();
        computeNetAmount();
    });
    onField("Text31", [this] { computeDifference(); });

    onFigure("Label28", [this] { computeSettlementTotal(); });
    onFigure("Label38", [this] {
        copyOutOfPocket();
        computeSettlementTotal();
    });
    onFigure("Label39", [this] { computeCashSubtotal(); });
    onFigure("Label40", [this] { computeCashSubtotal(); });
    onFigure("Label41", [this] { computeCashSubtotal(); });
    onFigure("Label42", [this] {
        computeDifference();
        computeSettlementTotal();
    });
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
