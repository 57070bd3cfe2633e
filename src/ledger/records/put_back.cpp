// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/put_back.h"

#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"

namespace ledger {

namespace {

const QString kDate = QStringLiteral("Date");

// A value typed into a field by the history rather than the keyboard.
class TypedValue : public FieldBinding {
public:
    TypedValue(RecordSource& source, const QString& column, const QVariant& value)
        : source_(source), column_(column), text_(textOf(value)) {
        source_.bind(this);
    }
    ~TypedValue() override { source_.unbind(this); }
    TypedValue(const TypedValue&) = delete;
    TypedValue& operator=(const TypedValue&) = delete;

    QString boundColumn() const override { return column_; }
    void showValue(const QString&) override {}
    bool isChanged() const override { return changed_; }
    QString editedText() const override { return text_; }
    void clearChanged() override { changed_ = false; }
    // As a keystroke: the value is stored by the next write-back.
    void type() { changed_ = true; }

private:
    // A figure as the fields show it, so it reads back as the very figure.
    static QString textOf(const QVariant& value) {
        if (value.isNull()) return {};
        if (value.typeId() == QMetaType::Double) return amountText(value.toDouble());
        return value.toString();
    }

    RecordSource& source_;
    QString column_;
    QString text_;
    bool changed_ = false;
};

// Whether the row holds `recorded` now: a figure as a figure, a text
// character for character, and nothing as nothing (or an empty text).
bool holdsNow(const QVariant& stored, const QVariant& recorded) {
    const bool storedEmpty = stored.isNull() || stored.toString().isEmpty();
    const bool recordedEmpty = recorded.isNull() || recorded.toString().isEmpty();
    if (storedEmpty || recordedEmpty) return storedEmpty == recordedEmpty;
    if (recorded.typeId() == QMetaType::Double) {
        bool number = false;
        const double figure = stored.toDouble(&number);
        return number && figure == recorded.toDouble();
    }
    return stored.toString() == recorded.toString();
}

QString shown(const QVariant& value) {
    if (value.isNull() || value.toString().isEmpty()) return QStringLiteral("empty");
    if (value.typeId() == QMetaType::Double) return amountText(value.toDouble());
    return QLatin1Char('"') + value.toString() + QLatin1Char('"');
}

void openOn(RecordSource& source, const QString& books, const QString& table) {
    source.setDatabasePath(books);
    source.setSource(table);
    source.open();
}

// The removed row's values typed into a new row of `source`, every column
// the table still has.
std::vector<std::unique_ptr<TypedValue>> typeRemovedRow(RecordSource& source,
                                                        const RecordedChange& removal) {
    if (!removal.isRemoval())
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("Only a removed row can be brought back. Nothing was stored."));
    source.addNew();
    const QStringList columns = source.columnNames();
    std::vector<std::unique_ptr<TypedValue>> typed;
    for (const RecordedValue& value : removal.values)
        if (columns.contains(value.column, Qt::CaseInsensitive) && !value.before.isNull())
            typed.push_back(std::make_unique<TypedValue>(source, value.column, value.before));
    for (const auto& field : typed) field->type();
    return typed;
}

}  // namespace

void putBackValue(const QString& books, const RecordedChange& change, const QString& column) {
    if (column.compare(QStringLiteral("Password"), Qt::CaseInsensitive) == 0)
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("A password is never kept in the history, so it cannot be put back. "
                            "Type a new one in the staff register."));
    const RecordedValue* value = nullptr;
    for (const RecordedValue& v : change.values)
        if (v.column.compare(column, Qt::CaseInsensitive) == 0) value = &v;
    if (!value || change.change != QLatin1String("changed"))
        fail(ErrorCode::InvalidOperation,
             QStringLiteral("This change did not change %1, so there is nothing of it to put "
                            "back. Nothing was stored.")
                 .arg(column));
    RecordSource source(QStringLiteral("putBack"));
    openOn(source, books, change.table);
    // Bound before the row is read, so the row is read with it and the
    // write-back checks it still holds what was read.
    TypedValue typed(source, value->column, value->before);
    source.showRow(Bookmark{change.row});
    const QVariant now = source.readValue(value->column);
    if (!holdsNow(now, value->after))
        fail(ErrorCode::ChangedElsewhere,
             QStringLiteral("%1 is %2 now, not %3 as this change left it: it was changed again "
                            "since. Nothing was put back; put back the newer change first.")
                 .arg(value->column, shown(now), shown(value->after)));
    typed.type();
    // Stored only while the row still holds what was just read, its date
    // or name included.
    source.close();
}

void bringBackDay(const QString& books, const RecordedChange& removal) {
    RecordSource days(QStringLiteral("bringBackDay"));
    openOn(days, books, removal.table);
    days.setDistinctColumn(kDate, QStringLiteral("Nothing was brought back."));
    const auto typed = typeRemovedRow(days, removal);
    days.writeBack();
}

void bringBackWage(const QString& books, const RecordedChange& removal, qint32 wage) {
    RecordSource days(QStringLiteral("bringBackWagesDay"));
    openOn(days, books, schema::kLedger);
    const auto day = days.store().rowKeysHoldingText(schema::kLedger, kDate, removal.date);
    if (!day || day->empty())
        fail(ErrorCode::RecordDeleted,
             QStringLiteral("The day %1 is not in the books, so its wage cannot go back onto "
                            "it. Nothing was stored; bring the day back first.")
                 .arg(removal.date));
    days.showRow(Bookmark{day->front()});
    RecordSource wageRows(QStringLiteral("bringBackWage"));
    openOn(wageRows, books, removal.table);
    const auto typed = typeRemovedRow(wageRows, removal);
    storeWageWithDay(wageRows, days, removal.date, wage);
}

}  // namespace ledger
