// SPDX-License-Identifier: GPL-3.0-or-later
#include "accountant/export_tables.h"

#include <QRegularExpression>
#include <algorithm>
#include <functional>

#include "accountant/export_csv.h"
#include "ledger/records/row_set.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace accountant {

namespace schema = ledger::schema;

namespace {

using SpanOf = std::function<std::optional<DaySpan>(const QString&)>;

// Every row of a table or saved query with every column the file has (a
// table's row key is the store's and never shown), each value as a field
// shows it; the row's span read from its day or month column.
ExportTable wholeSource(ledger::Store& store, const QString& source, const QString& dateColumn,
                        const SpanOf& spanOf) {
    const ledger::SourceInfo info = store.describe(source);
    const int dateAt = info.indexOf(dateColumn);
    ExportTable table;
    table.header = info.columns;
    store.scan(info.name, info.columns, [&](ledger::Store::RowKey, const auto& values) {
        ExportRow row;
        for (const QVariant& value : values) row.cells << cellOf(value);
        if (dateAt >= 0) row.span = spanOf(ledger::fieldText(values.at(dateAt)));
        table.rows.push_back(std::move(row));
        return true;
    });
    return table;
}

}  // namespace

QString cellOf(const QVariant& value) {
    if (value.isNull() || value.typeId() == QMetaType::Double) return ledger::fieldText(value);
    return csv::textCell(value.toString());
}

QString serialCell(const QVariant& value) {
    return value.isNull() ? QString() : csv::exactTextCell(ledger::fieldText(value));
}

QString monthCell(const DaySpan& month) { return month.first.toString(QStringLiteral("yyyy-MM")); }

QString plainHeader(const QString& column) {
    // 之 總計, with or without blanks around 之: "total of".
    static const QRegularExpression total(QStringLiteral("^(.*\\S)\\s*\u4E4B\\s*\u7E3D\u8A08$"));
    static const QStringList months = {savedQueryColumns(schema::kMonthTotals).value(0),
                                       savedQueryColumns(schema::kMonthWages).value(0)};
    if (months.contains(column, Qt::CaseInsensitive)) return QStringLiteral("Month");
    const QRegularExpressionMatch match = total.match(column);
    return match.hasMatch() ? match.captured(1) : column;
}

const QStringList& savedQueryColumns(const QString& name) {
    for (const schema::SavedQuery& query : schema::savedQueries())
        if (query.name == name) return query.columns;
    static const QStringList none;
    return none;
}

void arrangeByCalendar(ExportTable& table, const DayRange& range) {
    auto& rows = table.rows;
    if (!range.isWhole())
        std::erase_if(
            rows, [&](const ExportRow& row) { return !row.span || !range.overlaps(*row.span); });
    const auto undated = std::stable_partition(
        rows.begin(), rows.end(), [](const ExportRow& row) { return row.span.has_value(); });
    std::stable_sort(rows.begin(), undated, [](const ExportRow& a, const ExportRow& b) {
        return a.span->first < b.span->first;
    });
    table.undated = static_cast<int>(rows.end() - undated);
}

ExportTable exportMonths(ledger::Store& store, const DayRange& range) {
    const QString& month = savedQueryColumns(schema::kMonthTotals).value(0);
    ExportTable table = wholeSource(store, schema::kMonthTotals, month, sheetMonth);
    // The month as a date (12/ 2002 is 2002-12) under plain headers: Month,
    // then each total under the days' name for it.
    for (qsizetype at = 0; at < table.header.size(); ++at) {
        if (table.header[at].compare(month, Qt::CaseInsensitive) == 0)
            for (ExportRow& row : table.rows)
                if (row.span) row.cells[at] = monthCell(*row.span);
        table.header[at] = plainHeader(table.header[at]);
    }
    arrangeByCalendar(table, range);
    return table;
}

}  // namespace accountant
