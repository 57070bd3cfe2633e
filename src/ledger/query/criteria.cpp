// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/criteria.h"

#include <QByteArray>
#include <QMetaType>

#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/criteria_tokens.h"
#include "ledger/query/like_match.h"

namespace ledger {

namespace {

// A stored empty value (SQL NULL) never satisfies a condition, not even "*".
bool isNullValue(const QVariant& value) { return !value.isValid() || value.isNull(); }

bool textHolds(const Condition& condition, QStringView text) {
    return condition.op == Condition::Op::Like ? likeMatches(text, condition.literal)
                                               : textEqualsIgnoringCase(text, condition.literal);
}

bool conditionHolds(const Condition& condition, const QVariant& value) {
    if (isNullValue(value)) return false;
    // Text, the usual case, is compared where it lies: a find runs this for
    // every row of the row set.
    if (value.typeId() == QMetaType::QString)
        return textHolds(condition, *static_cast<const QString*>(value.constData()));
    return textHolds(condition, criteriaText(value));
}

}  // namespace

Criterion Criterion::parse(const QString& text) {
    detail::TokenStream tokens(text, ErrorCode::SyntaxErrorInCriteria,
                               QStringLiteral("Syntax error in the criterion"));
    if (tokens.atEnd()) tokens.reject(QStringLiteral("the criterion is empty"));
    Criterion criterion;
    do {
        criterion.conditions.push_back(tokens.expectCondition());
    } while (tokens.acceptKeyword(u"and"));
    if (!tokens.atEnd()) tokens.rejectNext(QStringLiteral("AND or the end expected"));
    return criterion;
}

bool Criterion::isWellFormed(const QString& text) {
    try {
        parse(text);
        return true;
    } catch (const LedgerError&) {
        return false;
    }
}

QStringList Criterion::columns() const {
    QStringList names;
    names.reserve(static_cast<qsizetype>(conditions.size()));
    for (const Condition& condition : conditions) names.append(condition.column);
    return names;
}

bool Criterion::matches(const std::vector<QVariant>& values) const {
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        // A value the caller did not supply is as empty as a stored null.
        if (i >= values.size() || !conditionHolds(conditions[i], values[i])) return false;
    }
    return true;
}

QString criteriaText(const QVariant& value) {
    if (isNullValue(value)) return QString();
    switch (value.typeId()) {
        case QMetaType::QString: {
            // Stored empty text is text, not null: it still matches "*".
            QString text = value.toString();
            return text.isNull() ? QStringLiteral("") : text;
        }
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return amountText(value.toDouble());
        case QMetaType::QByteArray:
            return QString::fromUtf8(value.toByteArray());
        default:
            return value.toString();
    }
}

}  // namespace ledger
