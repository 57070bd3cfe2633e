// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/credentials/staff_password.h"
#include "staff_fixture.h"

namespace staff_tests {
namespace {

// The register opened from the wage window at the name in its list.
struct NameSearchCase {
    const char* what;
    QStringList staffNames;  // the register's rows, in order
    QString listText;        // the wage window's name list
    QString shown;           // the register's Name afterwards; null: not opened
};

void PrintTo(const NameSearchCase& c, std::ostream* out) { *out << c.what; }

class NameSearchTest : public StaffTest, public ::testing::WithParamInterface<NameSearchCase> {};

TEST_P(NameSearchTest, TheRegisterOpensAtTheNameOrStaysSilentlyOnItsRow) {
    const NameSearchCase& c = GetParam();
    int serial = 0;
    for (const QString& name : c.staffNames) {
        ++serial;
        addEmployee(name, QStringLiteral("S%1").arg(serial), 10 * serial, 0);
    }
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    if (c.shown.isNull()) {
        // Nobody of that name: said, and no register at someone else.
        list(wages, "DBCombo1")->setEditText(c.listText);
        QTest::mouseClick(list(wages, "DBCombo1")->lineEdit(), Qt::LeftButton);
        EXPECT_EQ(FormWindow::find("Form6"), nullptr);
        ASSERT_EQ(prompts.toldTexts.size(), 1);
        EXPECT_TRUE(prompts.toldTexts[0].contains("is not in the staff register"));
        EXPECT_TRUE(prompts.toldTexts[0].contains("Nothing was carried"));
        return;
    }
    staff::Form6* reg = pickEmployee(wages, c.listText);
    ASSERT_NE(reg, nullptr);
    EXPECT_TRUE(reg->isVisible());
    EXPECT_EQ(text(reg, "Text3"), c.shown);
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    // Only Login is left to press.
    EXPECT_FALSE(button(reg, "Command1")->isHidden());
    for (const char* hidden : {"Command2", "Command3", "Command4", "Command5"})
        EXPECT_TRUE(button(reg, hidden)->isHidden()) << hidden;
}

const NameSearchCase kNameSearches[] = {
    {"the name as listed", {"Tovena", "Anna", "Bert"}, "Anna", "Anna"},
    {"case is ignored", {"Tovena", "ABC"}, "abc", "ABC"},
    {"an empty list stays on the first row", {"Tovena", "Anna"}, "", "Tovena"},
    {"an empty list looks for nobody", {"Tovena", ""}, "", "Tovena"},
    {"a name nobody has", {"Tovena", "Anna"}, "Zed", QString()},
    {"an apostrophe", {"Tovena", "O'Brien"}, "O'Brien", "O'Brien"},
    {"an apostrophe cannot widen the search", {"Tovena", "Anna"}, "x' or Name like '*", QString()},
    {"an unclosed bracket", {"Tovena", "[Anna"}, "[Anna", "[Anna"},
    {"brackets", {"Tovena", "Li [Sr]", "Li S"}, "Li [Sr]", "Li [Sr]"},
    {"a star is no wildcard", {"Tovena", "Ann*"}, "Ann*", "Ann*"},
    {"a star typed finds no other name", {"Tovena", "Anna"}, "Ann*", QString()},
    {"percent and underline", {"Tovena", "100%_x"}, "100%_x", "100%_x"},
    {"a number sign", {"Tovena", "#2"}, "#2", "#2"},
    {"the first of two equal names", {"Tovena", "Anna", "anna"}, "ANNA", "Anna"},
};

INSTANTIATE_TEST_SUITE_P(Names, NameSearchTest, ::testing::ValuesIn(kNameSearches));

TEST_F(StaffTest, AnEmptyRegisterOpensWithoutAMessageWhenNoNameIsAskedFor) {
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "");
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(text(reg, "Text3"), "");
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
}

TEST_F(StaffTest, TheVeryEmployeePickedOpensEvenWhenTwoShareAName) {
    addEmployee("Tovena", "S1", 80, 100);
    addEmployee("Anna", "S2", 90, 110);
    addEmployee("Anna", "S3", 95, 120);
    addDay("2002/2/12", 0);
    staff::Form5* wages = openWageWindow(openDailyOn("2002/2/12"));
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "Anna", 2);
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(text(reg, "Text1"), "S3");
    button(reg, "Command1")->click();
    EXPECT_EQ(text(wages, "DBCombo1"), "Anna");
    EXPECT_EQ(text(wages, "Text2"), "S3");
    EXPECT_EQ(text(wages, "Text4"), "95");
    EXPECT_EQ(text(wages, "Text5"), "120");
}

