// SPDX-License-Identifier: GPL-3.0-or-later
// The login window's design: controls, captions, colours, fonts, places,
// the masked password fields and where the keyboard starts.

#include <QDir>
#include <QFontMetricsF>
#include <QLabel>
#include <QStyle>

#include "login_fixture.h"
#include "support/picture_checks.h"

namespace {

using forms::bgrColor;
using forms::twipsRect;

using LoginWindow = LoginTest;

TEST_F(LoginWindow, ControlsCaptionsAndPlaces) {
    addStaff("Tovena", "breakfast");
    openLogin();
    EXPECT_EQ(login()->windowTitle(), "Form10");
    EXPECT_EQ(login()->size(), twipsRect(0, 0, 6105, 4365).size());
    EXPECT_EQ(login()->palette().color(QPalette::Window), bgrColor(0x00C0FFC0));

    QLineEdit* title = field("Text4");
    EXPECT_EQ(title->text(), "The administrative staff login");
    EXPECT_EQ(title->geometry(), twipsRect(120, 120, 4935, 615));
    EXPECT_EQ(title->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(title->palette().color(QPalette::Base), bgrColor(0x00C0FFFF));
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.25);
    EXPECT_TRUE(title->font().bold());

    EXPECT_EQ(login()->data1()->caption(), "Select Your Name");
    EXPECT_EQ(login()->data1()->geometry(), twipsRect(1800, 960, 2655, 375));
    EXPECT_EQ(login()->data1()->source().source(), ledger::schema::kStaff);

    auto* nameLabel = login()->findChild<QLabel*>("Label1");
    auto* passwordLabel = login()->findChild<QLabel*>("Label2");
    EXPECT_EQ(nameLabel->text(), "Name");
    EXPECT_EQ(passwordLabel->text(), "Password");
    EXPECT_EQ(nameLabel->geometry(), twipsRect(360, 1680, 855, 375));
    EXPECT_EQ(passwordLabel->geometry(), twipsRect(360, 2400, 1455, 495));

    EXPECT_EQ(field("Text3")->geometry(), twipsRect(1800, 1560, 2055, 495));
    EXPECT_EQ(field("Text2")->geometry(), twipsRect(4080, 1560, 1335, 495));
    EXPECT_EQ(field("Text1")->geometry(), twipsRect(1800, 2400, 2055, 495));
    EXPECT_EQ(button("Command1")->text(), "Login");
    EXPECT_EQ(button("Command2")->text(), "Cancel");
    EXPECT_EQ(button("Command1")->geometry(), twipsRect(1800, 3240, 1455, 615));
    EXPECT_EQ(button("Command2")->geometry(), twipsRect(4080, 3240, 1455, 615));
    // The bar too: "Select Your Name" in 12 pt bold like the rest, drawn
    // smaller only as far as the narrow bar needs to show it whole.
    auto* barCaption = login()->data1()->findChild<QLabel*>("Caption");
    ASSERT_NE(barCaption, nullptr);
    EXPECT_LE(QFontMetricsF(barCaption->font()).horizontalAdvance("Select Your Name"),
              barCaption->contentsRect().width());
    EXPECT_TRUE(barCaption->font().bold());
    for (QWidget* w : std::initializer_list<QWidget*>{field("Text1"), field("Text3"), nameLabel,
                                                      button("Command1"), button("Command2"),
                                                      login()->data1()}) {
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 12) << w->objectName().toStdString();
        EXPECT_TRUE(w->font().bold());
    }
}

TEST_F(LoginWindow, NameAndStoredPasswordFollowTheRow) {
    addStaff("Tovena", "breakfast");
    addStaff("Marlow", "toast");
    openLogin();
    auto* name = dynamic_cast<forms::BoundLineEdit*>(field("Text3"));
    auto* stored = dynamic_cast<forms::BoundLineEdit*>(field("Text2"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(name->boundColumn(), "Name");
    EXPECT_EQ(stored->boundColumn(), "Password");
    EXPECT_FALSE(stored->isVisible());
    EXPECT_EQ(stored->text(), "breakfast");
    moveBar("Next");
    EXPECT_EQ(name->text(), "Marlow");
    EXPECT_EQ(stored->text(), "toast");
    // The typed password is nobody's field.
    EXPECT_EQ(dynamic_cast<forms::BoundLineEdit*>(field("Text1")), nullptr);
}

TEST_F(LoginWindow, PasswordsShowOneStarPerCharacter) {
    addStaff("Tovena", "breakfast");
    openLogin();
    for (const char* name : {"Text1", "Text2"}) {
        QLineEdit* edit = field(name);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit),
                  '*')
            << name;
    }
}

TEST_F(LoginWindow, TheKeyboardStartsInThePasswordAndTabsInTheFormsOrder) {
    addStaff("Tovena", "breakfast");
    openLogin();
    login()->activateWindow();
    EXPECT_EQ(login()->focusWidget(), field("Text1"));
    // Labels take no focus and Text2 is hidden: Text1, Text3, Login, Cancel, Text4.
    QStringList order;
    QWidget* w = field("Text1");
    for (int i = 0; i < 5; ++i) {
        order << w->objectName();
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(login()) || w == login());
    }
    EXPECT_EQ(order, (QStringList{"Text1", "Text3", "Command1", "Command2", "Text4"}));
}

TEST_F(LoginWindow, ThePictureShowsTheTitleAndCaptionColours) {
    addStaff("Tovena", "breakfast");
    openLogin();
    QTest::keyClicks(field("Text1"), "bread");
    const QImage image = login()->grab().toImage();
    // The yellow title and the green "Name" caption show as designed.
    EXPECT_EQ(colourNearRightEdge(image, login(), field("Text4")), forms::bgrColor(0x00C0FFFF));
    EXPECT_EQ(colourNearRightEdge(image, login(), login()->findChild<QWidget*>("Label1")),
              forms::bgrColor(0x00C0FFC0));
    const QString folder = qEnvironmentVariable("TALLOWBROOK_SNAPSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        EXPECT_TRUE(image.save(folder + "/Form10.png"));
    }
}

}  // namespace
