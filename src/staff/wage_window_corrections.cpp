// SPDX-License-Identifier: GPL-3.0-or-later
// Mistakes in wages: hours no day has are asked about before Save stores
// them, and a stored wage row is put right by Delete (which takes what it
// added off its day), then New.

#include <QPushButton>

#include "forms/amount_shown.h"
#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/prompts.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"
#include "salary/rules/wage_hours.h"
#include "salary/rules/wage_row.h"
#include "staff/wage_window.h"

namespace staff {

bool Form5::agreesToHours() {
    // A monthly pay is the wage whatever the hours say.
    const bool byTheMonth =
        unrecordedMonthlyPay_ || (monthlyPay_ && !monthlyPay_->text().isEmpty());
    const QString doubt =
        salary::hoursDoubt({forms::amountShown(mainHour_), forms::amountShown(workOvertime_),
                            mainHour_->text().trimmed().isEmpty(),
                            workOvertime_->text().trimmed().isEmpty(), byTheMonth});
    if (doubt.isEmpty()) return true;
    return forms::prompts().askYesNoDefaultNo(
        this,
        QStringLiteral("This wage of %1 for %2 has %3.\n\nStore it and add it to the day all the "
                       "same? No: nothing is stored; correct the hours, then Save again.")
            .arg(wage_->text(), name_->currentText(), doubt),
        forms::programTitle());
}

void Form5::showDeleteForStoredRow() {
    const ledger::RecordSource& rows = data_->source();
    delete_->setVisible(!entering_ && rows.isOpen() && !rows.isNewRow() && rows.hasCurrentRow());
}

qint32 Form5::wageTheRowAdded() const {
    // Save added the day's wage of the row as the window showed it (the
    // monthly pay the row records, or else its rates, hours and deductions)
    // rounded to the nearest whole number, ties to the even one. The same
    // wage is worked out again from the row as it was read, which is what
    // the removal checks the row still holds; the salary window and the
    // wage detail price the row the same way.
    const ledger::RecordSource& rows = data_->source();
    const QStringList& columns = salary::wageRowColumns();
    const salary::WageRowAmounts amounts{rows.readValue(columns[0]), rows.readValue(columns[1]),
                                         rows.readValue(columns[2]), rows.readValue(columns[3]),
                                         rows.readValue(columns[4]), rows.readValue(columns[5]),
                                         rows.readValue(columns[6])};
    const std::optional<double> added = salary::addedToDay(amounts);
    if (!added)
        ledger::fail(ledger::ErrorCode::Overflow,
                     QStringLiteral("This wage row's wage is beyond the whole numbers the ledger "
                                    "takes, so its Save cannot have added it to the day, and "
                                    "nothing can be taken off. Nothing was removed."));
    return static_cast<qint32>(*added);
}

void Form5::deleteWage() {
    ledger::RecordSource& rows = data_->source();
    if (entering_ || !rows.isOpen() || rows.isNewRow() || !rows.hasCurrentRow()) return;
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    if (!daily) {
        windows::tellDailyWindowClosed(this, QStringLiteral("no day to take the wage off"));
        return;
    }
    const qint32 wage = wageTheRowAdded();
    const QString day = date_->text();
    const QString name =
        name_->currentText().isEmpty() ? QStringLiteral("(no name)") : name_->currentText();
    QString question =
        QStringLiteral(
            "Delete the wage of %1 for %2 on %3?\n\nThe wage row is removed and %1 is "
            "taken off the Personnel rate of the day %3. To correct a wage, delete it, "
            "then enter it again with New.")
            .arg(QString::number(wage), name, day);
    // Books whose wage rows cannot record a monthly pay cannot tell one
    // apart from a wage by the hour.
    if (!monthlyPay_)
        question += QStringLiteral(
            "\n\nThese books cannot record whether the wage was a monthly pay: if Save added a "
            "monthly pay, correct the day's Personnel rate by hand afterwards.");
    if (!forms::prompts().askYesNoDefaultNo(this, question, forms::programTitle())) return;
    if (!daily->takeWageOffDay(rows, day, wage)) return;
    unload();
}

}  // namespace staff