TEST_F(StaffTest, TheSearchStoresTheRegistersPendingEditsFirst) {
    const qint64 tovena = addEmployee("Tovena", "S1", 80, 100);
    addEmployee("Anna", "S2", 90, 100);
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    button(main, "Command9")->click();
    auto* reg = qobject_cast<staff::Form6*>(FormWindow::find("Form6"));
    ASSERT_NE(reg, nullptr);
    type(reg, "Text6", "555");  // Fax of Tovena
    button(wages, "Command3")->click();
    EXPECT_EQ(pickEmployee(wages, "Anna"), reg);  // the same window, moved
    EXPECT_EQ(text(reg, "Text3"), "Anna");
    EXPECT_EQ(stored(schema::kStaff, tovena, "Fax"), QVariant("555"));
    EXPECT_TRUE(button(reg, "Command2")->isHidden());
}

TEST_F(StaffTest, AFreshRegisterShowsAllItsButtonsAgain) {
    addEmployee("Tovena", "S1", 80, 100);
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");
    staff::Form5* wages = openWageWindow(main);
    button(wages, "Command3")->click();
    staff::Form6* reg = pickEmployee(wages, "Tovena");
    reg->close();
    flushDeletes();
    ASSERT_EQ(FormWindow::find("Form6"), nullptr);

    button(main, "Command9")->click();
    reg = qobject_cast<staff::Form6*>(FormWindow::find("Form6"));
    ASSERT_NE(reg, nullptr);
    EXPECT_TRUE(reg->isVisible());
    for (const char* shown : {"Command1", "Command2", "Command3", "Command4"})
        EXPECT_FALSE(button(reg, shown)->isHidden()) << shown;
    EXPECT_TRUE(button(reg, "Command5")->isHidden());
}

// Login must never write into a wage row that is not being entered.
TEST_F(StaffTest, LoginIsRefusedWhenNoWageRowIsBeingEntered) {
    addEmployee("Tovena", "S1", 80, 100, 3000);
    const qint64 stored1 = addWage("2002/2/10", "Tovena", 55, 8);
    addDay("2002/2/12", 0);
    FormWindow* main = openDailyOn("2002/2/12");

    // From the main window with no wage window at all.
    button(main, "Command9")->click();
    auto* reg = FormWindow::find("Form6");
    ASSERT_NE(reg, nullptr);
    button(reg, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("begun with New"));
    EXPECT_EQ(FormWindow::find("Form6"), reg);  // the register stays open
    EXPECT_EQ(FormWindow::find("Form5"), nullptr);

    // With the wage window browsing its stored rows.
    staff::Form5* wages = openWageWindow(main);
    reg->findChild<QCheckBox*>("Check1")->click();
    button(reg, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 2);
    EXPECT_EQ(text(wages, "Text4"), "55");
    EXPECT_EQ(text(wages, "Label25"), "440");

    // With the wage window entering, but moved by its bar onto a stored row
    // (the wage begun is given up when the bar asks).
    button(wages, "Command3")->click();
    type(wages, "Text7", "3");
    prompts.choiceAnswers = {"Give it up"};
    pressBar(wages, "First");
    button(reg, "Command1")->click();
    ASSERT_EQ(prompts.toldTexts.size(), 3);
    EXPECT_EQ(text(wages, "Text4"), "55");
    wages->close();
    flushDeletes();
    EXPECT_EQ(stored(schema::kWages, stored1, "Salary hour"), QVariant(55.0));
    EXPECT_EQ(stored(schema::kWages, stored1, "Serial numbers"), QVariant());
    EXPECT_EQ(stored(schema::kWages, stored1, "Main hour"), QVariant(8.0));
}

TEST_F(StaffTest, TheMonthlyPayBoxShowsAndHidesItsField) {
    addEmployee("Tovena", "S1", 80, 100, 3000);
    FormWindow* main = openDaily();
    button(main, "Command9")->click();
    auto* reg = FormWindow::find("Form6");
    ASSERT_NE(reg, nullptr);
    auto* box = reg->findChild<QCheckBox*>("Check1");
    QWidget* pay = field(reg, "Text15");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(pay->isHidden());
    box->click();  // ticked: stays visible
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(pay->isHidden());
    box->click();  // unticked: hidden
    EXPECT_TRUE(pay->isHidden());
    box->click();  // ticked again: shown
    EXPECT_FALSE(pay->isHidden());
    EXPECT_EQ(text(reg, "Text15"), "3000");
}

