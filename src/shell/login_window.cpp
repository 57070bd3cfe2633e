// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/login_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "forms/workspace.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/credentials/staff_password.h"
#include "ledger/location/program_folder.h"
#include "ledger/query/quoted_text.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "ledger/store/server_address.h"
#include "ledger/store/who_writes.h"
#include "shell/books_dialog.h"
#include "shell/first_staff_dialog.h"
#include "shell/stored_password.h"

namespace shell {

using forms::arialFont;
using forms::placeTwips;
using forms::setBackground;

namespace {

constexpr quint32 kLightGreen = 0x00C0FFC0;
constexpr quint32 kLightYellow = 0x00C0FFFF;

// Password fields show one "*" per character, whatever the style's own mask.
void maskWithStars(QLineEdit* field) {
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

QLabel* caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(arialFont(12, true));
    setBackground(label, kLightGreen);
    return label;
}

QPushButton* command(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(arialFont(12, true));
    return button;
}

}  // namespace

Form10::Form10() : FormWindow(QStringLiteral("Form10")) {
    buildControls();
    forms::connectGuarded(login_, &QPushButton::clicked, this, [this] { login(); });
    forms::connectGuarded(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    // Enter in the password field presses Login, as a user expects after
    // typing a password.
    connect(typedPassword_, &QLineEdit::returnPressed, login_, &QPushButton::click);
    forms::connectGuarded(books_, &QPushButton::clicked, this, [this] { openBooksWindow(); });
}

void Form10::buildControls() {
    setWindowTitle(QStringLiteral("Form10"));
    // Only the form itself is green: its fields stay white, its buttons grey.
    QPalette green = palette();
    green.setColor(QPalette::Window, forms::bgrColor(kLightGreen));
    setPalette(green);
    setAutoFillBackground(true);
    resize(forms::twips(6105), forms::twips(4365));

    auto* title = new QLineEdit(QStringLiteral("The administrative staff login"), this);
    title->setObjectName(QStringLiteral("Text4"));
    title->setAlignment(Qt::AlignCenter);
    title->setFont(arialFont(14.25, true));
    setBackground(title, kLightYellow);
    placeTwips(title, 120, 120, 4935, 615);

    data1_ = new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kStaff,
                                    QStringLiteral("Select Your Name"), this);
    placeTwips(data1_, 1800, 960, 2655, 375);
    data1_->setFont(arialFont(12, true));

    placeTwips(caption(QStringLiteral("Label1"), QStringLiteral("Name"), this), 360, 1680, 855,
               375);

    name_ = new forms::BoundLineEdit(QStringLiteral("Text3"), data1_->source(),
                                     QStringLiteral("Name"), this);
    name_->setFont(arialFont(12, true));
    // The user picks their row with the bar; the login window must never
    // rename a member of staff, so the name is shown, not edited.
    name_->setReadOnly(true);
    placeTwips(name_, 1800, 1560, 2055, 495);

    storedPassword_ = new forms::BoundLineEdit(QStringLiteral("Text2"), data1_->source(),
                                               QStringLiteral("Password"), this);
    storedPassword_->setFont(arialFont(12, true));
    maskWithStars(storedPassword_);
    placeTwips(storedPassword_, 4080, 1560, 1335, 495);
    storedPassword_->setVisible(false);

    placeTwips(caption(QStringLiteral("Label2"), QStringLiteral("Password"), this), 360, 2400, 1455,
               495);

    typedPassword_ = new QLineEdit(this);
    typedPassword_->setObjectName(QStringLiteral("Text1"));
    typedPassword_->setFont(arialFont(12, true));
    maskWithStars(typedPassword_);
    placeTwips(typedPassword_, 1800, 2400, 2055, 495);

    login_ = command(QStringLiteral("Command1"), QStringLiteral("Login"), this);
    placeTwips(login_, 1800, 3240, 1455, 615);
    cancel_ = command(QStringLiteral("Command2"), QStringLiteral("Cancel"), this);
    placeTwips(cancel_, 4080, 3240, 1455, 615);

    // Tab order of the form: labels take no focus and Text2 is hidden, so the
    // keyboard starts in the password field.
    setTabOrder(typedPassword_, storedPassword_);
    setTabOrder(storedPassword_, name_);
    setTabOrder(name_, login_);
    setTabOrder(login_, cancel_);
    setTabOrder(cancel_, title);

    // The books' chores (backups, the accountant's export, other books): a
    // small button in the corner the form leaves empty, and Ctrl+B.
    books_ = new QPushButton(QStringLiteral("Books…"), this);
    books_->setObjectName(QStringLiteral("books"));
    books_->setFont(arialFont(8, false));
    books_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    books_->setToolTip(QStringLiteral(
        "Back up, restore a backup, export for the accountant, or choose other books (Ctrl+B)"));
    placeTwips(books_, 120, 3900, 1095, 330);
    setTabOrder(title, books_);
    typedPassword_->setFocus();
}

void Form10::loadStep() {
    data1_->source().setDatabasePath(forms::workspace().books());
    // Which books this is, without changing the window's design: with several
    // tills and a server, the name shows wherever the pointer rests.
    setToolTip(QStringLiteral("The shop's books: %1")
                   .arg(QDir::toNativeSeparators(ledger::displayName(forms::workspace().books()))));
}

void Form10::login() {
    ledger::RecordSource& staff = data1_->source();
    if (!staff.isOpen()) {
        // The register could not be opened when the window loaded (a missing
        // or foreign file). Trying again tells the user why, with the way to
        // create the file; if it has appeared meanwhile, the first staff row
        // shows and the user can log in.
        staff.open();
        return;
    }

    if (staff.rowCount() == 0) {
        // No row to compare with: the first member of staff is wanted.
        offerFirstStaffMember();
        return;
    }

    // The three texts are read first: the password compared is the one of
    // the row shown when Login was pressed, whichever row the find leaves.
    const QString typed = typedPassword_->text();
    const QString stored = storedPassword_->text();
    const QString name = name_->text();
    const ledger::Bookmark shownRow = staff.bookmark();

    // The name is quoted, so any name the register holds (O'Brien) is found.
    ledger::guardedFind(staff, QStringLiteral("Name=") + ledger::quotedText(name));

    // A stored hash is verified; a password an older file keeps as plain text
    // is compared exactly (case-sensitive, nothing trimmed) and then stored
    // as its hash. A wrong password is silent.
    if (!ledger::staffPasswordMatches(typed, stored)) return;
    // From now on the books' history names this member of staff.
    ledger::setStaffOnDuty(name);
    if (!ledger::isStaffPasswordHash(stored))
        protectPlainPassword(this, staff, shownRow, *storedPassword_, typed);
    openMainWindow();
}

void Form10::offerFirstStaffMember() {
    ledger::RecordSource& staff = data1_->source();
    if (!staff.isOpen() || staff.rowCount() != 0) return;
    if (shell::offerFirstStaffMember(this, forms::workspace().books())) staff.refresh();
}

void Form10::openBooksWindow() {
    // The books are let go while the Books window works on them (a restore
    // puts others in their place) and opened again, perhaps others, after it.
    ledger::RecordSource& staff = data1_->source();
    staff.close();
    BooksDialog books(this);
    forms::execModal(books);
    loadStep();
    staff.open();
    offerFirstStaffMember();
}

void Form10::openMainWindow() {
    // Asked before this window unloads: without a daily window to go on to,
    // the user stays logged out here.
    forms::requireWindow(windows::kDailyWindow);

    // For a moment no window is open between closing this one and showing
    // the main window; that moment must not end the program.
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const auto restore = qScopeGuard(
        [quitOnLastWindow] { QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow); });

    // The books stay open across the switch: the daily window goes on with
    // this connection instead of opening the books and reading their tables
    // again.
    const std::shared_ptr<ledger::Store> books = data1_->source().sharedStore();
    if (!unload()) return;
    forms::openWindow(windows::kDailyWindow);
}

}  // namespace shell
