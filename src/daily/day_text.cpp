// SPDX-License-Identifier: GPL-3.0-or-later
#include "daily/day_text.h"

#include <QStringList>

#include "ledger/calendar/calendar_day.h"

namespace daily {

namespace {

bool allDigits(const QString& part) {
    if (part.isEmpty()) return false;
    for (QChar c : part)
        if (c < u'0' || c > u'9') return false;
    return true;
}

}  // namespace

DayForm dayFormOf(const QString& date) {
    if (const auto day = ledger::calendar::dayOf(date)) {
        const QString shopForm =
            QStringLiteral("%1/%2/%3").arg(day->year).arg(day->month).arg(day->day);
        return date == shopForm ? DayForm::CalendarDay : DayForm::OtherDay;
    }
    // Not a day: said apart from text that is no year/month/day at all.
    const QStringList parts = date.trimmed().split(QLatin1Char('/'));
    const bool digitRuns =
        parts.size() == 3 && allDigits(parts[0]) && allDigits(parts[1]) && allDigits(parts[2]);
    return digitRuns ? DayForm::NoSuchDay : DayForm::Undated;
}

}  // namespace daily
