// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/calendar/calendar_sql.h"

#include "ledger/calendar/calendar_day.h"

namespace ledger::calendar {

namespace {

const QString kUndatedDay = QString::number(kUndatedDayNumber);
const QString kUndatedMonth = QString::number(kUndatedMonthNumber);

// The number of a year/month/day made of three whole numbers: the day's,
// or the undated one. A month has 30 + (month + month / 8) % 2 days but
// February, whose leap day follows the Gregorian rule. Each number is
// written once per use: the engines compute it again at each, and the
// expression stands in every ledger's triggers, which every connection
// reads when it opens the file, so it is kept short.
QString numberOfParts(const QString& year, const QString& month, const QString& day,
                      const QString& leapDay, const QString& monthEighth) {
    return QStringLiteral(
               "CASE WHEN %1 BETWEEN 1 AND 9999 AND %2 BETWEEN 1 AND 12 AND %3 BETWEEN 1 AND "
               "CASE WHEN %2 = 2 THEN 28 + %4 ELSE 30 + (%2 + %6) % 2 END THEN %1 * 10000 + "
               "%2 * 100 + %3 ELSE %5 END")
        .arg(year, month, day, leapDay, kUndatedDay, monthEighth);
}

QString isLeapYear(const QString& year) {
    return QStringLiteral("(%1 % 4 = 0 AND %1 % 100 <> 0 OR %1 % 400 = 0)").arg(year);
}

// SQLite: a trimmed text that has only digits and exactly two slashes, each
// followed by a digit, after a leading digit, is year/month/day; its three
// numbers are read by CAST, which stops at the first character that is no
// digit.
QString sqliteDayNumberOfText(const QString& text) {
    const QString year = QStringLiteral("CAST(%1 AS INT)").arg(text);
    const QString month = QStringLiteral("CAST(substr(%1,instr(%1,'/')+1)AS INT)").arg(text);
    const QString day =
        QStringLiteral("CAST(substr(%1,length(rtrim(%1,'0123456789'))+1)AS INT)").arg(text);
    return QStringLiteral(
               "(CASE WHEN %1 GLOB '[0-9]*/[0-9]*/[0-9]*' AND %1 NOT GLOB '*[^0-9/]*' AND %1 NOT "
               "GLOB '*/*/*/*' THEN %2 ELSE %3 END)")
        .arg(text,
             numberOfParts(year, month, day, isLeapYear(year), month + QStringLiteral(" / 8")),
             kUndatedDay);
}

QString sqliteDayNumberOf(const QString& dateText, Reading reading) {
    const QString trimmed = QStringLiteral("trim(%1,char(32,9,10,13))").arg(dateText);
    if (reading == Reading::OneRow) return sqliteDayNumberOfText(trimmed);
    // A Date that begins and ends with a digit has nothing to cut off: the
    // column itself is read, without a trim at every use.
    return QStringLiteral("(CASE WHEN %1 GLOB '[0-9]*[0-9]' THEN %2 ELSE %3 END)")
        .arg(dateText, sqliteDayNumberOfText(dateText), sqliteDayNumberOfText(trimmed));
}

// PostgreSQL: the parts by split_part; every cast guarded by a CASE, the
// only order of evaluation the server promises.
QString postgresDayNumberOf(const QString& dateText) {
    const QString text = QStringLiteral("btrim(%1, E' \\t\\n\\r')").arg(dateText);
    auto part = [&](int n) { return QStringLiteral("split_part(%1, '/', %2)").arg(text).arg(n); };
    const QString shape =
        QStringLiteral(
            "%1 <> '' AND translate(%1, '0123456789/', '') = '' AND length(%1) - "
            "length(replace(%1, '/', '')) = 2 AND %2 <> '' AND %3 <> '' AND %4 <> ''")
            .arg(text, part(1), part(2), part(3));
    auto number = [&](int n) { return QStringLiteral("%1::numeric").arg(part(n)); };
    const QString leapDay =
        QStringLiteral("CASE WHEN %1 THEN 1 ELSE 0 END").arg(isLeapYear(number(1)));
    return QStringLiteral("(CASE WHEN %1 THEN (%2)::bigint ELSE %3 END)")
        .arg(shape,
             numberOfParts(number(1), number(2), number(3), leapDay,
                           QStringLiteral("div(%1, 8)").arg(number(2))),
             kUndatedDay);
}

}  // namespace

QString dayNumberSql(SqlDialect dialect, const QString& dateText, Reading reading) {
    return dialect == SqlDialect::Sqlite ? sqliteDayNumberOf(dateText, reading)
                                         : postgresDayNumberOf(dateText);
}

QString monthNumberSql(SqlDialect, const QString& dayNumber) {
    // Whole numbers on both engines: the division drops the day.
    return QStringLiteral("(%1 / 100)").arg(dayNumber);
}

namespace {

// A month number as text in the given format, or the undated month's text.
QString monthTextSql(SqlDialect dialect, const QString& monthNumber, const QString& sqliteFormat,
                     const QString& serverFormat) {
    const QString format = dialect == SqlDialect::Sqlite ? sqliteFormat : serverFormat;
    return QStringLiteral("CASE WHEN %1 >= %2 THEN '%3' ELSE %4 END")
        .arg(monthNumber, kUndatedMonth, kUndatedMonthText, format.arg(monthNumber));
}

}  // namespace

QString sheetMonthTextSql(SqlDialect dialect, const QString& monthNumber) {
    return monthTextSql(dialect, monthNumber, QStringLiteral("(%1 % 100) || '/ ' || (%1 / 100)"),
                        QStringLiteral("(%1 % 100)::text || '/ ' || (%1 / 100)::text"));
}

QString wageMonthTextSql(SqlDialect dialect, const QString& monthNumber) {
    return monthTextSql(dialect, monthNumber, QStringLiteral("(%1 / 100) || '/' || (%1 % 100)"),
                        QStringLiteral("(%1 / 100)::text || '/' || (%1 % 100)::text"));
}

}  // namespace ledger::calendar
