// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/store.h"

#include <algorithm>
#include <future>
#include <optional>

#include "ledger/base/ledger_error.h"
#include "ledger/store/postgres/postgres_store.h"
#include "ledger/store/server_address.h"
#include "ledger/store/sqlite/sqlite_store.h"

namespace ledger {

void failMadeAnew(const QString& books) {
    fail(ErrorCode::FileReplaced,
         QStringLiteral("The books '%1' were made anew by another program (copied or restored "
                        "over the ones open here) after this program read them, so what was "
                        "typed is not stored: it could land in another day. The text stays in "
                        "the window: note it, then close every window of the program and start "
                        "it again.")
             .arg(books));
}

QVariant valueIn(const QStringList& columns, const std::vector<QVariant>& values,
                 const QString& column) {
    for (qsizetype i = 0; i < columns.size() && i < qsizetype(values.size()); ++i)
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return values[static_cast<size_t>(i)];
    return {};
}

void failAlreadyStored(const QString& table, const QString& column, const QVariant& value) {
    const QString shown = value.typeId() == QMetaType::Double
                              ? QString::number(value.toDouble(), 'g', 17)
                              : value.toString();
    fail(ErrorCode::AlreadyStored,
         QStringLiteral("'%1' already holds a row whose %2 is \"%3\" (stored by this program or "
                        "another), so the new row was not stored. Nothing was stored.")
             .arg(table, column, shown));
}

namespace {

// A file's store being opened ahead (openStoreAhead), until the next
// openStore takes it. Touched by the user-interface thread only; the
// opening thread has only its own copy of the path.
std::optional<std::future<std::shared_ptr<Store>>>& openedAhead() {
    static std::optional<std::future<std::shared_ptr<Store>>> ahead;
    return ahead;
}

}  // namespace

void openStoreAhead(const Connection& where) {
    if (isServerAddress(where.path)) return;
    openedAhead() = std::async(std::launch::async, [path = where.path] {
        try {
            return openFileStoreUnshared(path);
        } catch (...) {
            // Said by the openStore that needs it, on its own thread.
            return std::shared_ptr<Store>();
        }
    });
}

// A connection URI names a server database; anything else is a file.
std::shared_ptr<Store> openStore(const Connection& where) {
    if (isServerAddress(where.path)) return openServerStore(where.path);
    // Shared as open shares it and held here until the open below has found
    // it (the shared list holds no store alive); let go at once when the
    // open names another file.
    std::shared_ptr<Store> madeAhead;
    if (auto& ahead = openedAhead()) {
        madeAhead = ahead->get();
        ahead.reset();
        if (madeAhead) shareFileStore(madeAhead);
    }
    return openFileStore(where.path);
}

std::vector<Store::RowKey> Store::rowKeysHoldingNumber(const QString& table, const QString& column,
                                                       qint64 number) {
    std::vector<RowKey> keys;
    if (describe(table).indexOf(column) < 0) return keys;
    scan(table, {column}, [&](RowKey key, const std::vector<QVariant>& values) {
        bool whole = false;
        if (values[0].toLongLong(&whole) == number && whole) keys.push_back(key);
        return true;
    });
    return keys;
}

void Store::scanHolding(const QString& table, const QString& column, const QStringList& columns,
                        const RowVisitor& visit) {
    std::vector<QVariant> values(columns.size());
    scan(table, columns + QStringList{column}, [&](RowKey key, const std::vector<QVariant>& row) {
        if (row.back().isNull()) return true;
        std::copy(row.begin(), row.end() - 1, values.begin());
        return visit(key, values);
    });
}

}  // namespace ledger
