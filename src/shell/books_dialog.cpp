// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/books_dialog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "accountant/exports.h"
#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "ledger/location/program_folder.h"
#include "ledger/store/backup.h"
#include "ledger/store/server_address.h"
#include "shell/books_choice.h"
#include "shell/books_upkeep.h"
#include "shell/dialog_parts.h"
#include "shell/file_choosers.h"
#include "shell/restore_dialog.h"

namespace shell {

namespace {

void tell(QWidget* parent, const QString& message) { forms::tell(parent, message); }

// A server database is backed up and restored by the server's own tools.
bool refusedOnServer(QWidget* parent, const QString& books) {
    if (!ledger::isServerAddress(books)) return false;
    tell(parent, QStringLiteral("The books are the database %1 on a server: it is backed up and "
                                "restored with the server's own tools (pg_dump), or copied into "
                                "a file with tallowbrook-db copy.")
                     .arg(ledger::displayName(books)));
    return true;
}

}  // namespace

BooksDialog::BooksDialog(QWidget* parent) : QDialog(parent), where_(new QLabel(this)) {
    setObjectName(QStringLiteral("Books"));
    setWindowTitle(QStringLiteral("Books"));
    auto* layout = new QVBoxLayout(this);
    where_->setObjectName(QStringLiteral("where"));
    where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    where_->setWordWrap(true);
    layout->addWidget(where_);

    auto* grid = new QGridLayout;
    QPushButton* backUp =
        namedButton(QStringLiteral("backUpNow"), QStringLiteral("Back up now"), this);
    QPushButton* restoreButton =
        namedButton(QStringLiteral("restoreBackup"), QStringLiteral("Restore a backup…"), this);
    QPushButton* exportButton = namedButton(QStringLiteral("exportForAccountant"),
                                            QStringLiteral("Export for the accountant…"), this);
    QPushButton* open =
        namedButton(QStringLiteral("openBooks"), QStringLiteral("Open existing books…"), this);
    QPushButton* server = namedButton(QStringLiteral("connectServer"),
                                      QStringLiteral("Connect to a database server…"), this);
    QPushButton* close = namedButton(QStringLiteral("close"), QStringLiteral("Close"), this);
    grid->addWidget(backUp, 0, 0);
    grid->addWidget(restoreButton, 1, 0);
    grid->addWidget(exportButton, 2, 0);
    grid->addWidget(open, 0, 1);
    grid->addWidget(server, 1, 1);
    layout->addLayout(grid);
    layout->addWidget(close, 0, Qt::AlignRight);

    forms::connectGuarded(backUp, &QPushButton::clicked, this, [this] { backUpNow(); });
    forms::connectGuarded(restoreButton, &QPushButton::clicked, this, [this] { restore(); });
    forms::connectGuarded(exportButton, &QPushButton::clicked, this,
                          [this] { exportForAccountant(); });
    forms::connectGuarded(open, &QPushButton::clicked, this,
                          [this] { takeBooks(chooseExistingBooks); });
    forms::connectGuarded(server, &QPushButton::clicked, this,
                          [this] { takeBooks(chooseServerBooks); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    forms::runReporting(this, [this] { showWhere(); });
}

void BooksDialog::showWhere() {
    const QString books = forms::workspace().books();
    QString text = QStringLiteral("The books: %1").arg(shown(ledger::displayName(books)));
    if (ledger::isServerAddress(books))
        text += QStringLiteral("\n(a database on a server, backed up with the server's own tools)");
    else
        text += QStringLiteral("%1\nBackups: %2")
                    .arg(QFileInfo::exists(books) ? QString() : QStringLiteral(" (not there)"),
                         shown(ledger::backupFolderFor(books)));
    if (QFileInfo::exists(ledger::settingsPath()))
        text += QStringLiteral("\nSettings: %1").arg(shown(ledger::settingsPath()));
    where_->setText(text);
}

void BooksDialog::backUpNow() {
    const QString books = forms::workspace().books();
    if (refusedOnServer(this, books)) return;
    if (!QFileInfo(books).isFile()) {
        tell(this, QStringLiteral("The books %1 are not there, so there is nothing to back up.")
                       .arg(shown(books)));
        return;
    }
    const QString made =
        ledger::backUpDatabase(books, QDateTime::currentDateTime(), ledger::BackupMaker::BackUpNow);
    tell(this, QStringLiteral("Backed up the books to %1.").arg(shown(made)));
}

void BooksDialog::restore() {
    const QString books = forms::workspace().books();
    if (refusedOnServer(this, books)) return;
    if (ledger::backupsOf(books).isEmpty()) {
        tell(this, QStringLiteral("There are no backups of the books %1 yet in %2.")
                       .arg(shown(books), shown(ledger::backupFolderFor(books))));
        return;
    }
    RestoreDialog dialog(books, this);
    forms::execModal(dialog);
}

void BooksDialog::exportForAccountant() {
    const QString folder = fileChoosers().exportFolder(this);
    if (folder.isEmpty()) return;
    const QStringList summaries =
        accountant::exportAllInto(forms::workspace().books(), folder, QDate::currentDate());
    tell(this, QStringLiteral("For the accountant, in %1:\n%2")
                   .arg(shown(folder), summaries.join(QLatin1Char('\n'))));
}

void BooksDialog::takeBooks(bool (*choose)(QWidget*)) {
    if (!choose(this)) return;
    // From now on every window opens the books chosen.
    forms::workspace().setBooks(ledger::databasePath());
    showWhere();
    tell(this, QStringLiteral("From now on the program uses the books %1.")
                   .arg(shown(ledger::databaseDisplayName())));
    // Books an earlier version made get what this version keeps in them.
    upkeepBooksInUse(this);
}

}  // namespace shell
