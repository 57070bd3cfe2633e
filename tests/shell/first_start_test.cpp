// SPDX-License-Identifier: GPL-3.0-or-later
// The first start of an installed program on a machine without books: the
// small window before the login creates them in the user's data folder,
// opens existing ones or connects to a server, and the next start goes
// straight to the login with the same books.

#include <sys/stat.h>

#include <QFileInfo>

#include "first_start_fixture.h"
#include "setup/schema_builder.h"
#include "shell/first_start_dialog.h"

namespace {

unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST_F(FirstStartTest, CreatedBooksAreUsedForTheDayAndOpenAgainWithoutTheWindow) {
    SKIP_ON_SERVER("books made as a file in the user's data folder");
    ASSERT_FALSE(ledger::booksFound());
    dialogs.expect("FirstStart", [](QDialog& dialog) {
        typeStaff(dialog, "Chen Ya-ting", "s3cret pass", "s3cret pass");
        DialogScripts::button(dialog, "createBooks")->click();
    });
    ASSERT_TRUE(shell::firstStart());
    EXPECT_TRUE(dialogs.allRan());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_EQ(ledger::databasePath(), books());
    EXPECT_EQ(modeOf(data()), 0700u);
    EXPECT_EQ(modeOf(books()), 0600u);

    // Log in, begin a day, type its date and rent, save, and leave.
    openLogin();
    EXPECT_EQ(field(find("Form10"), "Text3")->text(), "Chen Ya-ting");
    logIn("s3cret pass");
    forms::FormWindow* day = find("Form1");
    ASSERT_NE(day, nullptr);
    prompts.yesNoAnswers = {true};
    button(day, "Command4")->click();
    QTest::keyClicks(field(day, "Text2"), "2026/12/8");
    QTest::keyClicks(field(day, "Text1"), "1234.5");
    button(day, "Command5")->click();
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    closeWindows();

    // The next start: the books are found, so no window comes before the
    // login, which opens them with the day saved.
    EXPECT_TRUE(ledger::booksFound());
    EXPECT_EQ(ledger::databasePath(), books());
    openLogin();
    EXPECT_EQ(field(find("Form10"), "Text3")->text(), "Chen Ya-ting");
    logIn("s3cret pass");
    ASSERT_NE(find("Form1"), nullptr);
    EXPECT_EQ(field(find("Form1"), "Text2")->text(), "2026/12/8");
    EXPECT_EQ(field(find("Form1"), "Text1")->text(), "1234.5");
    EXPECT_FALSE(QFileInfo::exists(program.filePath("breakfast.mdb")));
}

struct Typed {
    const char* name;
    const char* password;
    const char* again;
    const char* told;  // nullptr: a question about the empty password, answered No
};

TEST_F(FirstStartTest, WhatCannotBeUsedIsSaidAndTheWindowStays) {
    SKIP_ON_SERVER("books made as a file in the user's data folder");
    const Typed cases[] = {
        {"", "pw", "pw", "Type the name of the first member of staff"},
        {"   ", "pw", "pw", "Type the name of the first member of staff"},
        {"Lin", "pw", "pW", "The two passwords differ"},
        {"Lin", "pw", "", "The two passwords differ"},
        {"Lin", "", "", nullptr},
    };
    dialogs.expect("FirstStart", [&](QDialog& dialog) {
        for (const Typed& c : cases) {
            SCOPED_TRACE(c.name + std::string("/") + c.password + "/" + c.again);
            prompts.told.clear();
            prompts.toldTexts.clear();
            prompts.yesNoAsked.clear();
            prompts.yesNoAnswers = {false};
            typeStaff(dialog, c.name, c.password, c.again);
            DialogScripts::button(dialog, "createBooks")->click();
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_FALSE(QFileInfo::exists(data()));
            if (c.told) {
                ASSERT_EQ(prompts.toldTexts.size(), 1);
                EXPECT_TRUE(prompts.toldTexts[0].contains(c.told))
                    << prompts.toldTexts[0].toStdString();
            } else {
                ASSERT_EQ(prompts.yesNoAsked.size(), 1u);
                EXPECT_TRUE(prompts.yesNoAsked[0].message.contains("anyone at this computer"));
            }
        }
        // Without a password when the user says so.
        prompts.yesNoAnswers = {true};
        typeStaff(dialog, "Lin", "", "");
        DialogScripts::button(dialog, "createBooks")->click();
    });
    ASSERT_TRUE(shell::firstStart());
    EXPECT_TRUE(QFileInfo::exists(books()));
    openLogin();
    logIn("");
    EXPECT_NE(find("Form1"), nullptr);
}

TEST_F(FirstStartTest, QuitMakesNothingAndSaysWhereAndHowToMakeTheBooks) {
    SKIP_ON_SERVER("books looked for as a file");
    dialogs.expect("FirstStart",
                   [](QDialog& dialog) { DialogScripts::button(dialog, "quit")->click(); });
    EXPECT_FALSE(shell::firstStart());
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    const QString said = prompts.toldTexts[0];
    EXPECT_TRUE(said.contains(books()) && said.contains("tallowbrook-db create"))
        << said.toStdString();
    EXPECT_FALSE(QFileInfo::exists(data()));
    EXPECT_TRUE(QDir(program.path()).isEmpty());
}

TEST_F(FirstStartTest, OpenExistingIsRememberedAndTheNextStartUsesIt) {
    SKIP_ON_SERVER("books kept as a file");
    QTemporaryDir shop;
    const QString existing = shop.filePath("shop books.mdb");
    setup::writeDatabaseFile(existing, true, false);
    shell::fileChoosers().booksFile = [&](QWidget*) { return existing; };
    dialogs.expect("FirstStart",
                   [](QDialog& dialog) { DialogScripts::button(dialog, "openBooks")->click(); });
    ASSERT_TRUE(shell::firstStart());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();

    // The choice is in the data folder's settings, for the owner alone; the
    // books themselves stay where they are.
    EXPECT_EQ(ledger::settingsPath(), data() + "/tallowbrook.ini");
    EXPECT_EQ(modeOf(ledger::settingsPath()), 0600u);
    EXPECT_FALSE(QFileInfo::exists(books()));
    EXPECT_TRUE(ledger::booksFound());
    EXPECT_EQ(ledger::databasePath(), existing);
    openLogin();
    EXPECT_EQ(field(find("Form10"), "Text3")->text(), "Tovena");
    logIn("breakfast");
    EXPECT_NE(find("Form1"), nullptr);
}

TEST_F(FirstStartTest, AFileThatIsNotBooksIsRefusedAndNothingIsRemembered) {
    SKIP_ON_SERVER("books kept as a file");
    QTemporaryDir shop;
    const QString notes = shop.filePath("notes.mdb");
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    shell::fileChoosers().booksFile = [&](QWidget*) { return notes; };
    dialogs.expect("FirstStart", [&](QDialog& dialog) {
        DialogScripts::button(dialog, "openBooks")->click();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(prompts.toldTexts.size(), 1);
        EXPECT_TRUE(prompts.toldTexts[0].contains("is not books the program can open"))
            << prompts.toldTexts[0].toStdString();
        EXPECT_TRUE(prompts.toldTexts[0].contains(notes));
        DialogScripts::button(dialog, "quit")->click();
    });
    EXPECT_FALSE(shell::firstStart());
    EXPECT_FALSE(QFileInfo::exists(data()));
    EXPECT_FALSE(ledger::booksFound());
}

TEST_F(FirstStartTest, CancellingTheFileChooserLeavesTheWindowAsItWas) {
    SKIP_ON_SERVER("books kept as a file");
    shell::fileChoosers().booksFile = [](QWidget*) { return QString(); };
    dialogs.expect("FirstStart", [&](QDialog& dialog) {
        DialogScripts::button(dialog, "openBooks")->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(prompts.told.isEmpty());
        DialogScripts::button(dialog, "quit")->click();
    });
    EXPECT_FALSE(shell::firstStart());
    EXPECT_FALSE(QFileInfo::exists(data()));
}

}  // namespace
