// SPDX-License-Identifier: GPL-3.0-or-later
// Logging in with the register's protected passwords: a stored hash is
// verified, a password an older file keeps as plain text logs in once and is
// then stored as its hash, in the row the user logged in with.

#include "ledger/credentials/staff_password.h"
#include "login_fixture.h"

namespace {

QString storedPasswordOf(const TempDatabase& db, int row) {
    return db.query("SELECT Password FROM \"Materials forms of staff\" ORDER BY rowid")
        .at(static_cast<size_t>(row))
        .at(0)
        .toString();
}

struct TypedPassword {
    const char* password;  // kept as its hash
    const char* typed;
    bool admitted;
};

class HashedLogin : public LoginTest, public ::testing::WithParamInterface<TypedPassword> {};

TEST_P(HashedLogin, AStoredHashAdmitsItsPasswordExactly) {
    const TypedPassword c = GetParam();
    addStaff("Tovena", ledger::hashStaffPassword(QString::fromUtf8(c.password)));
    openLogin();
    typeAndLogin(QString::fromUtf8(c.typed));
    if (c.admitted)
        expectAdmitted();
    else
        expectRefusedSilently(QString::fromUtf8(c.typed));
}

INSTANTIATE_TEST_SUITE_P(Cases, HashedLogin,
                         ::testing::Values(TypedPassword{"breakfast", "breakfast", true},
                                           TypedPassword{"breakfast", "Breakfast", false},
                                           TypedPassword{"breakfast", "breakfast ", false},
                                           TypedPassword{"breakfast", "", false},
                                           TypedPassword{"", "", true},
                                           TypedPassword{"p@ss w0rd?#%/", "p@ss w0rd?#%/", true},
                                           TypedPassword{"p@ss w0rd?#%/", "p@ss word?#%/", false}));

TEST_F(LoginTest, TheStoredHashTypedAsThePasswordIsRefused) {
    const QString hash = ledger::hashStaffPassword("breakfast");
    addStaff("Tovena", hash);
    openLogin();
    typeAndLogin(hash);
    expectRefusedSilently(hash);
}

TEST_F(LoginTest, APlainTextPasswordLogsInOnceAndIsThenKeptAsItsHash) {
    // Two rows of one name: the find moves to the first, but the row logged
    // in with is the one shown, and only its password is protected.
    addStaff("Ada", "first");
    addStaff("Ada", "second");
    openLogin();
    moveBar("Last");
    typeAndLogin("second");
    expectAdmitted();
    EXPECT_EQ(storedPasswordOf(db, 0), "first");
    const QString stored = storedPasswordOf(db, 1);
    EXPECT_TRUE(ledger::isStaffPasswordHash(stored)) << stored.toStdString();
    EXPECT_TRUE(ledger::staffPasswordMatches("second", stored));
}

// Two tills log in at once with a password kept as plain text: the one that
// stores its hash second finds the row changed by the other (here the moment
// its hash goes into the field). When the other stored the hash, nothing is
// left to say; when it stored something else, the user is told as ever.
class LoginAtOnce : public LoginTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LoginAtOnce, SaysNothingWhenThePasswordWasProtectedMeanwhile) {
    addStaff("Tovena", "breakfast");
    openLogin();
    const QString stored = GetParam() ? GetParam() : ledger::hashStaffPassword("breakfast");
    bool meanwhile = false;
    QObject::connect(field("Text2"), &QLineEdit::textChanged, [&] {
        if (!std::exchange(meanwhile, true))
            db.exec("UPDATE \"Materials forms of staff\" SET Password = '" + stored + "'");
    });
    typeAndLogin("breakfast");
    ASSERT_TRUE(meanwhile);
    EXPECT_NE(mainWindow(), nullptr) << "logged in either way";
    EXPECT_EQ(storedPasswordOf(db, 0), stored) << "the other till's value stays";
    EXPECT_EQ(prompts.toldTexts.filter("still kept as plain text").size(), GetParam() ? 1 : 0)
        << prompts.told.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginAtOnce, ::testing::Values(nullptr, "breakfast!"));

TEST_F(LoginTest, AHashThatCannotBeStoredStillLogsInAndSaysSoOnce) {
    SKIP_ON_SERVER("a trigger in SQLite's words");
    addStaff("Tovena", "breakfast");
    db.exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON \"Materials forms of staff\" BEGIN "
        "SELECT RAISE(ABORT, 'this file takes no changes'); END");
    openLogin();
    typeAndLogin("breakfast");
    EXPECT_EQ(login(), nullptr);
    ASSERT_NE(mainWindow(), nullptr);
    ASSERT_EQ(prompts.toldTexts.size(), 1);
    EXPECT_TRUE(prompts.toldTexts[0].contains("still kept as plain text"))
        << prompts.toldTexts[0].toStdString();
    EXPECT_FALSE(prompts.toldTexts[0].contains("breakfast"));
    EXPECT_EQ(storedPasswordOf(db, 0), "breakfast");
}

}  // namespace
