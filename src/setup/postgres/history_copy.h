// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

#include "ledger/store/store.h"

namespace setup {

// The books' history carried by a copy (ledger_copy.h). The copy numbers
// the rows of each table anew, 1, 2, 3 ... in their order; the history's
// rows name their row by the number the copy gave it, and a row no longer
// there (removed) by none. The copy's new tables hand out the same numbers
// to the history's rows, so each value still belongs to its change.
class HistoryCopy {
public:
    // Notes that the copy gave the row `key` of `table` the number `number`.
    void noteRow(const QString& table, ledger::Store::RowKey key, qint64 number);
    using Insert = std::function<void(const QString& table, const QStringList& columns,
                                      const std::vector<QVariant>& values)>;
    // Hands every row of the source's history to `insert`, in order: those
    // of kHistory, then those of kHistoryValues. Books without a history
    // hand over nothing. Returns the number of changes handed over.
    qint64 send(ledger::Store& source, const Insert& insert) const;

private:
    QHash<QString, QHash<ledger::Store::RowKey, qint64>> numbers_;
};

}  // namespace setup
