// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/server_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/server_address.h"
#include "ledger/store/server_password.h"
#include "setup/postgres/server_setup.h"

namespace shell {

ServerDialog::ServerDialog(QWidget* parent)
    : QDialog(parent), address_(new QLineEdit(this)), password_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("ServerBooks"));
    setWindowTitle(QStringLiteral("Connect to a database server"));
    address_->setObjectName(QStringLiteral("serverAddress"));
    address_->setPlaceholderText(QStringLiteral("postgresql://till@shop-server/books"));
    address_->setMinimumWidth(360);
    password_->setObjectName(QStringLiteral("serverPassword"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(QStringLiteral("only if the server asks for one"));

    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(
        QStringLiteral("Several tills keep one set of books on a PostgreSQL server. The server's "
                       "administrator makes an empty database for the shop; type its address "
                       "here."),
        this);
    about->setWordWrap(true);
    layout->addWidget(about);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Address:"), address_);
    form->addRow(QStringLiteral("Password:"), password_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* connectButton =
        buttons->addButton(QStringLiteral("Connect"), QDialogButtonBox::AcceptRole);
    connectButton->setObjectName(QStringLiteral("connect"));
    connectButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    forms::connectGuarded(connectButton, &QPushButton::clicked, this,
                          [this] { connectToServer(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    address_->setFocus();
}

void ServerDialog::connectToServer() {
    auto& prompts = forms::prompts();
    const QString title = forms::programTitle();
    const QString typed = address_->text().trimmed();
    if (!ledger::isServerAddress(typed)) {
        prompts.tell(this,
                     QStringLiteral("Type the address of the shop's database, beginning with "
                                    "postgresql://, for example "
                                    "postgresql://till@shop-server/books."),
                     title);
        address_->setFocus();
        return;
    }
    // A password typed into the address is kept apart like one typed below.
    const ledger::ServerLogin login = ledger::splitServerLogin(typed);
    const QString password = password_->text().isEmpty() ? login.password : password_->text();
    const QString trial = ledger::addressWithPassword(login.address, password);
    const QString shown = login.address;

    // Tried before anything is kept: a refusal leaves the settings as they were.
    QStringList missing;
    try {
        missing = setup::checkServerSchema(trial);
    } catch (const ledger::LedgerError& error) {
        prompts.tell(this,
                     error.message() + QStringLiteral("\n\nNothing was kept; the program goes on "
                                                      "with the books it had."),
                     title);
        return;
    }
    if (!missing.isEmpty()) {
        if (!prompts.askYesNo(this,
                              QStringLiteral("The database %1 does not hold the shop's books "
                                             "yet. Make them there now (every table, choice "
                                             "list and saved query, with nobody in the staff "
                                             "register)?")
                                  .arg(shown),
                              title))
            return;
        // Refused, and nothing changed, when some of the tables are there.
        setup::createServerSchema(trial, false, false);
    }
    if (!password.isEmpty()) ledger::rememberServerPassword(login.address, password);
    ledger::rememberBooks(login.address);
    connected_ = login.address;
    accept();
}

}  // namespace shell
