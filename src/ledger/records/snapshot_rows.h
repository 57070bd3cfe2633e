// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "ledger/records/row_set.h"

namespace ledger {

// A read-only set read whole at open and at each Refresh: the rows of a saved
// query (the month totals, say) or of the one accepted SELECT text. A saved
// query's set reads only its first row then, and the others when a move, a
// find or a count first needs them: a window shows its first row without
// reading thousands of employee-months.
class SnapshotRows final : public RowSet {
public:
    using Rows = std::vector<std::vector<QVariant>>;
    // Reads the rows afresh; their values follow the columns of `info`.
    using Reader = std::function<Rows()>;

    static std::unique_ptr<SnapshotRows> ofSavedQuery(std::shared_ptr<Store> store,
                                                      SourceInfo info);
    // The SELECT text, parsed and evaluated by our own code over its saved
    // query: its text never reaches the store.
    static std::unique_ptr<SnapshotRows> ofSelectText(std::shared_ptr<Store> store,
                                                      const QString& text);

    // With `firstRow` (reading at most the first row), open and Refresh read
    // that alone.
    SnapshotRows(SourceInfo info, Reader reader, Reader firstRow = {});

    bool isReadOnly() const override { return true; }
    void reload() override;
    std::vector<QVariant> values(int index, const QStringList& columns) const override;
    std::vector<QStringList> rowsAsText() const override;
    void visitRows(const QStringList& columns, const RowValuesVisitor& visit) const override;
    std::optional<int> find(const Criterion& criterion, const QStringList& columns, int before,
                            bool backwards) const override;

private:
    void readKeys() const override;

    Reader reader_;
    Reader firstRow_;
    mutable Rows rows_;
};

}  // namespace ledger
