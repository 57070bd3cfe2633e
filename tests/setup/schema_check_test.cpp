// SPDX-License-Identifier: GPL-3.0-or-later
// The one check of the shop's tables and saved queries, on a file and again
// on a server (server:...): each damage below is done to books made afresh,
// and the check must name what it did, line by line. Where the engines
// differ (the row key, how a type is spelt) the table says what each says.

#include <gtest/gtest.h>

#include <optional>

#include "setup/ledger_file_check.h"
#include "setup/postgres/server_setup.h"
#include "support/earlier_books.h"
#include "support/temp_database.h"

namespace schema_check {
namespace {

const QString kStaff = QStringLiteral("Materials forms of staff");

QString lacks(const QString& table, const QString& column) {
    return QStringLiteral("Table \"%1\" lacks the column \"%2\"").arg(table, column);
}

QString totalsLack(const QString& column) {
    return QStringLiteral(
               "Saved query \"daily settlement of accounts -Inquiry\" lacks the column "
               "\"%1\"")
        .arg(column);
}

struct Damage {
    const char* why;
    QStringList onFile;                                      // statements, each run on its own
    QStringList onServer;                                    // empty: the file's
    QStringList problems;                                    // each line begins so, in this order
    int more = 0;                                            // lines said besides those listed
    std::optional<QStringList> onServerSaid = std::nullopt;  // none: the file's lines
    QStringList notes = {};                                  // a file's (a server notes nothing)
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.why; }

class SchemaCheck : public ::testing::TestWithParam<Damage> {
protected:
    TempDatabase db;
};

TEST_P(SchemaCheck, NamesWhatTheDamageDidToTheBooks) {
    const Damage& d = GetParam();
    // What another program could do to the books: a file refuses to drop a
    // column the history's triggers name, so they go first.
    dropHistoryTriggers(db);
    for (const QString& sql : db.onServer() && !d.onServer.isEmpty() ? d.onServer : d.onFile)
        db.exec(sql);
    setup::FileSchemaCheck found;
    if (db.onServer())
        found.problems = setup::checkServerSchema(db.path());
    else
        found = setup::checkFileSchema(db.path());
    const QStringList expected = db.onServer() && d.onServerSaid ? *d.onServerSaid : d.problems;
    const std::string said = found.problems.join('\n').toStdString();
    ASSERT_EQ(found.problems.size(), expected.size() + d.more) << said;
    qsizetype at = 0;
    for (const QString& line : expected) {
        while (at < found.problems.size() && !found.problems[at].startsWith(line)) ++at;
        EXPECT_LT(at, found.problems.size())
            << "not said, or out of order: " << line.toStdString() << "\n"
            << said;
        ++at;
    }
    EXPECT_EQ(found.notes, db.onServer() ? QStringList() : d.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, SchemaCheck,
    ::testing::Values(
        Damage{"complete books", {}, {}, {}},
        Damage{"a dropped column",
               {"ALTER TABLE \"Materials forms of staff\" DROP COLUMN \"Fax\""},
               {},
               {lacks(kStaff, "Fax")}},
        Damage{"a column misspelt by blanks",
               {"ALTER TABLE \"Materials forms of staff\" RENAME COLUMN \"Cell phone\" TO "
                "\"Cellphone\""},
               {},
               {"Table \"Materials forms of staff\": column \"Cellphone\" is misnamed, it must be "
                "\"Cell phone\""}},
        Damage{"a table named with an extra blank",
               {"ALTER TABLE \"Select\" RENAME TO \"Sel ect\""},
               {},
               {"Table \"Sel ect\" is misnamed, it must be \"Select\""}},
        Damage{"names that differ only in case",
               {"ALTER TABLE \"Materials forms of staff\" RENAME TO \"staff_moving\"",
                "ALTER TABLE \"staff_moving\" RENAME TO \"MATERIALS FORMS OF STAFF\"",
                "ALTER TABLE \"MATERIALS FORMS OF STAFF\" RENAME COLUMN \"Name\" TO \"NAME\""},
               {},
               {}},
        Damage{"a dropped saved query",
               {QString::fromUtf8("DROP VIEW \"查詢\"")},
               {},
               {QString::fromUtf8("Missing saved query \"查詢\"")}},
        Damage{"month totals of an older file, spaced the other way and but one",
               {"DROP VIEW \"daily settlement of accounts -Inquiry\"",
                QString::fromUtf8("CREATE VIEW \"daily settlement of accounts -Inquiry\" AS SELECT "
                                  "'1/ 2002' AS \"Date per month\", 1 AS \"Rent之總計\"")},
               {},
               {QString::fromUtf8("Saved query \"daily settlement of accounts -Inquiry\": column "
                                  "\"Rent之總計\" is misnamed, it must be \"Rent 之 總計\""),
                totalsLack(QString::fromUtf8("Partner 之 總計")),
                totalsLack(QString::fromUtf8("Turnover之總計")),
                totalsLack(QString::fromUtf8("Accept cashes in fact之總計"))},
               19},
        Damage{"a dropped table and the saved queries it breaks",
               {"DROP TABLE \"The staff calculate wages\""},
               {"DROP TABLE \"The staff calculate wages\" CASCADE"},
               {"Missing table \"The staff calculate wages\"",
                QString::fromUtf8("Saved query \"查詢\" cannot be read: "),
                "Saved query \"Inquiry detail\" cannot be read: "},
               0,
               // A server drops what depends on a table with it.
               QStringList{"Missing table \"The staff calculate wages\"",
                           QString::fromUtf8("Missing saved query \"查詢\""),
                           "Missing saved query \"Inquiry detail\""}},
        Damage{"choice lists without Yes",
               {"DELETE FROM \"Select\" WHERE \"Absent\" = 'Yes'"},
               {},
               {"\"Select\" has no row with \"Yes\" in the column \"Ask for leave\"",
                "\"Select\" has no row with \"Yes\" in the column \"Absent\""}},
        Damage{"a table replaced by a saved query",
               {"DROP TABLE \"Materials forms of staff\"",
                "CREATE VIEW \"Materials forms of staff\" AS SELECT 'x' AS \"Serial numbers\", "
                "'y' AS \"Name\""},
               {},
               {"\"Materials forms of staff\" is a saved query, but the program stores rows in "
                "it: it must be a table",
                lacks(kStaff, "Password"), lacks(kStaff, "Monthly pay")},
               11},
        Damage{
            "a text column declared as a number",
            {"ALTER TABLE \"Materials forms of staff\" DROP COLUMN \"Fax\"",
             "ALTER TABLE \"Materials forms of staff\" ADD COLUMN \"Fax\" REAL"},
            {},
            {"Table \"Materials forms of staff\": column \"Fax\" holds text and must be declared "
             "TEXT, but it is declared as REAL"},
            0,
            QStringList{"Table \"Materials forms of staff\": column \"Fax\" holds text and must "
                        "be declared TEXT, but it is declared as real"}},
        Damage{"an amount column declared as text",
               {"ALTER TABLE \"Materials forms of staff\" DROP COLUMN \"Salary hour\"",
                "ALTER TABLE \"Materials forms of staff\" ADD COLUMN \"Salary hour\" TEXT"},
               {},
               {"Table \"Materials forms of staff\": column \"Salary hour\" holds amounts and must "
                "be declared REAL, but it is declared as TEXT"},
               0,
               QStringList{"Table \"Materials forms of staff\": column \"Salary hour\" holds "
                           "amounts and must be declared DOUBLE PRECISION, but it is declared as "
                           "text"}},
        // A file's rows have a number of their own; a server's have no key
        // but the row key.
        Damage{"a table without row keys",
               {"PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, '\"Row "
                "key\" INTEGER PRIMARY KEY AUTOINCREMENT, ', '') WHERE name = 'Materials forms of "
                "staff'; PRAGMA writable_schema = OFF"},
               {"ALTER TABLE \"Materials forms of staff\" DROP COLUMN \"Row key\""},
               {},
               0,
               QStringList{"Table \"Materials forms of staff\" lacks the column \"Row key\", the "
                           "key of its rows"},
               {"Note: table \"Materials forms of staff\" has no column \"Row key\", so its rows "
                "have no lasting keys (a file made by an earlier version). The program works "
                "with it as it always did."}}));

}  // namespace
}  // namespace schema_check
