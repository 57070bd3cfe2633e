// SPDX-License-Identifier: GPL-3.0-or-later
// Every write of the books on a server with the network failing at each
// message the till sends in turn: the connection closed, or reset, before
// the message reaches the server, or its answer lost once the server has
// it; the network back at once, or down until the write has answered (so
// a commit's fate cannot be asked then). After each the books open, their
// kept month totals equal the days, each day's Personnel rate equals the
// wages stored for it, nothing reported as stored is missing or stored
// twice, and a failure was said in the shop's words, never reported as
// done. Tried again with the network back, the same work is done once.
//
// A network that goes silent is not among the faults: the store sets no
// time limit of its own on an answer, only TCP's (keepalives, a send time
// limit), which a peer that is alive but silent passes, so such a run
// would wait for ever.

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <span>

#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"
#include "ledger/store/postgres/server_connection.h"
#include "ledger/store/store.h"
#include "setup/kept_totals_upkeep.h"
#include "support/server_relay.h"
#include "support/temp_database.h"

namespace {

using ledger::LedgerError;
using ledger::RecordSource;
using Fault = ServerRelay::Fault;

// What a till holds open while a path runs, on the books as the daily and
// wage windows open them.
struct Till {
    explicit Till(const QString& books) {
        for (RecordSource* source : {&days, &wages}) source->setDatabasePath(books);
        days.setSource(ledger::schema::kLedger);
        wages.setSource(ledger::schema::kWages);
        days.setDistinctColumn("Date");  // one sheet per date
        days.open();
        wages.open();
    }
    void showDay(const char* date) {
        ASSERT_TRUE(ledger::guardedFind(days, QStringLiteral("Date like '%1'").arg(date)));
    }
    RecordSource days{"Days"}, wages{"Wages"};
    FakeField date{days, "Date"}, rent{days, "Rent"};
    FakeField wageDate{wages, "Date"}, name{wages, "Name"}, hours{wages, "Main hour"},
        hourly{wages, "Salary hour"};
};

// A write of the program, made ready with the network working and then run
// with it failing; `done` counts, in the books, how often its work is
// there (0 or 1: never twice). A failure said after the work landed says
// so ("... there is no need to save it again").
struct RelayPath {
    const char* name;
    std::function<void(Till&)> prepare;
    std::function<void(Till&)> step;  // throws LedgerError when it fails
    const char* done;
};

void PrintTo(const RelayPath& path, std::ostream* out) { *out << path.name; }

// How the network fails at a message. An answer is lost only where the
// server answers: at the end of a statement's messages (Sync) or a Query.
struct Injection {
    Fault fault;
    bool staysDown;
    const char* what;
};
const Injection kInjections[] = {
    {Fault::Close, false, "closed"},
    {Fault::Reset, true, "reset, the network down until the write answers"},
    {Fault::AnswerLost, false, "answer lost"},
    {Fault::AnswerLost, true, "answer lost, the network down until the write answers"},
};
bool answered(char message) { return message == 'S' || message == 'Q'; }

const RelayPath kPaths[] = {
    {"a day's Save",
     [](Till& t) {
         t.days.addNew();
         t.date.type("2002/2/14");
         t.rent.type("75");
     },
     [](Till& t) { t.days.refresh(); },
     "SELECT count(*) FROM \"daily settlement of accounts\" WHERE Date = '2002/2/14' AND "
     "Rent = 75"},
    {"a wage Save",
     [](Till& t) {
         t.showDay("2002/2/13");
         t.wages.addNew();
         t.wageDate.type("2002/2/13");
         t.name.type("Tovena");
         t.hourly.type("80");
         t.hours.type("8");
     },
     [](Till& t) { ledger::storeWageWithDay(t.wages, t.days, "2002/2/13", 640); },
     "SELECT count(*) FROM \"The staff calculate wages\" WHERE Date = '2002/2/13'"},
    {"a wage Delete", [](Till& t) { t.showDay("2002/2/12"); },
     [](Till& t) { ledger::removeWageFromDay(t.wages, t.days, "2002/2/12", 640); },
     "SELECT 1 - count(*) FROM \"The staff calculate wages\" WHERE Date = '2002/2/12'"},
};

// The step's failure as the user is told it, or nothing when it reported done.
std::optional<LedgerError> failureOf(const RelayPath& path, Till& till) {
    try {
        path.step(till);
        return std::nullopt;
    } catch (const LedgerError& e) {
        EXPECT_FALSE(e.message().isEmpty()) << "an error without words";
        return e;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not said in the shop's words: " << e.what();
        return LedgerError(ledger::ErrorCode::StoreFailure, QString::fromUtf8(e.what()));
    }
}

class ServerFaults : public ::testing::TestWithParam<RelayPath> {
protected:
    void SetUp() override {
        if (!test_server::requested()) GTEST_SKIP() << "runs on the server run (server:...)";
        if (ServerRelay::socketOf(db.path()).isEmpty())
            GTEST_SKIP() << "the relay needs the server's Unix socket";
        books = std::make_unique<ledger::ServerConnection>(db.path());
        relay.emplace(ServerRelay::socketOf(db.path()));
        relay->start();
    }

