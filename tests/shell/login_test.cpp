// SPDX-License-Identifier: GPL-3.0-or-later
// Logging in: the staff row shown, the password typed, the exact comparison,
// and what the login window does when the register cannot be read.

#include <QFile>
#include <QTimer>

#include "login_fixture.h"
#include "support/dialog_scripts.h"

namespace {

TEST_F(LoginTest, TheRightPasswordOpensTheDailyWindow) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "toast");
    openLogin();
    EXPECT_EQ(field("Text3")->text(), "Tovena");
    const std::weak_ptr<ledger::Store> books = staff().sharedStore();
    typeAndLogin("breakfast");
    expectAdmitted();
    EXPECT_EQ(mainWindow()->windowTitle(), "Daily settlement of  accounts");
    // The books stayed open across the switch: the daily window reads them
    // on the login window's connection.
    auto* days = mainWindow()->findChild<forms::DataControl*>(QStringLiteral("Data1"));
    ASSERT_NE(days, nullptr);
    EXPECT_FALSE(books.expired());
    EXPECT_EQ(days->source().sharedStore(), books.lock());
}

TEST_F(LoginTest, TheUserPicksTheirRowWithTheBar) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "toast");
    openLogin();
    moveBar("Next");
    EXPECT_EQ(field("Text3")->text(), "Marlow");
    typeAndLogin("toast");
    expectAdmitted();
}

TEST_F(LoginTest, AnEmptyStoredPasswordAdmitsAnEmptyTypedOne) {
    addStaff("Nopass", QVariant());
    openLogin();
    typeAndLogin("");
    expectAdmitted();
}

TEST_F(LoginTest, AnEmptyTextPasswordAdmitsAnEmptyTypedOne) {
    addStaff("Blank", QString(""));
    openLogin();
    typeAndLogin("");
    expectAdmitted();
}

TEST_F(LoginTest, ADifferenceInLetterCaseIsRefusedSilently) {
    addStaff("Tovena", "breakfast");
    openLogin();
    typeAndLogin("Breakfast");
    expectRefusedSilently("Breakfast");
}

TEST_F(LoginTest, ATrailingSpaceIsRefusedSilently) {
    addStaff("Tovena", "breakfast");
    openLogin();
    typeAndLogin("breakfast ");
    expectRefusedSilently("breakfast ");
}

TEST_F(LoginTest, AStoredTrailingSpaceMustBeTyped) {
    addStaff("Tovena", "breakfast ");
    openLogin();
    typeAndLogin("breakfast");
    expectRefusedSilently("breakfast");
    typeAndLogin(" ");
    expectAdmitted();
}

TEST_F(LoginTest, AnotherRowsPasswordIsRefused) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "toast");
    openLogin();
    typeAndLogin("toast");
    expectRefusedSilently("toast");
    EXPECT_EQ(field("Text3")->text(), "Tovena");
}

TEST_F(LoginTest, WithTwoRowsOfOneNameLoginMovesToTheFirst) {
    addStaff("Ada", "first");
    addStaff("Bram", "bread");
    addStaff("Ada", "second");
    openLogin();
    moveBar("Last");
    ASSERT_EQ(field("Text2")->text(), "second");
    // The first Ada's password does not count: the one compared was read
    // from the row shown when Login was pressed.
    typeAndLogin("first");
    expectRefusedSilently("first");
    EXPECT_EQ(staff().currentIndex(), 0);
    EXPECT_EQ(field("Text2")->text(), "first");
}

TEST_F(LoginTest, ThePasswordComparedIsTheOneOfTheRowShown) {
    addStaff("Ada", "first");
    addStaff("Ada", "second");
    openLogin();
    moveBar("Last");
    typeAndLogin("second");
    expectAdmitted();
}

