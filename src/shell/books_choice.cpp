// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/books_choice.h"

#include <QDir>
#include <QFileInfo>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "ledger/location/program_folder.h"
#include "setup/ledger_file_check.h"
#include "shell/file_choosers.h"
#include "shell/server_dialog.h"

namespace shell {

bool chooseExistingBooks(QWidget* parent) {
    const QString chosen = fileChoosers().booksFile(parent);
    if (chosen.isEmpty()) return false;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    // The check of tallowbrook-db check: never books the windows would fail on.
    if (const QStringList problems = setup::ledgerFileProblems(path); !problems.isEmpty()) {
        forms::tell(
            parent,
            QStringLiteral("%1 is not books the program can open; the program goes on with the "
                           "books it had:\n%2")
                .arg(QDir::toNativeSeparators(path), problems.join(QLatin1Char('\n'))));
        return false;
    }
    ledger::rememberBooks(path);
    return true;
}

bool chooseServerBooks(QWidget* parent) {
    ServerDialog dialog(parent);
    return forms::execModal(dialog) == QDialog::Accepted;
}

}  // namespace shell
