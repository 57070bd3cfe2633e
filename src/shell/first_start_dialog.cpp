// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/first_start_dialog.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "setup/new_books.h"
#include "shell/books_choice.h"
#include "shell/dialog_parts.h"
#include "shell/staff_member_fields.h"

namespace shell {

FirstStartDialog::FirstStartDialog(QWidget* parent)
    : QDialog(parent), fields_(new StaffMemberFields) {
    setObjectName(QStringLiteral("FirstStart"));
    setWindowTitle(forms::programTitle());
    auto* layout = new QVBoxLayout(this);
    auto* welcome = new QLabel(
        QStringLiteral("<b>No books were found for the shop.</b><br>Start new books, or use books "
                       "the shop already keeps."),
        this);
    welcome->setObjectName(QStringLiteral("welcome"));
    layout->addWidget(welcome);

    auto* create = new QGroupBox(QStringLiteral("New books"), this);
    auto* createLayout = new QVBoxLayout(create);
    fields_->setParent(create);
    createLayout->addWidget(fields_);
    auto* where =
        new QLabel(QStringLiteral("They are kept in %1.").arg(shown(ledger::dataFolder())), create);
    where->setObjectName(QStringLiteral("where"));
    where->setWordWrap(true);
    createLayout->addWidget(where);
    QPushButton* createButton = namedButton(
        QStringLiteral("createBooks"), QStringLiteral("Create new books for the shop"), create);
    createButton->setDefault(true);
    createLayout->addWidget(createButton, 0, Qt::AlignRight);
    layout->addWidget(create);

    auto* others = new QHBoxLayout;
    QPushButton* open =
        namedButton(QStringLiteral("openBooks"), QStringLiteral("Open existing books…"), this);
    QPushButton* server = namedButton(QStringLiteral("connectServer"),
                                      QStringLiteral("Connect to a database server…"), this);
    QPushButton* quit = namedButton(QStringLiteral("quit"), QStringLiteral("Quit"), this);
    others->addWidget(open);
    others->addWidget(server);
    others->addStretch();
    others->addWidget(quit);
    layout->addLayout(others);

    forms::connectGuarded(createButton, &QPushButton::clicked, this, [this] { createBooks(); });
    forms::connectGuarded(open, &QPushButton::clicked, this,
                          [this] { takeBooks(chooseExistingBooks); });
    forms::connectGuarded(server, &QPushButton::clicked, this,
                          [this] { takeBooks(chooseServerBooks); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    fields_->setFocus();
}

void FirstStartDialog::createBooks() {
    if (!fields_->confirmWithUser()) return;
    const setup::NewBooks books =
        setup::createShopBooks(ledger::dataFolder(), fields_->name(), fields_->password());
    // Books found there after all (made meanwhile) are opened as they are.
    if (!books.created)
        forms::tell(
            this,
            books.memberAdded
                ? QStringLiteral("Books were already at %1; they were kept as they are, and %2 "
                                 "was added to their staff register.")
                      .arg(shown(books.path), fields_->name())
                : QStringLiteral("Books were already at %1; they were kept as they are and "
                                 "opened, and %2 was not added to them. Log in as one of their "
                                 "staff.")
                      .arg(shown(books.path), fields_->name()));
    accept();
}

void FirstStartDialog::takeBooks(bool (*choose)(QWidget*)) {
    if (choose(this)) accept();
}

bool firstStart() {
    FirstStartDialog dialog;
    if (forms::execModal(dialog) == QDialog::Accepted) {
        // The books just made or chosen are the ones every window opens.
        forms::workspace().setBooks(ledger::databasePath());
        return true;
    }
    // Nothing was made: as before this window, say where the books are
    // looked for and how to make them from a terminal.
    QString path = shown(ledger::dataFolder() + QStringLiteral("/breakfast.mdb"));
    try {
        path = shown(ledger::databasePath());
    } catch (const ledger::LedgerError&) {
        // Settings written meanwhile that cannot be read: the default is said.
    }
    const QString message =
        QStringLiteral(
            "No books were made. The program looks for them at %1.\n\nStart the "
            "program again to create them, or make them with: tallowbrook-db create "
            "\"%1\" (or tallowbrook-db demo \"%1\" for a sample shop).")
            .arg(path);
    std::fprintf(stderr, "tallowbrook: %s\n", qPrintable(message));
    std::fflush(stderr);
    forms::tell(nullptr, message);
    return false;
}

}  // namespace shell
