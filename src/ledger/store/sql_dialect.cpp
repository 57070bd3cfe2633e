// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/sql_dialect.h"

#include "ledger/store/source_info.h"

namespace ledger {

const SqlDialect& SqlDialect::sqlite() {
    static const SqlDialect dialect(calendar::SqlDialect::Sqlite);
    return dialect;
}

const SqlDialect& SqlDialect::postgres() {
    static const SqlDialect dialect(calendar::SqlDialect::Postgres);
    return dialect;
}

QString SqlDialect::keyColumnDefinition() const {
    // As INTEGER PRIMARY KEY the key is SQLite's rowid itself, so the saved
    // queries' row order is the rowid's; AUTOINCREMENT keeps a deleted
    // row's key from being handed out again. The server's identity column
    // never hands out a key twice.
    return quoteName(schema::kRowKey) +
           (isSqlite() ? QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")
                       : QStringLiteral(" BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY"));
}

QString SqlDialect::columnType(schema::Kind kind) const {
    if (kind != schema::Kind::Amount) return QStringLiteral("TEXT");
    return isSqlite() ? QStringLiteral("REAL") : QStringLiteral("DOUBLE PRECISION");
}

QString SqlDialect::rowOrder() const {
    return isSqlite() ? QStringLiteral("rowid") : quoteName(schema::kRowKey);
}

QString SqlDialect::placeholder(int n) const {
    // Numbered on both: SQLite gives a plain "?" after "?n" the number n + 1.
    return (isSqlite() ? QStringLiteral("?%1") : QStringLiteral("$%1")).arg(n);
}

QString SqlDialect::amountPlaceholder(int n) const {
    return isSqlite() ? placeholder(n) : placeholder(n) + QStringLiteral("::double precision");
}

bool SqlDialect::declaresNumber(const QString& declared) const {
    if (!isSqlite())
        return declared == QLatin1String("double precision") || declared == QLatin1String("real") ||
               declared.startsWith(QLatin1String("numeric")) ||
               declared == QLatin1String("integer") || declared == QLatin1String("bigint") ||
               declared == QLatin1String("smallint");
    // INT anywhere makes an integer column; a text rule of SQLite's is read
    // before the floating and decimal ones. Dates, flags and undeclared
    // columns are no numbers.
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) return true;
    if (declaresText(type)) return false;
    return type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
           type.contains(QLatin1String("DOUB")) || type.contains(QLatin1String("NUM")) ||
           type.contains(QLatin1String("DEC"));
}

bool SqlDialect::declaresText(const QString& declared) const {
    if (!isSqlite())
        return declared == QLatin1String("text") ||
               declared.startsWith(QLatin1String("character varying"));
    const QString type = declared.toUpper();
    return !type.contains(QLatin1String("INT")) &&
           (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
            type.contains(QLatin1String("TEXT")));
}

bool SqlDialect::holdsAmounts(const QString& declared) const {
    if (!isSqlite()) return declaresNumber(declared);
    // SQLite's affinities, in the order its rules read them: everything but
    // a text or a blob (no type, or BLOB) keeps a number a number.
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) return true;
    if (declaresText(type)) return false;
    return !type.isEmpty() && !type.contains(QLatin1String("BLOB"));
}

QStringList SqlDialect::keptTriggers(const schema::KeptTotals& kept) const {
    return isSqlite() ? schema::keptFileTriggers(kept) : schema::keptServerTriggers(kept);
}

QString SqlDialect::sameValue(const QString& left, const QString& right) const {
    return QString::fromLatin1(isSqlite() ? "%1 IS %2" : "%1 IS NOT DISTINCT FROM %2")
        .arg(left, right);
}

QString SqlDialect::matches(const QString& text, const QString& pattern) const {
    // GLOB compares characters as they are, with the same two wildcards;
    // the server's LIKE does so with its own two.
    return QString::fromLatin1(isSqlite() ? "%1 GLOB %2" : "%1 LIKE %2").arg(text, pattern);
}

QString SqlDialect::pattern(const QString& wildcards) const {
    if (isSqlite()) return wildcards;
    QString like = wildcards;
    return like.replace(QLatin1Char('*'), QLatin1Char('%'))
        .replace(QLatin1Char('?'), QLatin1Char('_'));
}

QString SqlDialect::inByteOrder(const QString& column) const {
    return isSqlite() ? column : column + QStringLiteral(" COLLATE \"C\" NULLS FIRST");
}

QString SqlDialect::indexedText(const QString& column) const {
    return isSqlite() ? column : column + QStringLiteral(" text_pattern_ops");
}

QString SqlDialect::emptyRowColumn(const QString& firstColumn) const {
    return isSqlite() ? rowOrder() : firstColumn;
}

}  // namespace ledger
