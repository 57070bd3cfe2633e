// SPDX-License-Identifier: GPL-3.0-or-later
// The books' chores from the login window: a small "Books…" button (and
// Ctrl+B) out of the form's way opens the Books window, which backs up,
// restores a backup with the checks of tallowbrook-db restore, exports for
// the accountant and chooses other books; the login then shows the books
// in use.

#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QThread>

#include "ledger/store/backup.h"
#include "login_fixture.h"
#include "setup/schema_builder.h"
#include "shell/file_choosers.h"
#include "support/dialog_scripts.h"

namespace {

using forms::twipsRect;

class BooksWindow : public LoginTest {
protected:
    void TearDown() override {
        LoginTest::TearDown();
        shell::resetFileChoosers();
    }
    // Opens the Books window from the login and runs `script` on it.
    void withBooks(const std::function<void(QDialog&)>& script) {
        dialogs.expect("Books", script);
        button("books")->click();
        EXPECT_TRUE(dialogs.allRan());
    }
    static void press(QDialog& dialog, const char* name) {
        DialogScripts::button(dialog, name)->click();
    }
    QString backups() const { return db.folder() + "/backups"; }
    double rentOf(const QString& day) const {
        return db
            .scalar("SELECT Rent FROM \"daily settlement of accounts\" WHERE Date='" + day + "'")
            .toDouble();
    }
    DialogScripts dialogs;
};

TEST_F(BooksWindow, TheButtonSitsInACornerTheFormLeavesEmptyAndCtrlBOpensTheWindow) {
    addStaff("Tovena", "breakfast");
    openLogin();
    QPushButton* books = button("books");
    EXPECT_EQ(books->text(), "Books…");
    const QRect place = books->geometry();
    EXPECT_TRUE(login()->rect().contains(place));
    for (QWidget* control : login()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != books && control->isVisible()) {
            EXPECT_FALSE(control->geometry().intersects(place))
                << control->objectName().toStdString();
        }
    }
    // The form's own controls keep their places and sizes.
    EXPECT_EQ(login()->size(), twipsRect(0, 0, 6105, 4365).size());
    EXPECT_EQ(button("Command1")->geometry(), twipsRect(1800, 3240, 1455, 615));

    dialogs.expect("Books", [](QDialog& dialog) { press(dialog, "close"); });
    login()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(login()));
    QTest::keyClick(field("Text1"), Qt::Key_B, Qt::ControlModifier);
    // A shortcut presses its button the way a click shows: a moment later.
    for (int waited = 0; waited < 2000 && !dialogs.allRan(); waited += 20) QTest::qWait(20);
    EXPECT_TRUE(dialogs.allRan());
    // The login is as it was: the same row, the books open again.
    EXPECT_EQ(field("Text3")->text(), "Tovena");
    EXPECT_TRUE(staff().isOpen());
}

TEST_F(BooksWindow, WhereTheBooksAreIsShown) {
    addStaff("Tovena", "breakfast");
    openLogin();
    withBooks([&](QDialog& dialog) {
        const QString where = dialog.findChild<QLabel*>("where")->text();
        EXPECT_TRUE(where.contains(db.path())) << where.toStdString();
        if (!db.onServer()) {
            EXPECT_TRUE(where.contains(backups())) << where.toStdString();
        }
        press(dialog, "close");
    });
}

