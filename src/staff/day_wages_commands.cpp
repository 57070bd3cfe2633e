// SPDX-License-Identifier: GPL-3.0-or-later
// The day's wages' commands: Save (every typed wage with its day, at once),
// Delete of a stored wage, and what becomes of wages typed and not saved.

#include <QPushButton>
#include <QUuid>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "salary/rules/wage_hours.h"
#include "salary/rules/wage_row.h"
#include "staff/day_wage_keys.h"
#include "staff/day_wage_sheet.h"
#include "staff/day_wages.h"
#include "staff/wage_arithmetic.h"

namespace staff {

namespace {

QString nameOrNone(const QString& name) {
    return name.isEmpty() ? QStringLiteral("(no name)") : name;
}

}  // namespace

void DayWages::saveWages() {
    const std::vector<int> typed = sheet_->typedRows();
    if (typed.empty()) {
        forms::tell(this, QStringLiteral(
                              "No wage has been typed, so there is nothing to save. Type the hours "
                              "(or leave, absence or the monthly-pay box) in a member's row, then "
                              "Save."));
        return;
    }
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    if (!daily) {
        windows::tellDailyWindowClosed(this, QStringLiteral("no day to add the wages to"));
        return;
    }
    // Asked once already when the server lost the answer to the first try.
    if (!unconfirmed_ && !agreesToHours(typed)) return;
    // A wage the ledger cannot take ends Save here, before anything is stored.
    std::vector<ledger::NewWage> wages;
    for (int row : typed) wages.push_back(newWage(row));
    if (attempt_.isEmpty()) attempt_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool stored = false;
    try {
        stored = daily->addWagesToDay(*wageRows_, day_, wages, attempt_);
    } catch (const ledger::LedgerError& error) {
        setUnconfirmed(error.code() == ledger::ErrorCode::OutcomeUnknown);
        throw;
    }
    setUnconfirmed(false);
    if (!stored) return;
    attempt_.clear();
    readDay();
}

bool DayWages::agreesToHours(const std::vector<int>& rows) {
    QStringList doubts;
    for (int index : rows) {
        const DayWageRow& row = sheet_->row(index);
        const QString doubt = salary::hoursDoubt(
            {ledger::parseAmount(row.mainHour), ledger::parseAmount(row.workOvertime),
             row.mainHour.trimmed().isEmpty(), row.workOvertime.trimmed().isEmpty(),
             row.byTheMonth && !row.monthlyPay.isEmpty()});
        if (!doubt.isEmpty())
            doubts << QStringLiteral("The wage of %1 for %2 has %3.")
                          .arg(sheet_->index(index, kWageColumn).data().toString(),
                               nameOrNone(row.name), doubt);
    }
    if (doubts.isEmpty()) return true;
    return forms::prompts().askYesNoDefaultNo(
        this,
        doubts.join(QLatin1Char('\n')) +
            QStringLiteral("\n\nStore the wages and add them to the day all the same? No: nothing "
                           "is stored; correct the hours, then Save again."),
        forms::programTitle());
}

ledger::NewWage DayWages::newWage(int index) const {
    const DayWageRow& row = sheet_->row(index);
    ledger::NewWage wage;
    wage.name = row.name;
    wage.wage = wholeWage(salary::dayWageOf(sheet_->amountsOf(index)),
                          QStringLiteral("The wage of %1").arg(nameOrNone(row.name)));
    // What was left empty is stored as nothing, as a field never typed into.
    auto put = [&wage](const QString& column, const QString& text) {
        if (text.trimmed().isEmpty()) return;
        wage.columns << column;
        wage.texts << text;
    };
    put(QStringLiteral("Date"), day_);
    put(QStringLiteral("Serial numbers"), row.serial);
    put(QStringLiteral("Name"), row.name);
    put(QStringLiteral("Salary hour"), row.salaryHour);
    put(QStringLiteral("Overtime salary hour"), row.overtimeRate);
    put(QStringLiteral("Ask for leave"), row.askForLeave);
    put(QStringLiteral("Absent"), row.absent);
    put(QStringLiteral("Main hour"), row.mainHour);
    put(QStringLiteral("Work overtime"), row.workOvertime);
    put(QStringLiteral("Insurance"), row.insurance);
    put(QStringLiteral("Absent-Deduct"), row.absentDeduct);
    if (monthlyPayRecorded_ && row.byTheMonth) put(ledger::schema::kWageMonthlyPay, row.monthlyPay);
    return wage;
}

void DayWages::deleteStoredWage() {
    const QModelIndex at = view_->currentIndex();
    if (!at.isValid() || !sheet_->row(at.row()).stored) return;
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    if (!daily) {
        windows::tellDailyWindowClosed(this, QStringLiteral("no day to take the wage off"));
        return;
    }
    // The row as it is stored now: what its Save added is worked out from
    // that, and the removal checks the row still holds it.
    ledger::RecordSource& wages = *wageRows_;
    wages.showRow(sheet_->row(at.row()).storedRow);
    const QStringList& columns = salary::wageRowColumns();
    const std::optional<double> added = salary::addedToDay(
        {wages.readValue(columns[0]), wages.readValue(columns[1]), wages.readValue(columns[2]),
         wages.readValue(columns[3]), wages.readValue(columns[4]), wages.readValue(columns[5]),
         wages.readValue(columns[6])});
    if (!added)
        ledger::fail(ledger::ErrorCode::Overflow,
                     QStringLiteral("This wage row's wage is beyond the whole numbers the ledger "
                                    "takes, so its Save cannot have added it to the day, and "
                                    "nothing can be taken off. Nothing was removed."));
    const qint32 wage = static_cast<qint32>(*added);
    const QString name = nameOrNone(sheet_->row(at.row()).name);
    const QString question =
        QStringLiteral(
            "Delete the wage of %1 for %2 on %3?\n\nThe wage row is removed and %1 is "
            "taken off the Personnel rate of the day %3. To correct a wage, delete it, "
            "then enter it again.")
            .arg(QString::number(wage), name, day_);
    if (!forms::prompts().askYesNoDefaultNo(this, question, forms::programTitle())) return;
    if (!daily->takeWageOffDay(wages, day_, wage)) return;
    readStoredWages();
}

DayWages::Leaving DayWages::settleTypedWages() {
    if (sheet_->typedRows().empty() && !unconfirmed_) return Leaving::GivenUp;
    const QStringList buttons = {QStringLiteral("Save the wages (they are added to the day)"),
                                 QStringLiteral("Give them up"), QStringLiteral("Stay")};
    const QString question =
        unconfirmed_ ? QStringLiteral(
                           "The database server did not confirm whether it stored these wages "
                           "of the day %1. Save asks it first and never stores them twice; "
                           "Give them up leaves them as the server has them (stored with "
                           "their day, or not at all).")
                     : QStringLiteral(
                           "The wages typed for the day %1 (%2 in all) have not been saved. "
                           "They are stored only together with the day's Personnel rate: "
                           "save them now, or give them up (nothing of them is stored).");
    const int choice = forms::prompts().choose(this, question.arg(nameOrNone(day_), total_->text()),
                                               forms::programTitle(), buttons, 2, 2);
    if (choice == 0) {
        bool saved = false;
        // Asked from the close box too, outside every command: the failure
        // is shown here and the wages stay.
        forms::runReporting(this, [&] {
            saveWages();
            saved = sheet_->typedRows().empty() && !unconfirmed_;
        });
        return saved ? Leaving::Saved : Leaving::Stay;
    }
    if (choice == 1) return Leaving::GivenUp;
    return Leaving::Stay;
}

bool DayWages::readyToUnload() { return settleTypedWages() != Leaving::Stay; }

void DayWages::setUnconfirmed(bool unconfirmed) {
    if (unconfirmed == unconfirmed_) return;
    unconfirmed_ = unconfirmed;
    sheet_->setLocked(unconfirmed);
    followCurrentRow();
}

}  // namespace staff
