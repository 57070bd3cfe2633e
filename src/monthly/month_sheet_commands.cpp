// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPushButton>

#include "forms/data_control.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/typed_text.h"
#include "ledger/records/record_source.h"
#include "monthly/month_sheet.h"

namespace monthly {

void Form4::loadStep() {
    data_->source().setDatabasePath(forms::workspace().books());
    yearAtAGlance_->setEnabled(FormWindow::canCreate(windows::kYearAtAGlance));
    // The fields are still empty, so these all come out "0"; the deduction
    // stays empty until the small incidental money first changes.
    figures_->recalculateAll();
}

void Form4::inquireMonth() {
    ledger::RecordSource& source = data_->source();
    // With no month shown (an empty query) there is nothing to come back to:
    // fail here, before asking for a month.
    static_cast<void>(source.bookmark());

    QString month = ledger::withoutOuterBlanks(forms::prompts().input(
        this, QStringLiteral("Please input month:"), QStringLiteral("Inquiry"), QString()));
    // Months are kept as "12/ 2002"; the user types "12/2002".
    month.replace(QLatin1Char('/'), QStringLiteral("/ "));
    ledger::guardedFind(source,
                        QStringLiteral("[Date per month] like '") + month + QStringLiteral("'"),
                        ledger::FindDirection::First, /*moveFirstBefore=*/true);
}

void Form4::printSheet() { forms::printWindow(this); }

bool Form4::showMonth(const QString& month) {
    if (!data_->source().hasCurrentRow()) return false;  // no months at all
    // An exact month text (the sheet keys months "12/ 2002"); an apostrophe
    // can be in no month the totals hold.
    if (month.contains(QLatin1Char('\''))) return false;
    return ledger::guardedFind(data_->source(),
                               QStringLiteral("[Date per month] = '") + month + QStringLiteral("'"),
                               ledger::FindDirection::First, /*moveFirstBefore=*/false);
}

void Form4::openYearAtAGlance() { forms::openWindow(windows::kYearAtAGlance); }

void Form4::tellTotalsAreReadOnly(const ledger::LedgerError&) {
    forms::tell(this, QStringLiteral(
                          "Month totals cannot be edited; they are the sums of the daily ledger. "
                          "The figures you typed were not stored. To change a month, correct "
                          "its days in the daily settlement window."));
}

}  // namespace monthly
