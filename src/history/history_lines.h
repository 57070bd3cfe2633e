// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "ledger/records/book_history.h"

namespace history {

// One line of the History… window, and what Put back does with it.
struct HistoryLine {
    enum class Remedy { None, PutBackValue, BringBackDay, BringBackWage };
    QString text;        // "2026-12-09 09:12, till 1, Marta: Egg 91 → 19"
    std::size_t change;  // which of the changes it tells of
    QString column;      // the value it tells of (PutBackValue)
    Remedy remedy = Remedy::None;
};

// The changes in the shop's words, one line per value changed and one per
// row added or removed, in the order given.
std::vector<HistoryLine> linesOf(const std::vector<ledger::RecordedChange>& changes);

// A recorded value as the line shows it: a figure as the fields show it,
// nothing as "empty".
QString shownValue(const QVariant& value);

}  // namespace history
