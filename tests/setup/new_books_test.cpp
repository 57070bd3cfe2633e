// SPDX-License-Identifier: GPL-3.0-or-later
// A shop's first books made from the program: the file appears with its
// first member of staff or not at all, and books already there are never
// replaced.

#include "setup/new_books.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "setup/schema_builder.h"
#include "setup/staff_member.h"

namespace {

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

std::vector<std::vector<QVariant>> staffOf(const QString& books) {
    std::vector<std::vector<QVariant>> rows;
    ledger::openStore({books})->scan(ledger::schema::kStaff, {"Name", "Password"},
                                     [&](ledger::Store::RowKey, const auto& values) {
                                         rows.push_back(values);
                                         return true;
                                     });
    return rows;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(NewBooks, TheFirstBooksAppearWithTheirFirstMemberOfStaffForTheOwnerAlone) {
    QTemporaryDir home;
    const QString folder = home.filePath("share/tallowbrook");
    const setup::NewBooks books = setup::createShopBooks(folder, "Chen Ya-ting", "s3cret pass");
    EXPECT_TRUE(books.created);
    EXPECT_TRUE(books.memberAdded);
    EXPECT_EQ(books.path, folder + "/breakfast.mdb");
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(books.path), 0600u);
    const auto staff = staffOf(books.path);
    ASSERT_EQ(staff.size(), 1u);
    EXPECT_EQ(staff[0][0].toString(), "Chen Ya-ting");
    // Nothing else was left in the folder: no temporary file, no journal.
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"breakfast.mdb"});
}

TEST(NewBooks, BooksAlreadyThereAreKeptAndGainAMemberOnlyWhenNobodyIsInThem) {
    QTemporaryDir folder;
    const QString path = folder.filePath("breakfast.mdb");
    setup::writeDatabaseFile(path, true, false);
    const QByteArray before = bytesOf(path);
    const setup::NewBooks kept = setup::createShopBooks(folder.path(), "Intruder", "x");
    EXPECT_FALSE(kept.created);
    EXPECT_FALSE(kept.memberAdded);
    EXPECT_EQ(bytesOf(path), before);

    QFile::remove(path);
    setup::writeDatabaseFile(path, false, false);
    const setup::NewBooks empty = setup::createShopBooks(folder.path(), "Lin", "pw");
    EXPECT_FALSE(empty.created);
    EXPECT_TRUE(empty.memberAdded);
    ASSERT_EQ(staffOf(path).size(), 1u);
    EXPECT_EQ(staffOf(path)[0][0].toString(), "Lin");
}

TEST(NewBooks, AnEmptyNameMakesNothing) {
    QTemporaryDir home;
    const QString folder = home.filePath("tallowbrook");
    for (const char* name : {"", "   "}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(setup::createShopBooks(folder, name, "pw"), ledger::LedgerError);
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
}

TEST(NewBooks, WhatFailsBeforeTheNewFileIsNamedLeavesNoFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath("breakfast.mdb");
    EXPECT_THROW(setup::writeDatabaseFile(path, false, false,
                                          [](const QString& newFile) {
                                              setup::addStaffMember(newFile, "Lin", "pw");
                                              throw std::runtime_error("stopped");
                                          }),
                 std::runtime_error);
    EXPECT_TRUE(QDir(folder.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST(StaffMember, TheRegisterSaysWhetherAnybodyIsInIt) {
    QTemporaryDir folder;
    const QString path = folder.filePath("breakfast.mdb");
    setup::writeDatabaseFile(path, false, false);
    EXPECT_TRUE(setup::staffRegisterIsEmpty(path));
    EXPECT_THROW(setup::addStaffMember(path, " ", "pw"), ledger::LedgerError);
    EXPECT_TRUE(setup::staffRegisterIsEmpty(path));
    setup::addStaffMember(path, "Lin", "");
    EXPECT_FALSE(setup::staffRegisterIsEmpty(path));
}

}  // namespace
