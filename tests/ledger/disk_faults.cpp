// SPDX-License-Identifier: GPL-3.0-or-later
// Every write of the books with the disk failing at each of its calls in
// turn (an input/output error, a full disk, the program dying there): after
// each the books open, are undamaged, their kept month totals equal the
// days, their wage rows equal what the days were given, nothing reported as
// stored is missing, and a failure was said, never reported as done. Tried
// again once the disk works, the same work is done once.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <iostream>
#include <optional>

#include "accountant/exports.h"
#include "charts/figures/books_at_a_glance.h"
#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "ledger/store/backup.h"
#include "ledger/store/source_info.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/startup_backup.h"
#include "ledger/store/store.h"
#include "setup/kept_totals_upkeep.h"
#include "setup/ledger_file_check.h"
#include "setup/postgres/ledger_copy.h"
#include "setup/restore.h"
#include "setup/schema_builder.h"
#include "support/faulty_disk.h"
#include "support/server_database.h"

namespace {

using faulty_disk::Failure;
using ledger::RecordSource;
namespace schema = ledger::schema;
using Sql = ledger::statements::Connection;

const QDateTime kWhen(QDate(2026, 12, 8), QTime(9, 30, 15));

QVariant scalar(const QString& path, const QString& sql) {
    Sql db(path);
    ledger::statements::Statement read(db.handle(), sql, QStringLiteral("Test query"));
    return read.step() ? read.value(0) : QVariant();
}

void run(const QString& path, const QString& sql) {
    Sql db(path);
    ledger::statements::run(db.handle(), sql, QStringLiteral("Test statement"));
}

// What the program holds open while a path runs: dropped, unwritten, when
// it "dies".
struct Program {
    explicit Program(const QString& books) {
        for (RecordSource* source : {&days, &wages}) source->setDatabasePath(books);
        days.setSource(schema::kLedger);
        wages.setSource(schema::kWages);
    }
    RecordSource days{"Days"}, wages{"Wages"};
    FakeField date{days, "Date"}, rent{days, "Rent"}, rate{days, "Personnel rate"};
    FakeField wageDate{wages, "Date"}, name{wages, "Name"}, hours{wages, "Main hour"},
        hourly{wages, "Salary hour"};
    std::shared_ptr<ledger::Store> store;
};

// One run of a path on books of its own.
struct BooksRun {
    QTemporaryDir dir;
    QString books = dir.filePath(QStringLiteral("breakfast.mdb"));
    QString output = dir.filePath(QStringLiteral("out"));
    QString backup;  // the backup a restore puts back
    std::optional<Program> program;
};

// A path of the program that writes (or reads to write elsewhere): made
// ready with the disk working, its step run with the disk failing, and
// what a step reported done stored (looked at on the books opened again).
struct FaultPath {
    const char* name;
    std::function<void(BooksRun&)> prepare;
    // Empty when the step reports done; what it said otherwise (a
    // LedgerError's message counts as said).
    std::function<QString(BooksRun&)> step;
    std::function<void(BooksRun&)> expectDone;
    // What a failed step must leave (besides sound books); may be empty.
    std::function<void(BooksRun&)> expectNotDone = {};
    // Whether the new row is in the books: a failure said after it landed
    // must say so. Empty where a step stores no new row.
    std::function<bool(BooksRun&)> landed = {};
};

void PrintTo(const FaultPath& path, std::ostream* out) { *out << path.name; }

int count(const QString& books, const QString& where) {
    return scalar(books, QStringLiteral("SELECT count(*) FROM ") + where).toInt();
}

void openDaysOn(Program& p, const char* day) {
    p.days.open();
    ASSERT_TRUE(ledger::guardedFind(p.days, QStringLiteral("Date like '%1'").arg(day)));
}

const std::vector<FaultPath>& paths() {
    static const std::vector<FaultPath> all = {
        {"a day's Save",
         [](BooksRun& r) {
             r.program->days.open();
             r.program->days.addNew();
             r.program->date.type("2002/2/14");
             r.program->rent.type("75");
         },
         [](BooksRun& r) {
             r.program->days.refresh();
             return QString();
         },
         [](BooksRun& r) {
             EXPECT_EQ(count(r.books,
                             "\"daily settlement of accounts\" WHERE Date = '2002/2/14' "
                             "AND Rent = 75"),
                       1);
         },
         {},
         [](BooksRun& r) {
             return count(r.books, "\"daily settlement of accounts\" WHERE Date = '2002/2/14'") ==
                    1;
         }},
        {"a wage Save",
         [](BooksRun& r) {
             openDaysOn(*r.program, "2002/2/13");
             r.program->wages.open();
             r.program->wages.addNew();
             r.program->wageDate.type("2002/2/13");
             r.program->name.type("Tovena");
             r.program->hourly.type("80");
             r.program->hours.type("8");
         },
         [](BooksRun& r) {
             ledger::storeWageWithDay(r.program->wages, r.program->days, "2002/2/13", 640);
             return QString();
         },
         [](BooksRun& r) {
             EXPECT_EQ(count(r.books, "\"The staff calculate wages\" WHERE Date = '2002/2/13'"), 1);
             EXPECT_EQ(scalar(r.books,
                              "SELECT \"Personnel rate\" FROM \"daily settlement of "
                              "accounts\" WHERE Date = '2002/2/13'"),
                       QVariant(640.0));
         },
         {},
         [](BooksRun& r) {
             return count(r.books, "\"The staff calculate wages\" WHERE Date = '2002/2/13'") == 1;
         }},
        {"a wage Delete",
         [](BooksRun& r) {
             openDaysOn(*r.program, "2002/2/12");
             r.program->wages.open();
             ASSERT_EQ(r.program->name.text, "Tovena");
         },
         [](BooksRun& r) {
             ledger::removeWageFromDay(r.program->wages, r.program->days, "2002/2/12", 640);
             return QString();
         },
         [](BooksRun& r) {
             EXPECT_EQ(count(r.books, "\"The staff calculate wages\""), 0);
             EXPECT_EQ(scalar(r.books,
                              "SELECT \"Personnel rate\" FROM \"daily settlement of "
                              "accounts\" WHERE Date = '2002/2/12'"),
                       QVariant(0.0));
         }},
        {"the start-up backup", [](BooksRun&) {},
         [](BooksRun& r) {
             QString failure;
             ledger::StartupBackup backup(r.books, kWhen,
                                          [&](const QString& said) { failure = said; });
             backup.wait();
             return failure;
         },
         [](BooksRun& r) {
             const QStringList made = ledger::backupsOf(r.books);
             ASSERT_EQ(made.size(), 1);
             EXPECT_EQ(ledger::contentDigest(made[0]), ledger::contentDigest(r.books));
         }},
        {"Back up now", [](BooksRun&) {},
         [](BooksRun& r) {
             ledger::backUpDatabase(r.books, kWhen, ledger::BackupMaker::BackUpNow);
             return QString();
         },
         [](BooksRun& r) {
             const QStringList made = ledger::backupsOf(r.books);
             ASSERT_EQ(made.size(), 1);
             EXPECT_EQ(ledger::contentDigest(made[0]), ledger::contentDigest(r.books));
         }},
        {"restore",
         [](BooksRun& r) {
             r.backup =
                 ledger::backUpDatabase(r.books, kWhen.addDays(-1), ledger::BackupMaker::BackUpNow);
             run(r.books,
                 "INSERT INTO \"daily settlement of accounts\" (Date, Rent) VALUES "
                 "('2002/2/20', 5)");
         },
         [](BooksRun& r) {
             setup::restoreBackup(r.backup, r.books);
             return QString();
         },
         [](BooksRun& r) {
             EXPECT_EQ(ledger::contentDigest(r.books), ledger::contentDigest(r.backup));
         }},
        {"export", [](BooksRun& r) { r.program->store = ledger::openStore({r.books}); },
         [](BooksRun& r) {
             accountant::ExportCounts counts;
             return accountant::writeExportFile(r.output, *accountant::findExportKind("days"),
                                                *r.program->store, {}, counts);
         },
         [](BooksRun& r) {
             QFile out(r.output);
             ASSERT_TRUE(out.open(QIODevice::ReadOnly));
             EXPECT_EQ(out.readAll().count('\n'), 3) << "a header and two days";
         },
         [](BooksRun& r) { EXPECT_FALSE(QFile::exists(r.output)) << "a half export left"; }},
        {"copy file to file", [](BooksRun&) {},
         [](BooksRun& r) {
             setup::copyLedger(r.books, r.output, false);
             return QString();
         },
         [](BooksRun& r) {
             EXPECT_EQ(setup::ledgerFileProblems(r.output).join('\n').toStdString(), "");
             EXPECT_EQ(setup::dayCountOf(r.output), 2);
             EXPECT_EQ(count(r.output, "\"The staff calculate wages\""), 1);
         },
         [](BooksRun& r) {
             if (QFile::exists(r.output)) {
                 EXPECT_EQ(setup::ledgerFileProblems(r.output).join('\n').toStdString(), "")
                     << "a half copy left";
             }
         }},
        {"check keeping the totals",
         [](BooksRun& r) {
             Sql file(r.books);
             setup::dropKeptTotals(file);
         },
         [](BooksRun& r) {
             setup::upkeepKeptTotalsAt(r.books);
             return QString();
         },
         [](BooksRun& r) {
             for (const schema::KeptTotals& kept : schema::keptTotals())
                 EXPECT_EQ(count(r.books, "sqlite_schema WHERE name = '" + kept.table + "'"), 1)
                     << kept.table.toStdString();
         }},
    };
    return all;
}

// Whether the kept rows are the saved query's rows, where they are kept
// (books of an earlier version keep none, and work all the same).
void expectKeptTotalsEqualTheRows(sqlite3* db) {
    auto count = [db](const QString& sql) {
        ledger::statements::Statement read(db, "SELECT count(*) FROM " + sql, "Test query");
        read.step();
        return read.value(0).toInt();
    };
    for (const schema::KeptTotals& kept : schema::keptTotals()) {
        if (count("sqlite_schema WHERE name = '" + kept.table + "'") == 0) continue;
        QStringList columns;
        for (const QString& c : kept.queryColumns) columns << ledger::quoteName(c);
        const QString list = columns.join(", ");
        const QString view = ledger::quoteName(kept.savedQuery),
                      table = ledger::quoteName(kept.table);
        for (const auto& [a, b] : {std::pair{view, table}, std::pair{table, view}}) {
            EXPECT_EQ(
                count(
                    QStringLiteral("(SELECT %1 FROM %2 EXCEPT SELECT %1 FROM %3)").arg(list, a, b)),
                0)
                << kept.table.toStdString() << " against " << kept.savedQuery.toStdString();
        }
        EXPECT_EQ(count(view), count(table)) << kept.table.toStdString();
    }
}

// What every run must leave: books that open, sound, agreeing with
// themselves.
void expectSoundBooks(const QString& books) {
    try {
        // Opened as the program opens them: what a crash left half done is
        // undone first.
        const auto store = ledger::openStore({books});
        Sql db(books);
        ledger::statements::Statement check(db.handle(), "PRAGMA integrity_check", "Test query");
        EXPECT_TRUE(check.step() && check.value(0).toString() == "ok");
        expectKeptTotalsEqualTheRows(db.handle());
        for (const charts::MonthWages& month : charts::BooksAtAGlance::read(*store).wagesOf(2002))
            EXPECT_FALSE(month.check.differs()) << month.check.why().toStdString();
    } catch (const ledger::LedgerError& e) {
        ADD_FAILURE() << "the books do not open: " << e.message().toStdString();
    }
}

const char* failureName(Failure failure) {
    switch (failure) {
        case Failure::IoError:
            return "an I/O error";
        case Failure::DiskFull:
            return "a full disk";
        case Failure::Crash:
            return "a crash";
    }
    return "";
}

// The step, with what it said: empty when it reported done.
QString stepSaid(const FaultPath& path, BooksRun& r) {
    try {
        const QString said = path.step(r);
        return said;
    } catch (const ledger::LedgerError& e) {
        return e.message().isEmpty() ? QStringLiteral("(an error without words)") : e.message();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not said in the shop's words: " << e.what();
        return QString::fromUtf8(e.what());
    }
}

// A check that cannot even read the books fails the run, not the program.
void expectThat(const std::function<void(BooksRun&)>& check, BooksRun& r) {
    try {
        check(r);
    } catch (const ledger::LedgerError& e) {
        ADD_FAILURE() << e.message().toStdString();
    }
}

class DiskFaults : public ::testing::TestWithParam<FaultPath> {
protected:
    static void SetUpTestSuite() {
        faulty_disk::install();
        templateDir_ = new QTemporaryDir;
        const QString books = templateBooks();
        setup::writeDatabaseFile(books, false, false);
        // Two days of February 2002, the first with one wage of 640.
        run(books,
            "INSERT INTO \"daily settlement of accounts\" (Date, Rent, \"Personnel rate\") VALUES "
            "('2002/2/12', 100, 640), ('2002/2/13', 50, 0);"
            "INSERT INTO \"The staff calculate wages\" (Date, Name, \"Salary hour\", "
            "\"Main hour\") VALUES ('2002/2/12', 'Tovena', 80, 8)");
    }
    static void TearDownTestSuite() {
        delete templateDir_;
        templateDir_ = nullptr;
    }
    static QString templateBooks() { return templateDir_->filePath("template.mdb"); }

