// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/day_wage_sheet.h"

#include <QBrush>
#include <QColor>

#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"

namespace staff {

namespace {

const QString kLeaveYes = QStringLiteral("Yes");
const QString kLeaveNo = QStringLiteral("No");

// The wage window's captions for the same figures.
const char* const kCaptions[kDayWageColumnCount] = {
    "Name",      "Serial numbers", "Salary hour",   "Overtime salary hour",
    "Main hour", "Work overtime",  "Ask for leave", "Absent",
    "Insurance", "Absent-Deduct",  "Monthly pay",   "Daily settlement of accounts"};

// Stored wages are looked at, not typed into: greyed like a locked field.
const QColor kStoredBackground(0xE0, 0xE0, 0xE0);

salary::WageRowAmounts typedAmounts(const DayWageRow& row) {
    return {row.salaryHour,
            row.overtimeRate,
            row.mainHour,
            row.workOvertime,
            row.insurance,
            row.absentDeduct,
            row.byTheMonth ? row.monthlyPay : QString()};
}

}  // namespace

DayWageSheet::DayWageSheet(QObject* parent) : QAbstractTableModel(parent) {}

void DayWageSheet::setStoredRows(std::vector<DayWageRow> rows) {
    beginResetModel();
    rows_.erase(rows_.begin(), rows_.begin() + storedCount_);
    storedCount_ = static_cast<int>(rows.size());
    rows_.insert(rows_.begin(), rows.begin(), rows.end());
    endResetModel();
}

void DayWageSheet::setStaffRows(std::vector<DayWageRow> rows) {
    beginResetModel();
    rows_.resize(static_cast<size_t>(storedCount_));
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    endResetModel();
    Q_EMIT typingChanged();
}

void DayWageSheet::setLocked(bool locked) {
    locked_ = locked;
    if (!rows_.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kDayWageColumnCount - 1));
}

bool DayWageSheet::isTyped(int index) const {
    const DayWageRow& r = row(index);
    if (r.stored) return false;
    return r.byTheMonth || !r.mainHour.trimmed().isEmpty() || !r.workOvertime.trimmed().isEmpty() ||
           !r.askForLeave.isEmpty() || !r.absent.isEmpty() || !r.insurance.trimmed().isEmpty() ||
           !r.absentDeduct.trimmed().isEmpty();
}

std::vector<int> DayWageSheet::typedRows() const {
    std::vector<int> typed;
    for (int i = storedCount_; i < rowCount(); ++i)
        if (isTyped(i)) typed.push_back(i);
    return typed;
}

salary::WageRowAmounts DayWageSheet::amountsOf(int index) const {
    const DayWageRow& r = row(index);
    return r.stored ? r.storedAmounts : typedAmounts(r);
}

std::optional<double> DayWageSheet::wageOf(int index) const {
    try {
        return salary::dayWageOf(amountsOf(index));
    } catch (const ledger::LedgerError&) {
        return std::nullopt;
    }
}

double DayWageSheet::typedTotal() const {
    double total = 0;
    for (int i : typedRows())
        if (const std::optional<double> wage = wageOf(i)) total += salary::nearestEven(*wage);
    return total;
}

bool DayWageSheet::hoursLocked(int index) const {
    const DayWageRow& r = row(index);
    return (r.askForLeave == kLeaveYes || r.absent == kLeaveYes) && r.askForLeave != kLeaveNo &&
           r.absent != kLeaveNo;
}

int DayWageSheet::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DayWageSheet::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDayWageColumnCount;
}

QString* DayWageSheet::typedText(DayWageRow& r, int column) const {
    switch (column) {
        case kMainHourColumn:
            return &r.mainHour;
        case kWorkOvertimeColumn:
            return &r.workOvertime;
        case kAskForLeaveColumn:
            return &r.askForLeave;
        case kAbsentColumn:
            return &r.absent;
        case kInsuranceColumn:
            return &r.insurance;
        case kAbsentDeductColumn:
            return &r.absentDeduct;
        default:
            return nullptr;
    }
}

QVariant DayWageSheet::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const DayWageRow& r = row(index.row());
    const int column = index.column();
    if (role == Qt::BackgroundRole && r.stored) return QBrush(kStoredBackground);
    if (role == Qt::ToolTipRole && r.stored)
        return QStringLiteral(
            "Stored and counted in the day. Delete removes it and takes its "
            "wage off the day.");
    if (role == Qt::CheckStateRole && column == kMonthlyPayColumn)
        return r.byTheMonth ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && column != kNameColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (column) {
        case kNameColumn:
            return r.name;
        case kSerialColumn:
            return r.serial;
        case kSalaryHourColumn:
            return r.salaryHour;
        case kOvertimeRateColumn:
            return r.overtimeRate;
        case kMonthlyPayColumn:
            return r.monthlyPay;
        case kWageColumn: {
            const std::optional<double> wage = wageOf(index.row());
            return wage ? ledger::amountText(*wage) : QStringLiteral("too large");
        }
        default:
            return *typedText(const_cast<DayWageRow&>(r), column);
    }
}

QVariant DayWageSheet::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QString::fromLatin1(kCaptions[section]);
}

Qt::ItemFlags DayWageSheet::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!index.isValid() || locked_) return flags;
    const DayWageRow& r = row(index.row());
    if (r.stored) return flags;
    const int column = index.column();
    if (column == kMonthlyPayColumn)
        return monthlyPayRecorded_ && !r.monthlyPay.isEmpty() ? flags | Qt::ItemIsUserCheckable
                                                              : flags;
    const bool hours = column == kMainHourColumn || column == kWorkOvertimeColumn;
    if (hours && hoursLocked(index.row())) return flags;
    return typedText(const_cast<DayWageRow&>(r), column) ? flags | Qt::ItemIsEditable : flags;
}

bool DayWageSheet::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) return false;
    DayWageRow& r = rows_[static_cast<size_t>(index.row())];
    const int column = index.column();
    if (column == kMonthlyPayColumn) {
        if (role != Qt::CheckStateRole) return false;
        r.byTheMonth = value.toInt() == Qt::Checked;
        changed(index.row(), column);
        return true;
    }
    if (role != Qt::EditRole) return false;
    QString* text = typedText(r, column);
    if (*text == value.toString()) return true;
    *text = value.toString();
    // A figure changed after the box was ticked: the wage is computed again.
    if (column != kAskForLeaveColumn && column != kAbsentColumn) r.byTheMonth = false;
    // Leave or absence: no hours worked, and none typed while it holds.
    if (*text == kLeaveYes && (column == kAskForLeaveColumn || column == kAbsentColumn)) {
        r.mainHour = QStringLiteral("0");
        r.workOvertime = QStringLiteral("0");
        r.byTheMonth = false;
    }
    changed(index.row(), kMainHourColumn);
    return true;
}

void DayWageSheet::changed(int index, int firstColumn) {
    // The wage, in the last column, follows every change.
    Q_EMIT dataChanged(this->index(index, firstColumn), this->index(index, kWageColumn));
    Q_EMIT typingChanged();
}

}  // namespace staff
