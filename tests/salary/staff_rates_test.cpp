// SPDX-License-Identifier: GPL-3.0-or-later
// The register's rates as the salary export finds them for a month row's
// name: the whole name, without regard to case, the first member of a name.

#include "salary/rules/staff_rates.h"

#include <gtest/gtest.h>

#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "support/temp_database.h"

namespace {

namespace schema = ledger::schema;

TEST(StaffRegisterRates, FindsTheWholeNameIgnoringCaseAndTheFirstOfTwo) {
    TempDatabase db;
    // Each member's salary hour tells which row was found.
    const std::vector<std::pair<QVariant, double>> staff = {
        {QStringLiteral("Ana"), 1},
        {QStringLiteral("ANA"), 2},  // the same name: never found
        {QStringLiteral("Chen Ya-ting"), 3},
        {QStringLiteral("O'Brien"), 4},
        {QStringLiteral("A*"), 5},
        {QStringLiteral("J\u00f6rg"), 6},  // ö composed
        {QStringLiteral("[x]"), 7},
        {QString(""), 8},
        {QVariant(), 9},  // no name at all
        {QStringLiteral("\u03a3\u03bf\u03c6\u03af\u03b1"), 10},
        {QStringLiteral("Bo "), 11},
        {QStringLiteral("Eve"), 12},
    };
    for (const auto& [name, rate] : staff)
        db.insert(schema::kStaff, {"Name", "Salary hour", "Overtime salary hour"},
                  {name, rate, rate * 10});
    auto store = ledger::openStore({db.path()});
    const salary::StaffRegisterRates rates = salary::StaffRegisterRates::read(*store);

    const struct {
        const char16_t* name;
        double found;  // 0: nobody
    } cases[] = {
        {u"Ana", 1},     {u"ana", 1},
        {u"ANA", 1},     {u"An", 0},
        {u"Ana ", 0},    {u"chen ya-ting", 3},
        {u"O'Brien", 4}, {u"o'brien", 4},
        {u"A*", 5},      {u"Ab", 0},          // a star is a letter here, not a pattern
        {u"A?", 0},      {u"JO\u0308RG", 6},  // decomposed Ö, in capitals
        {u"[x]", 7},     {u"x", 0},
        {u"", 8},        {u"\u03c3\u03bf\u03c6\u03af\u03b1", 10},
        {u"Bo", 0},      {u"BO ", 11},
        {u"Eve", 12},    {u"Huang Kuo-wei", 0},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        const salary::StaffRates* member = rates.find(name);
        if (c.found == 0) {
            EXPECT_EQ(member, nullptr) << name.toStdString();
            continue;
        }
        ASSERT_NE(member, nullptr) << name.toStdString();
        EXPECT_EQ(member->salaryHour, QString::number(c.found)) << name.toStdString();
        EXPECT_EQ(member->overtimeRate, QString::number(c.found * 10)) << name.toStdString();
    }
}

}  // namespace