TEST_F(BooksWindow, RestoreBringsBackTheBackedUpDayAndKeepsTheBooksItReplaces) {
    SKIP_ON_SERVER("backups are of files");
    addStaff("Tovena", "breakfast");
    addDay("2002/2/12", {{"Rent", 111}});
    openLogin();
    withBooks([&](QDialog& dialog) {
        press(dialog, "backUpNow");
        ASSERT_EQ(prompts.toldTexts.size(), 1);
        EXPECT_TRUE(prompts.toldTexts[0].startsWith("Backed up the books to " + backups()))
            << prompts.toldTexts[0].toStdString();
        press(dialog, "close");
    });
    const QStringList made = QDir(backups()).entryList({"breakfast-*.mdb"});
    ASSERT_EQ(made.size(), 1);

    // A day changed and another added after the backup.
    db.exec("UPDATE \"daily settlement of accounts\" SET Rent = 222");
    addDay("2002/2/13", {{"Rent", 5}});
    prompts.told.clear();
    prompts.toldTexts.clear();
    prompts.yesNoAnswers = {true};
    dialogs.expect("RestoreBackup", [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("backupList");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 1);
        EXPECT_TRUE(list->item(0)->text().endsWith("1 day")) << list->item(0)->text().toStdString();
        EXPECT_TRUE(list->item(0)->text().contains(QString::number(QDate::currentDate().year())));
        press(dialog, "restore");
    });
    withBooks([](QDialog& dialog) {
        press(dialog, "restoreBackup");
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.defaultNoAsked.size(), 1u);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].startsWith("Restored the books"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_DOUBLE_EQ(rentOf("2002/2/12"), 111);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM \"daily settlement of accounts\"").toInt(), 1);
    // The books it replaced are a backup of their own, shown in the message.
    QStringList kept = QDir(backups()).entryList({"breakfast-*.mdb"});
    ASSERT_EQ(kept.size(), 2);
    kept.removeAll(made[0]);
    EXPECT_TRUE(prompts.toldTexts[0].contains(kept[0])) << prompts.toldTexts[0].toStdString();

    // The login works on the restored books.
    prompts.told.clear();
    typeAndLogin("breakfast");
    expectAdmitted();
    EXPECT_EQ(WindowTest::field(mainWindow(), "Text1")->text(), "111");
}

// Backups made in one second are told apart by their place in that second
// and by what made them, and the one chosen is the one put back.
TEST_F(BooksWindow, BackupsOfOneSecondReadApartAndTheChosenOneIsRestored) {
    SKIP_ON_SERVER("backups are of files");
    addStaff("Tovena", "breakfast");
    addDay("2002/2/12", {{"Rent", 0}});
    const QDateTime second(QDate(2026, 12, 8), QTime(9, 30, 15));
    using M = ledger::BackupMaker;
    for (const M maker : {M::Start, M::Start, M::BackUpNow, M::Tool, M::BeforeRestore}) {
        db.exec("UPDATE \"daily settlement of accounts\" SET Rent = Rent + 1");
        ledger::backUpDatabase(db.path(), second, maker);
    }
    openLogin();
    prompts.yesNoAnswers = {true};
    dialogs.expect("RestoreBackup", [&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("backupList");
        QStringList labels;
        for (int row = 0; row < list->count(); ++row) labels << list->item(row)->text();
        EXPECT_EQ(labels.size(), 5);
        EXPECT_EQ(labels.removeDuplicates(), 0) << labels.join('\n').toStdString();
        EXPECT_EQ(labels[3], QLocale().toString(second, "d MMMM yyyy, HH:mm:ss") +
                                 " (no. 2 of that second), made at the start \u2014 1 day");
        list->setCurrentRow(3);
        press(dialog, "restore");
    });
    withBooks([](QDialog& dialog) {
        press(dialog, "restoreBackup");
        press(dialog, "close");
    });
    EXPECT_DOUBLE_EQ(rentOf("2002/2/12"), 2) << "the second backup of that second";
}

