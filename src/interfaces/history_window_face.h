// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace history {

// What other windows may ask of the History… window: to show what the books
// recorded of one day (its day sheet, its supply items, its wage rows). The
// daily window and the wage window reach it by name, never by linking it.
class HistoryWindowFace {
public:
    // Reads the day's recorded changes afresh and lists them, newest first.
    // Throws LedgerError when the books cannot be read.
    virtual void showHistoryOfDay(const QString& date) = 0;

protected:
    ~HistoryWindowFace() = default;
};

}  // namespace history