TEST_F(StaffTest, SaveStoresNothingByItselfWhileMovesAndCancelStore) {
    const qint64 tovena = addEmployee("Tovena", "S1", 80, 100);
    const qint64 anna = addEmployee("Anna", "S2", 90, 100);
    FormWindow* main = openDaily();
    button(main, "Command9")->click();
    auto* reg = FormWindow::find("Form6");
    type(reg, "Text10", "Mother");
    button(reg, "Command3")->click();
    EXPECT_EQ(stored(schema::kStaff, tovena, "Contact"), QVariant());
    pressBar(reg, "Next");
    EXPECT_EQ(stored(schema::kStaff, tovena, "Contact"), QVariant("Mother"));

    type(reg, "Text8", "Main street 1");
    button(reg, "Command4")->click();
    flushDeletes();
    EXPECT_EQ(FormWindow::find("Form6"), nullptr);
    EXPECT_EQ(stored(schema::kStaff, anna, "Address"), QVariant("Main street 1"));
}

TEST_F(StaffTest, NewInTheRegisterAddsAnEmployee) {
    addEmployee("Tovena", "S1", 80, 100);
    FormWindow* main = openDaily();
    button(main, "Command9")->click();
    auto* reg = FormWindow::find("Form6");
    button(reg, "Command2")->click();
    EXPECT_EQ(text(reg, "Text3"), "");
    type(reg, "Text3", "Carla");
    type(reg, "Text4", "secret");
    type(reg, "Text11", "95");
    reg->close();
    flushDeletes();
    EXPECT_EQ(db.scalar("SELECT \"Salary hour\" FROM " + ledger::quoteName(schema::kStaff) +
                        " WHERE Name = 'Carla'"),
              QVariant(95.0));
    const QString stored = db.scalar("SELECT Password FROM " + ledger::quoteName(schema::kStaff) +
                                     " WHERE Name = 'Carla'")
                               .toString();
    EXPECT_TRUE(ledger::isStaffPasswordHash(stored)) << "never the password itself";
    EXPECT_TRUE(ledger::staffPasswordMatches("secret", stored));
}

TEST_F(StaffTest, TheRegisterShowsTheRowWithAMaskedPasswordInThreeColumns) {
    addEmployee("Tovena", "S1", 80, 100, 3000);
    FormWindow* main = openDaily();
    button(main, "Command9")->click();
    auto* reg = FormWindow::find("Form6");
    EXPECT_EQ(field(reg, "Text4")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(text(reg, "Text4"), "pw");
    EXPECT_EQ(field(reg, "Text4")->displayText(), "**");
    EXPECT_EQ(text(reg, "Text1"), "S1");
    EXPECT_EQ(text(reg, "Text11"), "80");
    auto* vacate = list(reg, "DBCombo1");
    ASSERT_EQ(vacate->count(), 2);
    EXPECT_EQ(vacate->itemText(0), "Resigned");
    // The captions' columns: left, middle, right.
    auto left = [&](const char* name) { return reg->findChild<QWidget*>(name)->x(); };
    EXPECT_LT(left("Label1"), left("Label2"));
    EXPECT_LT(left("Label2"), left("Label3"));
    EXPECT_EQ(left("Label1"), left("Label12"));
    EXPECT_EQ(left("Label2"), left("Label15"));
    EXPECT_EQ(left("Label3"), left("Label13"));
    EXPECT_GT(field(reg, "Text8")->geometry().right(), left("Label3"));

    const QStringList expected = {
        "Text1",    "Text2",    "Text3",    "Text5",    "Text6",  "Text7",  "Text8",  "Text9",
        "Text10",   "Text11",   "Text12",   "Text13",   "Text14", "Text17", "Check1", "DBCombo1",
        "Command1", "Command2", "Command3", "Command4", "Text15", "Text4"};
    EXPECT_EQ(focusOrder(field(reg, "Text1"), expected.size()), expected);
}

}  // namespace
}  // namespace staff_tests
