// SPDX-License-Identifier: GPL-3.0-or-later
// The first start connecting to a server database: the address and password
// are tried before anything is kept, a refused password is said as such,
// and only the address goes into tallowbrook.ini.

#include <unistd.h>

#include <QUrl>
#include <QUrlQuery>

#include "first_start_fixture.h"
#include "ledger/store/postgres/server_connection.h"
#include "setup/postgres/server_setup.h"
#include "shell/first_start_dialog.h"

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class FirstStartOnServer : public FirstStartTest {
protected:
    void SetUp() override {
        if (!test_server::requested()) GTEST_SKIP() << "the server run only";
        FirstStartTest::SetUp();
    }
    // What the first-start window's server button leads to: the address and
    // password typed and Connect pressed; then `after` on the server window.
    void connectThrough(const QString& address, const QString& password,
                        const std::function<void(QDialog&)>& after) {
        dialogs.expect("FirstStart", [](QDialog& dialog) {
            DialogScripts::button(dialog, "connectServer")->click();
            if (dialog.isVisible()) DialogScripts::button(dialog, "quit")->click();
        });
        dialogs.expect("ServerBooks", [=](QDialog& dialog) {
            DialogScripts::type(dialog, "serverAddress", address);
            DialogScripts::type(dialog, "serverPassword", password);
            DialogScripts::button(dialog, "connect")->click();
            after(dialog);
        });
    }
};

TEST_F(FirstStartOnServer, AWrongPasswordIsRefusedInTheWindowWithTheRightMessage) {
    // Over TCP the test server asks for a password, and the test user has
    // none: every password is wrong.
    const QUrl base(test_server::baseAddress());
    const QString port = QUrlQuery(base).queryItemValue("port");
    const QString address =
        QStringLiteral("postgresql://%1@127.0.0.1:%2%3")
            .arg(qEnvironmentVariable("USER", "root"), port.isEmpty() ? "5432" : port, base.path());
    connectThrough(address, "wrong-s3cret", [&](QDialog& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(prompts.toldTexts.size(), 1);
        const QString said = prompts.toldTexts[0];
        EXPECT_TRUE(said.contains("refused the user name or password")) << said.toStdString();
        EXPECT_TRUE(said.contains("Nothing was kept")) << said.toStdString();
        EXPECT_FALSE(said.contains("wrong-s3cret"));
        DialogScripts::button(dialog, "cancel")->click();
    });
    EXPECT_FALSE(shell::firstStart());
    EXPECT_TRUE(dialogs.allRan());
    EXPECT_FALSE(QFileInfo::exists(data()));
    EXPECT_FALSE(QFileInfo::exists(home.filePath("pgpass")));
}

TEST_F(FirstStartOnServer, TheAddressIsKeptWithoutThePasswordWhichGoesToThePasswordFile) {
    // Through the local socket the server needs no password; the one typed
    // is kept all the same, for the day it does.
    connectThrough(db.path(), "till:pw", [](QDialog&) {});
    ASSERT_TRUE(shell::firstStart());
    EXPECT_TRUE(prompts.told.isEmpty()) << prompts.told.join("\n").toStdString();
    const QString ini = readAll(data() + "/tallowbrook.ini");
    EXPECT_TRUE(ini.contains("database=" + db.path())) << ini.toStdString();
    EXPECT_FALSE(ini.contains("till:pw"));
    EXPECT_TRUE(readAll(home.filePath("pgpass")).contains(":till\\:pw\n"))
        << readAll(home.filePath("pgpass")).toStdString();
    EXPECT_EQ(ledger::databasePath(), db.path());
    db.insert("Materials forms of staff", {"Name", "Password"}, {"Lin", "tea"});
    openLogin();
    EXPECT_EQ(field(find("Form10"), "Text3")->text(), "Lin");
}

TEST_F(FirstStartOnServer, ADatabaseWithoutTheShopsTablesIsOfferedThemAndThenTheFirstMember) {
    const QString schema = QStringLiteral("t%1_bare").arg(::getpid());
    ledger::ServerConnection admin(test_server::baseAddress());
    admin.run(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema), {}, "Test schema");
    admin.run(QStringLiteral("CREATE SCHEMA %1").arg(schema), {}, "Test schema");
    const QString base = test_server::baseAddress();
    const QString address =
        base + (base.contains('?') ? "&" : "?") + "options=-csearch_path%3D" + schema;
    prompts.yesNoAnswers = {true};
    connectThrough(address, "", [](QDialog&) {});
    ASSERT_TRUE(shell::firstStart());
    ASSERT_EQ(prompts.yesNoAsked.size(), 1u);
    EXPECT_TRUE(prompts.yesNoAsked[0].message.contains("does not hold the shop's books yet"));
    EXPECT_TRUE(setup::checkServerSchema(address).isEmpty());

    // Nobody is in the new register: the login asks for the first member.
    dialogs.expect("FirstStaffMember", [](QDialog& dialog) {
        DialogScripts::type(dialog, "staffName", "Lin");
        DialogScripts::type(dialog, "staffPassword", "tea");
        DialogScripts::type(dialog, "staffPasswordAgain", "tea");
        DialogScripts::button(dialog, "add")->click();
    });
    auto* login = openLogin();
    login->offerFirstStaffMember();
    EXPECT_EQ(field(login, "Text3")->text(), "Lin");
    logIn("tea");
    EXPECT_NE(find("Form1"), nullptr);
    closeWindows();
    admin.run(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema), {}, "Test schema");
}

}  // namespace
