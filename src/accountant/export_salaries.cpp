// SPDX-License-Identifier: GPL-3.0-or-later
// The monthly salaries: every row of the month wage totals, priced at the
// staff register's current rates, with the monthly pay its wage rows
// record, exactly as the salary window prices the month it shows.

#include <algorithm>
#include <vector>

#include "accountant/export_tables.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "salary/rules/monthly_pays.h"
#include "salary/rules/salary_rules.h"
#include "salary/rules/staff_rates.h"

namespace accountant {

namespace schema = ledger::schema;

namespace {

const QString kSalaryHour = QStringLiteral("Salary hour");
const QString kOvertimeRate = QStringLiteral("Overtime salary hour");

}  // namespace

ExportTable exportSalaries(ledger::Store& store, const DayRange& range) {
    // Month, name, serial number, then the four totals.
    const QStringList& query = savedQueryColumns(schema::kMonthWages);
    const QString& month = query.at(0);
    const QString& name = query.at(1);
    const QString& serial = query.at(2);
    const QString& workHours = query.at(3);
    const QString& overtimeHours = query.at(4);
    const QString& insurance = query.at(5);
    const QString& absentDeduct = query.at(6);

    const ledger::SourceInfo info = store.describe(schema::kMonthWages);
    const QStringList read = {month,         name,      serial,      workHours,
                              overtimeHours, insurance, absentDeduct};
    // Headers in plain words: the file's spelling of its columns without
    // the saved query's "total of" ("Main hour之總計" is "Main hour").
    auto spelled = [&](const QString& column) {
        const int at = info.indexOf(column);
        return plainHeader(at < 0 ? column : info.columns.at(at));
    };

    ExportTable table;
    // Laid out as the salary window reads: who and when, the rates and hours
    // with their subtotal, the deductions with their sum, and the salary.
    table.header = {spelled(name),
                    spelled(serial),
                    spelled(month),
                    kSalaryHour,
                    kOvertimeRate,
                    spelled(workHours),
                    spelled(overtimeHours),
                    QStringLiteral("Subtotal"),
                    spelled(insurance),
                    spelled(absentDeduct),
                    QStringLiteral("Deductions"),
                    QStringLiteral("The salary gotten actually")};

    const salary::StaffRegisterRates staff = salary::StaffRegisterRates::read(store);
    const salary::MonthlyPays monthlyPays = salary::MonthlyPays::read(store);
    store.scan(info.name, read, [&](ledger::Store::RowKey, const std::vector<QVariant>& values) {
        QStringList shown;
        for (const QVariant& value : values) shown << ledger::fieldText(value);
        const salary::StaffRates* rates = staff.find(shown[1]);
        // A monthly pay the month's wage rows record is in the subtotal, as
        // in the salary window.
        const double pay = monthlyPays.of(values[0], values[1], values[2]);
        salary::MonthSalaryFigures figures;
        try {
            figures = salary::monthSalary({rates ? rates->salaryHour : QString(),
                                           rates ? rates->overtimeRate : QString(), shown[3],
                                           shown[4], shown[5], shown[6],
                                           pay == 0 ? QString() : ledger::amountText(pay)});
        } catch (const ledger::LedgerError& error) {
            ledger::fail(error.code(), QStringLiteral("Cannot compute the salary of %1 for %2: %3")
                                           .arg(shown[1], shown[0], error.message()));
        }
        ExportRow row;
        row.span = wageMonth(shown[0]);
        // Without a staff row there are no rates to price the hours at: the
        // rates, the subtotal and the salary stay empty rather than invented.
        // Names are text cells, serial numbers kept exactly as text, a
        // calendar month a date (2002-12); the figures are numbers (or,
        // stored as text, text cells as well).
        row.cells = {cellOf(values[1]),
                     serialCell(values[2]),
                     row.span ? monthCell(*row.span) : cellOf(values[0]),
                     rates ? cellOf(rates->salaryHourValue) : QString(),
                     rates ? cellOf(rates->overtimeRateValue) : QString(),
                     cellOf(values[3]),
                     cellOf(values[4]),
                     rates ? figures.subtotal : QString(),
                     cellOf(values[5]),
                     cellOf(values[6]),
                     figures.deductions,
                     rates ? figures.actualSalary : QString()};
        row.priced = rates != nullptr;
        table.rows.push_back(std::move(row));
        return true;
    });
    arrangeByCalendar(table, range);
    table.unpriced = static_cast<int>(std::count_if(
        table.rows.begin(), table.rows.end(), [](const ExportRow& row) { return !row.priced; }));
    return table;
}

}  // namespace accountant