TEST_F(BooksWindow, RestoreIsRefusedWhileAnotherProgramHasTheBooksOpen) {
    SKIP_ON_SERVER("backups are of files");
    addStaff("Tovena", "breakfast");
    addDay("2002/2/12", {{"Rent", 111}});
    openLogin();
    withBooks([](QDialog& dialog) {
        press(dialog, "backUpNow");
        press(dialog, "close");
    });
    db.exec("UPDATE \"daily settlement of accounts\" SET Rent = 222");

    // Another till holding the file, as a running program does.
    QProcess other;
    other.start("/bin/sh", {"-c", "exec 3<\"$1\"; exec sleep 60", "sh", db.path()});
    ASSERT_TRUE(other.waitForStarted());
    QThread::msleep(300);
    prompts.told.clear();
    prompts.toldTexts.clear();
    prompts.yesNoAnswers = {true};
    dialogs.expect("RestoreBackup", [&](QDialog& dialog) {
        press(dialog, "restore");
        EXPECT_TRUE(dialog.isVisible());
        DialogScripts::button(dialog, "cancel")->click();
    });
    withBooks([](QDialog& dialog) {
        press(dialog, "restoreBackup");
        press(dialog, "close");
    });
    other.kill();
    other.waitForFinished();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("open in a running program"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_DOUBLE_EQ(rentOf("2002/2/12"), 222);
    EXPECT_EQ(QDir(backups()).entryList({"breakfast-*.mdb"}).size(), 1);
}

TEST_F(BooksWindow, WithoutBackupsRestoreSaysSo) {
    SKIP_ON_SERVER("backups are of files");
    addStaff("Tovena", "breakfast");
    openLogin();
    withBooks([](QDialog& dialog) {
        press(dialog, "restoreBackup");
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("no backups")) << prompts.toldTexts[0].toStdString();
}

TEST_F(BooksWindow, OnAServerBackupAndRestoreAreTheServersOwnTools) {
    if (!db.onServer()) GTEST_SKIP() << "books on a server";
    addStaff("Tovena", "breakfast");
    openLogin();
    withBooks([](QDialog& dialog) {
        press(dialog, "backUpNow");
        press(dialog, "restoreBackup");
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    for (const QString& said : prompts.toldTexts)
        EXPECT_TRUE(said.contains("the server's own tools (pg_dump)")) << said.toStdString();
}

TEST_F(BooksWindow, ExportWritesTheFourFilesForTheAccountantAndNeverReplacesOne) {
    addStaff("Tovena", "breakfast");
    addDay("2002/2/12", {{"Rent", 111}});
    addDay("2002/2/13", {{"Rent", 5}});
    QTemporaryDir accountant;
    shell::fileChoosers().exportFolder = [&](QWidget*) { return accountant.path(); };
    openLogin();
    withBooks([](QDialog& dialog) {
        press(dialog, "exportForAccountant");
        press(dialog, "exportForAccountant");
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    const QString day = QDate::currentDate().toString(Qt::ISODate);
    const QString first = prompts.toldTexts[0];
    EXPECT_TRUE(first.contains("Exported 2 days to " + accountant.filePath("days-" + day + ".csv")))
        << first.toStdString();
    EXPECT_TRUE(first.contains("Exported 1 month to")) << first.toStdString();
    EXPECT_TRUE(first.contains("Exported 0 wage rows to")) << first.toStdString();
    EXPECT_TRUE(first.contains("Exported 0 salaries to")) << first.toStdString();
    EXPECT_TRUE(prompts.toldTexts[1].contains(accountant.filePath("days-" + day + "-2.csv")))
        << prompts.toldTexts[1].toStdString();
    QStringList expected;
    for (const char* what : {"days", "months", "wages", "salaries"})
        expected << QString("%1-%2.csv").arg(what, day) << QString("%1-%2-2.csv").arg(what, day);
    expected.sort();
    EXPECT_EQ(QDir(accountant.path()).entryList(QDir::Files, QDir::Name), expected);
    QFile days(accountant.filePath("days-" + day + ".csv"));
    ASSERT_TRUE(days.open(QIODevice::ReadOnly));
    const QByteArray csv = days.readAll();
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << "a byte-order mark, as the tool writes";
    EXPECT_TRUE(csv.contains("2002/2/12")) << csv.toStdString();
}

TEST_F(BooksWindow, AFolderThatCannotTakeTheFilesIsOneMessageAndTheWindowStays) {
    addStaff("Tovena", "breakfast");
    shell::fileChoosers().exportFolder = [&](QWidget*) { return db.folder() + "/nowhere"; };
    openLogin();
    withBooks([&](QDialog& dialog) {
        press(dialog, "exportForAccountant");
        EXPECT_TRUE(dialog.isVisible());
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(db.folder() + "/nowhere is not a folder"))
        << prompts.toldTexts[0].toStdString();
}

TEST_F(BooksWindow, OtherBooksOpenedFromTheLoginShowTheirStaffThere) {
    addStaff("Marlow", "tea");
    QTemporaryDir shop;
    const QString other = shop.filePath("other.mdb");
    setup::writeDatabaseFile(other, true, false);
    shell::fileChoosers().booksFile = [&](QWidget*) { return other; };
    openLogin();
    EXPECT_EQ(field("Text3")->text(), "Marlow");
    withBooks([](QDialog& dialog) {
        press(dialog, "openBooks");
        press(dialog, "close");
    });
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("From now on the program uses the books " + other))
        << prompts.toldTexts[0].toStdString();
    EXPECT_EQ(field("Text3")->text(), "Tovena");
    EXPECT_TRUE(login()->toolTip().contains(other));
    prompts.told.clear();
    typeAndLogin("breakfast");
    expectAdmitted();
}

}  // namespace