    // The calls the path makes with the disk working.
    int countCalls() {
        BooksRun r;
        EXPECT_TRUE(QFile::copy(templateBooks(), r.books));
        r.program.emplace(r.books);
        GetParam().prepare(r);
        faulty_disk::count();
        EXPECT_EQ(stepSaid(GetParam(), r), "");
        const int calls = faulty_disk::calls();
        faulty_disk::disarm();
        return calls;
    }

    // One run failing at call `n`; whether call `n` was reached, and what it was.
    std::pair<bool, QString> runOnce(int n, Failure failure) {
        const FaultPath& path = GetParam();
        const std::string where = std::string(path.name) + ", call " + std::to_string(n) +
                                  " failing with " + failureName(failure);
        SCOPED_TRACE(where);
        BooksRun r;
        EXPECT_TRUE(QFile::copy(templateBooks(), r.books));
        r.program.emplace(r.books);
        path.prepare(r);
        if (::testing::Test::HasFatalFailure()) return {false, {}};

        faulty_disk::failAt(n, failure);
        QString said = stepSaid(path, r);
        const bool reached = faulty_disk::reached();
        const QString call = faulty_disk::reachedCall();
        if (failure == Failure::Crash) r.program.reset();  // it died: nothing more is written
        faulty_disk::disarm();
        if (!reached) {
            EXPECT_EQ(said, "") << "failed with the disk working";
        }

        if (!said.isEmpty() && failure != Failure::Crash && path.landed && path.landed(r)) {
            EXPECT_TRUE(said.contains("is stored"))
                << call.toStdString() << ": " << said.toStdString();
        }
        if (!said.isEmpty() && failure != Failure::Crash) {
            // Told, the user tries again once the disk works, in the same
            // window: done, once. (What had landed before the failure may
            // be said to be done already, or gone.)
            if (path.expectNotDone) expectThat(path.expectNotDone, r);
            stepSaid(path, r);
        }
        // The books opened as the program opens them: what a crash or a
        // failed commit left half done is undone before anything reads them.
        r.program.reset();
        try {
            ledger::openStore({r.books});
        } catch (const ledger::LedgerError& e) {
            ADD_FAILURE() << "the books do not open: " << e.message().toStdString();
        }
        if (said.isEmpty() || failure != Failure::Crash)
            expectThat(path.expectDone, r);
        else if (path.expectNotDone)
            expectThat(path.expectNotDone, r);
        expectSoundBooks(r.books);
        return {reached, call};
    }

