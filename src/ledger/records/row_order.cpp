// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/records/row_order.h"

#include "ledger/calendar/calendar_day.h"

namespace ledger {

RowOrderKey::RowOrderKey(const QVariant& value) {
    if (value.isNull()) return;
    if (value.typeId() == QMetaType::Double) {
        rank_ = Number;
        number_ = value.toDouble();
        return;
    }
    text_ = value.toString();
    day_ = calendar::dayNumberOf(text_);
    rank_ = day_ == calendar::kUndatedDayNumber ? Text : Day;
}

bool operator<(const RowOrderKey& a, const RowOrderKey& b) {
    if (a.rank_ != b.rank_) return a.rank_ < b.rank_;
    switch (a.rank_) {
        case RowOrderKey::Day:
            return a.day_ < b.day_;
        case RowOrderKey::Number:
            return a.number_ < b.number_;
        case RowOrderKey::Text:
            return a.text_ < b.text_;
        default:
            return false;
    }
}

}  // namespace ledger
