// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/store_sql.h"

namespace ledger::store_sql {

namespace {

QString withGuard(QString where, const QString& guard) {
    if (!guard.isEmpty()) where += QStringLiteral(" AND ") + guard;
    return where;
}

}  // namespace

QString guardedUpdate(const SqlDialect& dialect, const QString& table, const QString& key,
                      const QStringList& columns, const QStringList& checked,
                      const QString& guard) {
    const int n = static_cast<int>(columns.size());
    QStringList sets, conditions{key + QStringLiteral(" = ") + dialect.placeholder(n + 1)};
    for (int i = 0; i < n; ++i)
        sets << columns[i] + QStringLiteral(" = ") + dialect.placeholder(i + 1);
    for (int i = 0; i < checked.size(); ++i)
        conditions << dialect.sameValue(checked[i], dialect.placeholder(n + 2 + i));
    const QString where = withGuard(conditions.join(QStringLiteral(" AND ")), guard);
    if (columns.isEmpty())
        return QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, where);
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
        .arg(table, sets.join(QStringLiteral(", ")), where);
}

QString guardedAddition(const SqlDialect& dialect, const QString& table, const QString& key,
                        const QString& amount, const QString& guardColumn, const QString& guard) {
    // The sum is made by the engine from what the row holds at this moment,
    // never from a figure read earlier.
    const QString where =
        withGuard(QStringLiteral("%1 = %2 AND %3")
                      .arg(key, dialect.placeholder(2),
                           dialect.sameValue(guardColumn, dialect.placeholder(3))),
                  guard);
    return QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + %3 WHERE %4 RETURNING %2")
        .arg(table, amount, dialect.amountPlaceholder(1), where);
}

QString guardedInsert(const SqlDialect& dialect, const QString& table, const QString& key,
                      const QStringList& columns, const QString& distinct, const QString& guard) {
    const int n = static_cast<int>(columns.size());
    QStringList marks, conditions;
    for (int i = 0; i < n; ++i) marks << dialect.placeholder(i + 1);
    if (!distinct.isEmpty())
        conditions << QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 WHERE %2 = %3)")
                          .arg(table, distinct, dialect.placeholder(n + 1));
    if (!guard.isEmpty()) conditions << guard;
    const QString where =
        conditions.isEmpty() ? QString()
                             : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    // The key comes back from the statement itself, not from the
    // connection's last insert, which a trigger's insert could change.
    return QStringLiteral("INSERT INTO %1 (%2) SELECT %3%4 RETURNING %5")
        .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')), where, key);
}

}  // namespace ledger::store_sql
