// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The name of every window, as the registry knows it and as each window's
// objectName reads. Windows open and find each other by these names, never
// by linking each other's libraries.
namespace windows {

inline const QString kDailyWindow = QStringLiteral("Form1");        // daily settlement
inline const QString kTablewareSheet = QStringLiteral("Form2");     // tableware detail
inline const QString kShopArticlesSheet = QStringLiteral("Form3");  // articles in the shop
inline const QString kMonthSheet = QStringLiteral("Form4");         // settle account in the month
inline const QString kWageWindow = QStringLiteral("Form5");         // the staff calculate wages
inline const QString kStaffRegister = QStringLiteral("Form6");      // material forms of staff
inline const QString kSalaryWindow = QStringLiteral("Form7");       // monthly salary settlement
inline const QString kWageDetailGrid = QStringLiteral("Form9");     // wage detail
inline const QString kLoginWindow = QStringLiteral("Form10");       // staff login
// Not one of the shop's forms: the pictures of a year's months and days.
inline const QString kYearAtAGlance = QStringLiteral("YearAtAGlance");
// Not one of the shop's forms: what the books recorded of a day's changes.
inline const QString kHistoryWindow = QStringLiteral("History");
// Not one of the shop's forms: the wages of the daily window's day at once.
inline const QString kDayWages = QStringLiteral("DayWages");

}  // namespace windows
