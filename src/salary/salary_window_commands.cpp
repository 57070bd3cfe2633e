// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>

#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/prompts.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/quoted_text.h"
#include "ledger/query/typed_text.h"
#include "ledger/records/books.h"
#include "ledger/records/record_source.h"
#include "salary/detail_query_command.h"
#include "salary/name_search.h"
#include "salary/salary_window.h"

namespace salary {

void Form7::loadStep() {
    staff_->source().setDatabasePath(forms::workspace().books());
    months_->source().setDatabasePath(forms::workspace().books());
    try {
        // Kept open: the record sources that open next share the connection.
        books_ = ledger::openBooks(forms::workspace().books());
        monthlyPays_ = MonthlyPays::read(*books_);
    } catch (const ledger::LedgerError&) {
        // The record sources say what is wrong with the books when they open.
    }
    // The fields are still empty, so all three come out "0"; they follow
    // the first month row once the record sources open.
    computeSubtotal();
    computeDeductions();
    computeActualSalary();
}

void Form7::stepBackOneMonth() {
    // The nearest earlier row of this employee in the query's own order.
    findByName(
        months_->source(),
        QStringLiteral(" Name like ") + ledger::quotedText(ledger::likeLiteral(name_->text())),
        ledger::FindDirection::Previous);
}

void Form7::inquireName() {
    const QString name = ledger::withoutOuterBlanks(forms::prompts().input(
        this, QStringLiteral("Please input name"), QStringLiteral("Inquiry"), name_->text()));
    // The employee's first row in the query's order; LIKE's pattern
    // characters typed here act as patterns, an apostrophe is a letter.
    findByName(months_->source(), QStringLiteral("Name like") + ledger::quotedText(name));
}

void Form7::openDetail() { runDetailQueryCommand(this); }

void Form7::printSheet() { forms::printWindow(this); }

void Form7::tellTotalsAreReadOnly() {
    forms::tell(this, QStringLiteral(
                          "The month's hours and deductions cannot be edited here; they are the "
                          "sums of the employee's daily wage rows. What you typed into them was "
                          "not stored. To change a month, correct its days in the wage window."));
}

}  // namespace salary
