// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "forms/form_window.h"
#include "interfaces/month_sheet_months.h"
#include "interfaces/settlement_chain.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
class LedgerError;
class RecordSource;
}  // namespace ledger

namespace forms {
class BoundLineEdit;
class ComputedFigure;
class DataControl;
}  // namespace forms

namespace monthly {

// "Settle account in the month": the month totals of the daily ledger, one
// month at a time, balanced the way the daily window balances a day, found
// by a typed month or stepped through with the "Month" bar, and printed.
// The totals are sums; the window only reads them.
class Form4 : public forms::FormWindow, public MonthSheetMonths {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    ledger::RecordSource& records();

    // What other windows may ask.
    bool showMonth(const QString& month) override;
    forms::FormWindow* formWindow() override { return this; }

protected:
    void loadStep() override;

private:
    // Layout (month_sheet.cpp).
    void buildTopRow();
    void buildAdministration();
    void buildExpenditure();
    void buildIncome();
    void buildBottomRow();
    void buildDecoration();
    void orderKeyboardFocus();
    void centreOnScreen();
    QLabel* addCaption(const QString& name, const QString& text, int left, int top, int height);
    QLabel* addHeading(const QString& name, const QString& text, int left);
    forms::BoundLineEdit* addTotalField(const QString& name, const QString& ledgerColumn, int left,
                                        int top);
    forms::ComputedFigure* addFigure(const QString& name, quint32 background, int left, int top,
                                     int height);

    // The boxes and figures the settlement chain balances.
    settlement::SheetControls sheetControls() const;

    // Commands (month_sheet_commands.cpp).
    void inquireMonth();  // Command1
    void printSheet();    // Command2
    void openYearAtAGlance();
    void tellTotalsAreReadOnly(const ledger::LedgerError& error);

    forms::DataControl* data_ = nullptr;
    QLineEdit* title_ = nullptr;  // Text1, unbound
    forms::BoundLineEdit* month_ = nullptr;
    std::vector<forms::BoundLineEdit*> administration_;     // Text3 ... Text12
    std::vector<forms::BoundLineEdit*> expenditure_;        // Text14 ... Text23
    forms::BoundLineEdit* turnover_ = nullptr;              // Text25
    forms::BoundLineEdit* smallIncidentalMoney_ = nullptr;  // Text26
    forms::BoundLineEdit* acceptedCash_ = nullptr;          // Text13

    forms::ComputedFigure* administrationSubtotal_ = nullptr;  // Label36
    forms::ComputedFigure* expenditureSubtotal_ = nullptr;     // Label37
    forms::ComputedFigure* totalNetAmount_ = nullptr;          // Label38
    forms::ComputedFigure* outOfPocketExpenses_ = nullptr;     // Label39
    forms::ComputedFigure* deduction_ = nullptr;               // Label40
    forms::ComputedFigure* cashSubtotal_ = nullptr;            // Label41
    forms::ComputedFigure* difference_ = nullptr;              // Label42
    forms::ComputedFigure* total_ = nullptr;                   // Label43
    std::unique_ptr<settlement::SettlementChain> figures_;

    QPushButton* inquiry_ = nullptr;  // Command1
    QPushButton* print_ = nullptr;    // Command2
    QPushButton* yearAtAGlance_ = nullptr;
};

}  // namespace monthly