    // Two days of February 2002, the first with one wage of 640.
    void resetBooks() {
        db.exec(
            "DELETE FROM \"The staff calculate wages\"; DELETE FROM \"daily settlement of "
            "accounts\"; INSERT INTO \"daily settlement of accounts\" (Date, Rent, \"Personnel "
            "rate\") VALUES ('2002/2/12', 100, 640), ('2002/2/13', 50, 0); INSERT INTO \"The "
            "staff calculate wages\" (Date, Name, \"Salary hour\", \"Main hour\") VALUES "
            "('2002/2/12', 'Tovena', 80, 8)");
    }
    int done() const { return db.scalar(GetParam().done).toInt(); }

    // What every run must leave: books that open and agree with themselves.
    void expectSoundBooks() {
        try {
            ledger::openStore({db.path()});
            EXPECT_EQ(setup::upkeepKeptTotals(*books).join('\n').toStdString(), "");
        } catch (const LedgerError& e) {
            ADD_FAILURE() << "the books do not open: " << e.message().toStdString();
        }
        EXPECT_EQ(db.scalar("SELECT count(*) FROM \"daily settlement of accounts\" d WHERE "
                            "COALESCE(d.\"Personnel rate\", 0) <> (SELECT COALESCE(sum(w.\"Salary "
                            "hour\" * w.\"Main hour\"), 0) FROM \"The staff calculate wages\" w "
                            "WHERE w.Date = d.Date)")
                      .toInt(),
                  0)
            << "a day's Personnel rate is not the wages stored for it";
    }

    // One run failing at message `n`; the type of that message, 0 when the
    // path sent fewer.
    char runOnce(int n, const Injection& injection) {
        const RelayPath& path = GetParam();
        SCOPED_TRACE(std::string(path.name) + ", message " + std::to_string(n) + " " +
                     injection.what);
        resetBooks();
        char reached = 0;
        bool told = false;  // that it is done
        {
            Till till(ServerRelay::through(db.path(), relay->port()));
            path.prepare(till);
            if (HasFatalFailure()) return 0;
            relay->failAtMessage(n, injection.fault, injection.staysDown);
            const std::optional<LedgerError> failure = failureOf(path, till);
            const QByteArray seen = relay->messagesSeen();
            relay->failAtMessage(-1, injection.fault);
            relay->allowAgain();
            reached = seen.size() >= n ? seen[n - 1] : 0;
            told = !failure || failure->message().contains("there is no need to");
            if (failure && !reached)
                ADD_FAILURE() << "failed with the network working: "
                              << failure->message().toStdString();
            if (!told) {
                // Not stored, or not known yet: the user saves again, once
                // the network is back, and it is done once.
                EXPECT_TRUE(done() == 0 || failure->code() == ledger::ErrorCode::OutcomeUnknown)
                    << "stored, but said otherwise: " << failure->message().toStdString();
                const std::optional<LedgerError> again = failureOf(path, till);
                EXPECT_FALSE(again) << "tried again: " << again->message().toStdString();
                told = !again;
            }
        }
        EXPECT_LE(done(), 1) << "stored twice";
        if (told) EXPECT_EQ(done(), 1) << "reported as done, not stored";
        expectSoundBooks();
        return reached;
    }

    TempDatabase db;
    std::unique_ptr<ledger::ServerConnection> books;  // past the relay
    std::optional<ServerRelay> relay;
};

TEST_P(ServerFaults, EveryFailingMessageLeavesSoundBooksAndIsSaid) {
    const RelayPath& path = GetParam();
    int points = 0, runs = 0;
    for (int n = 1; !HasFailure() && n < 2000; ++n) {
        const char message = runOnce(n, kInjections[0]);
        if (!message) break;
        ++points, ++runs;
        for (const Injection& injection : std::span(kInjections).subspan(1))
            if (injection.fault != Fault::AnswerLost || answered(message))
                runOnce(n, injection), ++runs;
    }
    EXPECT_GT(points, 0) << "the path sent nothing";
    std::cout << "[ faults  ] " << path.name << ": " << points
              << " injection points (messages to the server), " << runs << " runs" << std::endl;
    RecordProperty("injection_points", points);
}

INSTANTIATE_TEST_SUITE_P(Paths, ServerFaults, ::testing::ValuesIn(kPaths), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

}  // namespace