    static QTemporaryDir* templateDir_;
};

QTemporaryDir* DiskFaults::templateDir_ = nullptr;

// How many of a path's calls a run tries in turn; beyond that every so
// many, so the whole table stays within a minute. TALLOWBROOK_EVERY_FAULT=1
// tries every one.
constexpr int kCallsTried = 40;

TEST_P(DiskFaults, EveryFailingCallLeavesSoundBooksAndIsSaid) {
    if (test_server::requested()) GTEST_SKIP() << "a file's disk";
    const int calls = countCalls();
    const int stride = qEnvironmentVariableIntValue("TALLOWBROOK_EVERY_FAULT") == 1
                           ? 1
                           : std::max(1, calls / kCallsTried);
    int points = 0, full = 0;
    for (int n = 1;; n += stride) {
        const auto [reached, call] = runOnce(n, Failure::IoError);
        if (!reached) break;
        ++points;
        runOnce(n, Failure::Crash);
        if (call == "write" || call == "truncate") {
            ++full;
            runOnce(n, Failure::DiskFull);
        }
        if (::testing::Test::HasFailure() || n > 5000) break;
    }
    EXPECT_GT(points, 0) << "the path never touched the disk";
    std::cout << "[ faults  ] " << GetParam().name << ": " << calls << " injection points, "
              << points << " tried (each an I/O error and a crash; " << full
              << " of them a full disk too)" << std::endl;
    RecordProperty("injection_points", points);
}

INSTANTIATE_TEST_SUITE_P(Paths, DiskFaults, ::testing::ValuesIn(paths()), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

}  // namespace
