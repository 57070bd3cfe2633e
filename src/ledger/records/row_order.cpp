#include "ledger/records/row_order.h"

#include <QStringList>
#include <tuple>

namespace ledger {

namespace {

// Rank 0: a calendar day, 1: a number, 2: other text, 3: empty.
struct OrderKey {
    int rank = 3;
    int year = 0, month = 0, day = 0;
    double number = 0;
    QString text;
};

OrderKey orderKey(const QVariant& v) {
    OrderKey k;
    if (v.isNull()) return k;
    if (v.typeId() == QMetaType::Double) {
        k.rank = 1;
        k.number = v.toDouble();
        return k;
    }
    k.text = v.toString();
    k.rank = 2;
    const QStringList parts = k.text.trimmed().split(QLatin1Char('/'));
    if (parts.size() == 3) {
        bool y = false, m = false, d = false;
        int year = parts[0].toInt(&y), month = parts[1].toInt(&m), day = parts[2].toInt(&d);
        if (y && m && d && !parts[0].startsWith('-') && !parts[0].startsWith('+')) {
            k.rank = 0;
            k.year = year;
            k.month = month;
            k.day = day;
        }
    }
    return k;
}

}  // namespace

bool rowValueLess(const QVariant& a, const QVariant& b) {
    OrderKey x = orderKey(a), y = orderKey(b);
    if (x.rank != y.rank) return x.rank < y.rank;
    switch (x.rank) {
        case 0:
            return std::tie(x.year, x.month, x.day) < std::tie(y.year, y.month, y.day);
        case 1:
            return x.number < y.number;
        case 2:
            return x.text < y.text;
        default:
            return false;
    }
}

}  // namespace ledger
