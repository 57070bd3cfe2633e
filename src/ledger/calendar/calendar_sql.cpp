#include "ledger/calendar/calendar_sql.h"

#include "ledger/calendar/calendar_day.h"

namespace ledger::calendar {

namespace {

const QString kUndatedDay = QString::number(kUndatedDayNumber);
const QString kUndatedMonth = QString::number(kUndatedMonthNumber);

// The days of a month, the leap year's February by the Gregorian rule.
QString daysInMonth(const QString& month, const QString& leapDays) {
    return QStringLiteral(
               "CASE %1 WHEN 2 THEN %2 WHEN 4 THEN 30 WHEN 6 THEN 30 WHEN 9 THEN 30 WHEN 11 "
               "THEN 30 ELSE 31 END")
        .arg(month, leapDays);
}

QString isLeapYear(const QString& year) {
    return QStringLiteral("(%1 % 4 = 0 AND %1 % 100 <> 0 OR %1 % 400 = 0)").arg(year);
}

// The number of a year/month/day made of three numbers, once they are known
// to be whole numbers: the day's, or the undated one.
QString numberOfParts(const QString& year, const QString& month, const QString& day,
                      const QString& leapDays) {
    return QStringLiteral(
               "CASE WHEN %1 BETWEEN 1 AND 9999 AND %2 BETWEEN 1 AND 12 AND %3 BETWEEN 1 AND %4 "
               "THEN %1 * 10000 + %2 * 100 + %3 ELSE %5 END")
        .arg(year, month, day, daysInMonth(month, leapDays), kUndatedDay);
}

// SQLite: an untrimmed text that has only digits and exactly two slashes,
// each followed by a digit, after a leading digit, is year/month/day; its
// three numbers are read by CAST, which stops at the first slash. SQLite
// computes an expression again at each use, so the common case (nothing to
// cut off, the Date begins and ends with a digit) reads the column itself
// and trims only the others.
QString sqliteDayNumber(const QString& text) {
    const QString year = QStringLiteral("CAST(%1 AS INTEGER)").arg(text);
    const QString month =
        QStringLiteral("CAST(substr(%1, instr(%1, '/') + 1) AS INTEGER)").arg(text);
    const QString day =
        QStringLiteral("CAST(substr(%1, length(rtrim(%1, '0123456789')) + 1) AS INTEGER)")
            .arg(text);
    const QString leapDays = QStringLiteral("28 + %1").arg(isLeapYear(year));
    return QStringLiteral(
               "CASE WHEN %1 GLOB '[0-9]*/[0-9]*/[0-9]*' AND %1 NOT GLOB '*[^0-9/]*' AND %1 NOT "
               "GLOB '*/*/*/*' THEN %2 ELSE %3 END")
        .arg(text, numberOfParts(year, month, day, leapDays), kUndatedDay);
}

QString sqliteDayNumberOf(const QString& dateText) {
    const QString trimmed = QStringLiteral("trim(%1, char(32, 9, 10, 13))").arg(dateText);
    return QStringLiteral("(CASE WHEN %1 GLOB '[0-9]*[0-9]' THEN %2 ELSE %3 END)")
        .arg(dateText, sqliteDayNumber(dateText), sqliteDayNumber(trimmed));
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
    const QString leapDays =
        QStringLiteral("CASE WHEN %1 THEN 29 ELSE 28 END").arg(isLeapYear(number(1)));
    return QStringLiteral("(CASE WHEN %1 THEN (%2)::bigint ELSE %3 END)")
        .arg(shape, numberOfParts(number(1), number(2), number(3), leapDays), kUndatedDay);
}

}  // namespace

QString dayNumberSql(SqlDialect dialect, const QString& dateText) {
    return dialect == SqlDialect::Sqlite ? sqliteDayNumberOf(dateText)
                                         : postgresDayNumberOf(dateText);
}

QString monthNumberSql(SqlDialect, const QString& dayNumber) {
    // Whole numbers on both engines: the division drops the day.
    return QStringLiteral("(%1 / 100)").arg(dayNumber);
}

QString sheetMonthTextSql(SqlDialect dialect, const QString& monthNumber) {
    const QString format = dialect == SqlDialect::Sqlite
                               ? QStringLiteral("(%1 % 100) || '/ ' || (%1 / 100)")
                               : QStringLiteral("(%1 % 100)::text || '/ ' || (%1 / 100)::text");
    return QStringLiteral("CASE WHEN %1 >= %2 THEN '%3' ELSE %4 END")
        .arg(monthNumber, kUndatedMonth, kUndatedMonthText, format.arg(monthNumber));
}

QString wageMonthTextSql(SqlDialect dialect, const QString& monthNumber) {
    const QString format = dialect == SqlDialect::Sqlite
                               ? QStringLiteral("(%1 / 100) || '/' || (%1 % 100)")
                               : QStringLiteral("(%1 / 100)::text || '/' || (%1 % 100)::text");
    return QStringLiteral("CASE WHEN %1 >= %2 THEN '%3' ELSE %4 END")
        .arg(monthNumber, kUndatedMonth, kUndatedMonthText, format.arg(monthNumber));
}

}  // namespace ledger::calendar
