// SPDX-License-Identifier: GPL-3.0-or-later
// A till of the soak (tests/soak.sh): until SECONDS have passed it stores
// new days, wages on the days it stored and removes wages it stored, at
// random, as the daily and wage windows do, and writes each one reported
// done to LOG the moment it is, one line each: "day ID DATE" (a day whose
// Rent is ID), "wage ID DATE" (NAME's wage of ID: one hour at ID) or
// "unwage ID" (after "removing ID", written before a removal is tried).
// IDs are taken a hundred at a time ("ids UPTO"), so a till started again
// after a kill -9 reads LOG and goes on with IDs never used before. A
// failure is counted, its work given up, and the till goes on; at the end
// it prints what it did.
//
// Usage: soak_till BOOKS NAME LOG SECONDS

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <functional>
#include <iostream>
#include <map>

#include "fake_field.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"

namespace {

using ledger::RecordSource;

// The till's windows, opened afresh for each piece of work.
struct Windows {
    explicit Windows(const QString& books) {
        for (RecordSource* source : {&days, &wages}) source->setDatabasePath(books);
        days.setSource(ledger::schema::kLedger);
        wages.setSource(ledger::schema::kWages);
        days.setDistinctColumn("Date");
        days.open();
        wages.open();
    }
    void showDay(const QString& date) {
        if (!ledger::guardedFind(days, QStringLiteral("Date = '%1'").arg(date)))
            throw ledger::LedgerError(ledger::ErrorCode::StoreFailure, "the day is gone");
    }
    RecordSource days{"Days"}, wages{"Wages"};
    FakeField date{days, "Date"}, rent{days, "Rent"};
    FakeField wageDate{wages, "Date"}, name{wages, "Name"}, hours{wages, "Main hour"},
        hourly{wages, "Salary hour"};
};

// Runs a step as the user would: told the server cannot say yet whether
// it stored it, they try again (nothing is stored twice); told it is
// stored although reading it back failed, it is done.
void asTheUserWould(const std::function<void()>& step) {
    for (int tries = 1;; ++tries) {
        try {
            step();
            return;
        } catch (const ledger::LedgerError& e) {
            if (e.message().contains("there is no need to")) return;
            if (e.code() != ledger::ErrorCode::OutcomeUnknown || tries == 50) throw;
        }
        QThread::msleep(200);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::cerr << "usage: soak_till BOOKS NAME LOG SECONDS\n";
        return 2;
    }
    const QString books = argv[1], name = argv[2];
    const qint64 end = QDateTime::currentSecsSinceEpoch() + QByteArray(argv[4]).toLongLong();
    // What this till stored before (a kill -9 ends it any time).
    std::vector<QString> days;
    std::map<int, QString> wages;  // by ID, their day
    int next = 1;
    QFile earlier(argv[3]);
    if (earlier.open(QIODevice::ReadOnly))
        for (const QByteArray& line : earlier.readAll().split('\n')) {
            const QList<QByteArray> word = line.split(' ');
            if (word.size() < 2) continue;
            const int id = word[1].toInt();
            next = std::max(next, id + 1);
            if (word[0] == "day") days.push_back(word[2]);
            if (word[0] == "wage") wages[id] = word[2];
            // A removal tried when the till was stopped may or may not have
            // landed: the wage is left alone.
            if (word[0] == "removing") wages.erase(id);
        }
    const int log = ::open(argv[3], O_WRONLY | O_APPEND | O_CREAT, 0600);
    auto done = [&](const QString& line) {
        const QByteArray text = (line + '\n').toUtf8();
        if (::write(log, text.constData(), text.size()) != text.size()) std::abort();
    };
    QRandomGenerator& random = *QRandomGenerator::global();
    int did = 0, failed = 0, reserved = 0;
    while (QDateTime::currentSecsSinceEpoch() < end) {
        const int id = next++;
        if (id >= reserved) done(QStringLiteral("ids %1").arg(reserved = id + 100));
        const int choice = static_cast<int>(random.bounded(10));
        try {
            Windows till(books);
            if (choice < 4 || days.empty()) {
                // A new day, on one of ten years' days: a date stored
                // already is refused, as the daily window refuses it.
                const QDate day = QDate(2002, 1, 1).addDays(random.bounded(3650));
                const QString date =
                    QStringLiteral("%1/%2/%3").arg(day.year()).arg(day.month()).arg(day.day());
                till.days.addNew();
                till.date.type(date);
                till.rent.type(QString::number(id));
                asTheUserWould([&] { till.days.writeBack(); });
                days.push_back(date);
                done(QStringLiteral("day %1 %2").arg(id).arg(date));
            } else if (choice < 8 || wages.empty()) {
                const QString date = days[random.bounded(static_cast<int>(days.size()))];
                till.showDay(date);
                till.wages.addNew();
                till.wageDate.type(date);
                till.name.type(name);
                till.hourly.type(QString::number(id));
                till.hours.type("1");
                asTheUserWould([&] { ledger::storeWageWithDay(till.wages, till.days, date, id); });
                wages[id] = date;
                done(QStringLiteral("wage %1 %2").arg(id).arg(date));
            } else {
                auto wage = wages.begin();
                std::advance(wage, random.bounded(static_cast<int>(wages.size())));
                till.showDay(wage->second);
                if (!ledger::guardedFind(till.wages,
                                         QStringLiteral("Name = '%1' AND [Salary hour] = '%2'")
                                             .arg(name)
                                             .arg(wage->first)))
                    throw ledger::LedgerError(ledger::ErrorCode::StoreFailure, "no such wage");
                // Tried now: landed or not, the wage is left alone after.
                const int removed = wage->first;
                const QString date = wage->second;
                wages.erase(wage);
                done(QStringLiteral("removing %1").arg(removed));
                asTheUserWould(
                    [&] { ledger::removeWageFromDay(till.wages, till.days, date, removed); });
                done(QStringLiteral("unwage %1").arg(removed));
            }
            ++did;
        } catch (const ledger::LedgerError& e) {
            ++failed;
            if (e.code() != ledger::ErrorCode::AlreadyStored) QThread::msleep(100);
        }
    }
    std::cout << name.toStdString() << ": " << did << " done, " << failed << " failed\n";
    return 0;
}
