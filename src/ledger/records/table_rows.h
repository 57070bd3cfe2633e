// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/records/row_set.h"

namespace ledger {

// A table's rows as a dynaset: the keys are fixed at open and Refresh, each
// row's values are read from the store when asked for, so a row changed by
// another window shows its new values the next time it becomes current.
class TableRows final : public RowSet {
public:
    TableRows(std::shared_ptr<Store> store, SourceInfo info);

    bool isReadOnly() const override { return false; }
    void reload() override;
    std::vector<QVariant> values(int index, const QStringList& columns) const override;
    std::vector<QStringList> rowsAsText() const override;
    void visitRows(const QStringList& columns, const RowValuesVisitor& visit) const override;
    std::optional<int> find(const Criterion& criterion, const QStringList& columns, int before,
                            bool backwards) const override;
    int insert(const QStringList& columns, const std::vector<QVariant>& values) override;
    int adopt(qint64 key) override;
    bool update(int index, const QStringList& columns, const std::vector<QVariant>& values,
                const QStringList& checked, const std::vector<QVariant>& expected) override;
    void remove(int index) override;

private:
    // A find of one condition whose constant compares character for
    // character, answered by the store from an index; false when the store
    // cannot answer it so (the caller then reads the column itself).
    bool findEqualText(const Criterion& criterion, std::optional<int>& found) const;
    bool findByNarrowing(const Criterion& criterion, int before, bool backwards,
                         std::optional<int>& found) const;

    // Opens with the first key alone (and the highest, which bounds the
    // set): a window shows its first row without reading every key.
    void openFirstKeyOnly();
    void readKeys() const override;
    void visitRowsReadingKeys(const QStringList& columns, const RowValuesVisitor& visit) const;

    std::shared_ptr<Store> store_;
    quint64 removalMark_ = 0;
    qint64 highestAtOpen_ = -1;
};

}  // namespace ledger
