#include "daily/day_text.h"

#include <QDate>
#include <QStringList>

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
    // The month sheet reads a day as the month sheet's totals do: blanks,
    // tabs and line ends around it cut off, then three runs of digits.
    const QString trimmed = date.trimmed();
    const QStringList parts = trimmed.split(QLatin1Char('/'));
    if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return DayForm::Undated;
    if (trimmed != date) return DayForm::OtherDay;
    for (const QString& part : parts)
        if (part.size() > 1 && part.startsWith(QLatin1Char('0'))) return DayForm::OtherDay;
    const QDate day(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    return day.isValid() && parts[0].size() <= 4 ? DayForm::CalendarDay : DayForm::OtherDay;
}

}  // namespace daily
