// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "ledger/records/field_binding.h"
#include "salary/rules/wage_row.h"

namespace staff {

// The columns of the day's wages, in the staff register's order of a wage:
// who, the rates carried from the register, the hours, the deductions, the
// monthly-pay box and the day's wage.
enum DayWageColumn {
    kNameColumn,
    kSerialColumn,
    kSalaryHourColumn,
    kOvertimeRateColumn,
    kMainHourColumn,
    kWorkOvertimeColumn,
    kAskForLeaveColumn,
    kAbsentColumn,
    kInsuranceColumn,
    kAbsentDeductColumn,
    kMonthlyPayColumn,
    kWageColumn,
    kDayWageColumnCount
};

// One row: a wage stored for the day (looked at, never typed into), or a
// member of staff's wage of the day being typed.
struct DayWageRow {
    bool stored = false;
    ledger::Bookmark storedRow;            // a stored wage's row of the wage table
    salary::WageRowAmounts storedAmounts;  // what a stored wage holds
    QString name;
    QString serial;
    QString salaryHour;  // as the register's rate transfer carries them
    QString overtimeRate;
    QString monthlyPay;       // the register's (or the stored row's) monthly pay
    bool byTheMonth = false;  // the monthly-pay box: the monthly pay is the wage
    QString mainHour;
    QString workOvertime;
    QString askForLeave;
    QString absent;
    QString insurance;
    QString absentDeduct;
};

// The day's wages as a table: the stored wages first, then one row for
// each member of staff, whose hours, leave, absence, deductions and
// monthly-pay box are typed. Every wage follows its row as the wage window's
// figure follows its fields (salary::dayWageOf); a figure changed after the
// monthly-pay box was ticked gives the monthly pay up again, and "Yes" in
// "Ask for leave" or "Absent" puts 0 in the hours and locks them while
// neither list says "No".
class DayWageSheet : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DayWageSheet(QObject* parent = nullptr);

    void setStoredRows(std::vector<DayWageRow> rows);
    void setStaffRows(std::vector<DayWageRow> rows);
    const DayWageRow& row(int index) const { return rows_[static_cast<size_t>(index)]; }
    // Whether the books' wage rows can record a monthly pay: else the box
    // is not offered.
    void setMonthlyPayRecorded(bool recorded) { monthlyPayRecorded_ = recorded; }
    // Nothing takes typing while locked (a Save the server did not confirm).
    void setLocked(bool locked);

    // A member's row with anything typed into it: a wage to store.
    bool isTyped(int index) const;
    std::vector<int> typedRows() const;
    // What the row's wage is computed from: its rates, hours, deductions
    // and, with the box ticked, the monthly pay.
    salary::WageRowAmounts amountsOf(int index) const;
    // The wage of the row as the wage window would show it; nullopt when it
    // is beyond the figures a double holds.
    std::optional<double> wageOf(int index) const;
    // The typed rows' wages, each rounded as Save adds it.
    double typedTotal() const;
    bool hoursLocked(int index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // After a typed figure changed (the total follows).
    void typingChanged();

private:
    QString* typedText(DayWageRow& row, int column) const;
    void changed(int index, int firstColumn);

    std::vector<DayWageRow> rows_;
    int storedCount_ = 0;
    bool monthlyPayRecorded_ = false;
    bool locked_ = false;
};

}  // namespace staff