TEST_F(LoginTest, ANameNoLongerInTheRegisterLeavesTheRowShown) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "toast");
    openLogin();
    moveBar("Next");
    // Another program renamed the row meanwhile: the find matches nothing
    // and returns to the row, which is read afresh.
    db.exec("UPDATE \"Materials forms of staff\" SET Name = 'Marlowe' WHERE Name = 'Marlow'");
    typeAndLogin("wrong");
    expectRefusedSilently("wrong");
    EXPECT_EQ(staff().currentIndex(), 1);
    EXPECT_EQ(field("Text3")->text(), "Marlowe");
}

TEST_F(LoginTest, AfterAWrongPasswordTheUserCanTryAgain) {
    addStaff("Tovena", "breakfast");
    openLogin();
    typeAndLogin("bread");
    expectRefusedSilently("bread");
    field("Text1")->clear();
    typeAndLogin("breakfast");
    expectAdmitted();
}

TEST_F(LoginTest, AnEmptyRegisterDeclinedSaysHowToAddTheFirstMemberOfStaff) {
    openLogin();
    EXPECT_TRUE(prompts.told.isEmpty());
    DialogScripts dialogs;
    dialogs.expect("FirstStaffMember",
                   [](QDialog& dialog) { DialogScripts::button(dialog, "cancel")->click(); });
    typeAndLogin("x");
    EXPECT_TRUE(dialogs.allRan());
    ASSERT_EQ(prompts.told.size(), 1);
    const QString said = prompts.toldTexts[0];
    EXPECT_TRUE(said.contains("nobody in it") && said.contains("tallowbrook-db add-staff") &&
                said.contains(db.path()))
        << said.toStdString();
    EXPECT_NE(login(), nullptr);
    EXPECT_EQ(mainWindow(), nullptr);
    EXPECT_TRUE(login()->isVisible());
}

