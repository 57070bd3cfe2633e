// SPDX-License-Identifier: GPL-3.0-or-later
// Dates as typed into the daily window. Properties: the program's calendar
// rule and its SQL form (which the kept month totals, the saved queries and
// the calendar order run inside SQLite) give every text the same day
// number; a text read as a day names a real calendar day, and that day
// written back the shop's way reads as the same day.
#include <sqlite3.h>

#include <QDate>

#include "fuzz/fuzz_input.h"
#include "ledger/calendar/calendar_day.h"
#include "ledger/calendar/calendar_sql.h"
#include "ledger/calendar/ledger_calendar.h"

namespace {

// One connection and one statement for the whole run: the rule's SQL as a
// file's triggers and queries run it, over a bound text.
struct SqlRule {
    sqlite3* db = nullptr;
    sqlite3_stmt* oneRow = nullptr;
    sqlite3_stmt* everyRow = nullptr;

    SqlRule() {
        sqlite3_open(":memory:", &db);
        prepare(ledger::calendar::Reading::OneRow, &oneRow);
        prepare(ledger::calendar::Reading::EveryRow, &everyRow);
    }
    void prepare(ledger::calendar::Reading reading, sqlite3_stmt** statement) {
        const QString sql = QStringLiteral("SELECT ") +
                            ledger::calendar::dayNumberSql(ledger::calendar::SqlDialect::Sqlite,
                                                           QStringLiteral("?1"), reading);
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, statement, nullptr) != SQLITE_OK)
            fuzz::broken("the rule's SQL prepares", sql);
    }
    qint64 dayNumber(sqlite3_stmt* statement, const QByteArray& text) {
        sqlite3_reset(statement);
        sqlite3_bind_text(statement, 1, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(statement) != SQLITE_ROW) fuzz::broken("the rule's SQL runs", text);
        return sqlite3_column_int64(statement, 0);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SqlRule sql;
    const QString text = fuzz::textOf(data, size);
    // What the program stores is the text's UTF-8; the SQL reads those bytes.
    const QByteArray stored = text.toUtf8();
    const qint64 number = ledger::calendar::dayNumberOf(text);
    fuzz::require(sql.dayNumber(sql.oneRow, stored) == number,
                  "a trigger's day number equals the program's", text);
    fuzz::require(sql.dayNumber(sql.everyRow, stored) == number,
                  "a saved query's day number equals the program's", text);

    const auto day = ledger::calendar::dayOf(text);
    const auto date = ledger::calendarDay(text);
    fuzz::require(day.has_value() == date.has_value(), "the two readings agree on a day", text);
    fuzz::require(day.has_value() == (number != ledger::calendar::kUndatedDayNumber),
                  "only an undated text has the undated number", text);
    if (day) {
        fuzz::require(date->isValid() && date->year() == day->year && date->month() == day->month &&
                          date->day() == day->day,
                      "a day read is that calendar day", text);
        const QString written =
            QStringLiteral("%1/%2/%3").arg(day->year).arg(day->month).arg(day->day);
        fuzz::require(ledger::calendar::dayNumberOf(written) == number,
                      "the day written the shop's way is the same day", text);
    }
    return 0;
}
