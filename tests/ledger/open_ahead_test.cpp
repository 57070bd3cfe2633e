// SPDX-License-Identifier: GPL-3.0-or-later
// The books opened ahead while the first window is built: the first open
// goes on with that very connection, and whatever went wrong is said by
// that open as it would have been.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "ledger/base/ledger_error.h"
#include "ledger/schema/schema.h"
#include "ledger/store/store.h"
#include "support/temp_database.h"

namespace {

// Whether this process holds the file open, as a descriptor shows.
bool heldOpen(const QString& file) {
    const QString wanted = QFileInfo(file).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System))
        if (QFile::symLinkTarget(descriptors.filePath(fd)) == wanted) return true;
    return false;
}

int threads() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

QString messageOfOpening(const QString& file) {
    try {
        ledger::openStore(ledger::Connection{file});
    } catch (const ledger::LedgerError& e) {
        return e.message();
    }
    return QStringLiteral("(opened)");
}

TEST(OpenAhead, TheFirstOpenGoesOnWithTheConnectionMadeAhead) {
    SKIP_ON_SERVER("books opened ahead are files");
    TempDatabase db;
    const int before = threads();
    ledger::openStoreAhead(ledger::Connection{db.path()});
    // The opening thread has ended: the books are open, their tables read.
    for (int i = 0; i < 500 && threads() > before; ++i) QThread::msleep(10);
    ASSERT_TRUE(heldOpen(db.path())) << "the books were never opened ahead";
    // Moved away once the connection is made: only that connection can
    // still read these books under their old name.
    const QString moved = db.path() + QStringLiteral(".moved");
    ASSERT_TRUE(QFile::rename(db.path(), moved));
    const auto store = ledger::openStore(ledger::Connection{db.path()});
    EXPECT_EQ(store->describe(ledger::schema::kLedger).name, ledger::schema::kLedger);
    EXPECT_EQ(ledger::openStore(ledger::Connection{db.path()}), store) << "not shared";
    ASSERT_TRUE(QFile::rename(moved, db.path()));
}

TEST(OpenAhead, WhatWentWrongIsSaidByTheOpenThatNeedsTheBooks) {
    SKIP_ON_SERVER("books opened ahead are files");
    TempDatabase db;
    const QString missing = db.folder() + QStringLiteral("/missing.mdb");
    const QString notBooks = db.folder() + QStringLiteral("/notes.mdb");
    QFile notes(notBooks);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("these are the shop's notes, not its books\n");
    notes.close();
    for (const QString& file : {missing, notBooks}) {
        const QString plain = messageOfOpening(file);
        ledger::openStoreAhead(ledger::Connection{file});
        EXPECT_EQ(messageOfOpening(file), plain) << file.toStdString();
        EXPECT_NE(plain, "(opened)");
    }
}

TEST(OpenAhead, BooksOpenedAheadForAnotherFileAreLetGo) {
    SKIP_ON_SERVER("books opened ahead are files");
    TempDatabase first, second;
    ledger::openStoreAhead(ledger::Connection{first.path()});
    const auto store = ledger::openStore(ledger::Connection{second.path()});
    EXPECT_EQ(QFileInfo(store->path()).canonicalFilePath(),
              QFileInfo(second.path()).canonicalFilePath());
    EXPECT_FALSE(heldOpen(first.path()));
    const auto again = ledger::openStore(ledger::Connection{first.path()});
    EXPECT_EQ(QFileInfo(again->path()).canonicalFilePath(),
              QFileInfo(first.path()).canonicalFilePath());
}

}  // namespace