TEST_F(LoginTest, AnEmptyRegisterOffersTheFirstMemberOfStaffWhoCanThenLogIn) {
    openLogin();
    DialogScripts dialogs;
    dialogs.expect("FirstStaffMember", [](QDialog& dialog) {
        DialogScripts::type(dialog, "staffName", " Lin Mei ");
        DialogScripts::type(dialog, "staffPassword", "green tea");
        DialogScripts::type(dialog, "staffPasswordAgain", "green tea");
        DialogScripts::button(dialog, "add")->click();
    });
    typeAndLogin("green tea");
    EXPECT_TRUE(dialogs.allRan());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    // Added as the tool adds a member, and shown at once.
    EXPECT_EQ(db.scalar("SELECT Name FROM \"Materials forms of staff\"").toString(), "Lin Mei");
    EXPECT_EQ(field("Text3")->text(), "Lin Mei");
    // The typed password stayed: Login now lets the new member in.
    button("Command1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    expectAdmitted();
}

// Every name the register and add-staff accept logs in, behind another
// member of staff so the look-up must find the very row.
class OddNameLogin : public LoginTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OddNameLogin, LogsIn) {
    const QString name = QString::fromUtf8(GetParam());
    addStaff("Tovena", "breakfast");
    addStaff(name, "soda");
    openLogin();
    moveBar("Next");
    ASSERT_EQ(field("Text3")->text(), name);
    typeAndLogin("soda");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    EXPECT_NE(mainWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Names, OddNameLogin,
                         ::testing::Values("O'Brien", "D'Arcy O'Neil", "Li [Sr]", "[Anna", "100%_x",
                                           "Ann*", "#2", "Anna?", "'"));

TEST_F(LoginTest, AMissingFileNamesThePathAndHowToCreateIt) {
    SKIP_ON_SERVER("a missing database file");
    ASSERT_TRUE(QFile::remove(db.path()));
    openLogin();
    ASSERT_EQ(prompts.told.size(), 1);
    const QString message = prompts.toldTexts[0];
    EXPECT_TRUE(message.contains(db.path())) << message.toStdString();
    EXPECT_TRUE(message.contains("tallowbrook-db create"));
    EXPECT_TRUE(message.contains("tallowbrook-db demo"));
    EXPECT_EQ(field("Text3")->text(), "");

    // Login says the same again, and the window stays usable.
    typeAndLogin("x");
    ASSERT_EQ(prompts.told.size(), 2);
    EXPECT_TRUE(prompts.toldTexts[1].contains("tallowbrook-db create"));
    EXPECT_NE(login(), nullptr);
    EXPECT_EQ(mainWindow(), nullptr);
}

TEST_F(LoginTest, AFileCreatedAfterTheFailureCanBeUsed) {
    SKIP_ON_SERVER("a database file made while the program runs");
    const QString path = db.path();
    ASSERT_TRUE(QFile::rename(path, path + ".away"));
    openLogin();
    ASSERT_EQ(prompts.told.size(), 1);
    ASSERT_TRUE(QFile::rename(path + ".away", path));
    addStaff("Tovena", "breakfast");
    typeAndLogin("");  // opens the register now
    EXPECT_EQ(prompts.told.size(), 1);
    EXPECT_EQ(field("Text3")->text(), "Tovena");
    prompts.told.clear();
    field("Text1")->clear();
    typeAndLogin("breakfast");
    expectAdmitted();
}

TEST_F(LoginTest, AFileThatIsNotADatabaseIsOneClearMessage) {
    SKIP_ON_SERVER("a file that is not a database");
    QFile file(db.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(4096, 'x'));
    file.close();
    openLogin();
    ASSERT_EQ(prompts.told.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains(db.path())) << prompts.toldTexts[0].toStdString();
    typeAndLogin("x");
    EXPECT_EQ(prompts.told.size(), 2);
    EXPECT_NE(login(), nullptr);
}

TEST_F(LoginTest, CancelClosesTheLoginWindowAndOpensNothing) {
    addStaff("Tovena", "breakfast");
    openLogin();
    button("Command2")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(login(), nullptr);
    EXPECT_EQ(mainWindow(), nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(),
                             QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
}

// Runs the event loop as the program does, presses a button from inside it,
// and tells whether the program ended by itself (the loop quit) rather than
// by the test's own timer.
bool programEndsAfter(const std::function<void()>& press) {
    bool endedByTest = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&endedByTest] {
        endedByTest = true;
        QCoreApplication::exit(0);
    });
    deadline.start(1500);
    QTimer::singleShot(0, press);
    QCoreApplication::exec();
    return !endedByTest;
}

TEST_F(LoginTest, CancelEndsTheProgram) {
    addStaff("Tovena", "breakfast");
    openLogin();
    EXPECT_TRUE(programEndsAfter([this] { button("Command2")->click(); }));
    EXPECT_EQ(mainWindow(), nullptr);
}

TEST_F(LoginTest, LoggingInDoesNotEndTheProgram) {
    addStaff("Tovena", "breakfast");
    openLogin();
    QTest::keyClicks(field("Text1"), "breakfast");
    EXPECT_FALSE(programEndsAfter([this] { button("Command1")->click(); }));
    expectAdmitted();
}

TEST_F(LoginTest, EnterInThePasswordFieldPressesLogin) {
    addStaff("Tovena", "breakfast");
    openLogin();
    QTest::keyClicks(field("Text1"), "breakfast");
    QTest::keyClick(field("Text1"), Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    expectAdmitted();
}

TEST_F(LoginTest, TypingOverTheNameNeverRenamesTheStaffRow) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "tea");
    openLogin();
    QTest::keyClicks(field("Text3"), "Marlow");
    EXPECT_EQ(field("Text3")->text(), "Tovena");
    typeAndLogin("wrong");
    login()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(db.query("SELECT Name FROM \"Materials forms of staff\" ORDER BY rowid"),
              (std::vector<std::vector<QVariant>>{{"Tovena"}, {"Marlow"}}));
}

}  // namespace
