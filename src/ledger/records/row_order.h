// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

namespace ledger {

// Where a value of one column goes when rows are listed in the ledger's
// order: calendar days (by the program's one rule, ledger/calendar) in
// calendar order, numbers by value, other texts after them in text order,
// empty values last. Day texts sort badly as plain text (2002/10/1 before
// 2002/2/1), hence the calendar. Made once per row, so a sort compares
// ready keys rather than reading every date again at each comparison.
class RowOrderKey {
public:
    explicit RowOrderKey(const QVariant& value);

    friend bool operator<(const RowOrderKey& a, const RowOrderKey& b);

private:
    enum Rank { Day, Number, Text, Empty };
    Rank rank_ = Empty;
    qint64 day_ = 0;
    double number_ = 0;
    QString text_;
};

}  // namespace ledger
