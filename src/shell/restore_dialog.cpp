// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/restore_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "ledger/store/backup.h"
#include "setup/restore.h"
#include "shell/dialog_parts.h"

namespace shell {

namespace {

QString takenText(const QString& books, const QString& backup) {
    const QDateTime taken = ledger::backupTakenAt(books, backup);
    return QLocale().toString(taken, QStringLiteral("d MMMM yyyy, HH:mm:ss"));
}

QString daysText(int days) {
    if (days < 0) return QStringLiteral("cannot be read");
    return days == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(days);
}

}  // namespace

RestoreDialog::RestoreDialog(const QString& books, QWidget* parent)
    : QDialog(parent), books_(books), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("RestoreBackup"));
    setWindowTitle(QStringLiteral("Restore a backup"));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(QStringLiteral("Backups of the books %1, the newest first. The books "
                                            "as they are now are kept as a backup of their own.")
                                 .arg(shown(books)),
                             this);
    about->setWordWrap(true);
    layout->addWidget(about);
    list_->setObjectName(QStringLiteral("backupList"));
    QStringList backups = ledger::backupsOf(books);
    std::reverse(backups.begin(), backups.end());
    for (const QString& backup : backups) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 \u2014 %2")
                .arg(takenText(books, backup), daysText(ledger::dayCountOf(backup))),
            list_);
        item->setData(Qt::UserRole, backup);
        item->setToolTip(shown(backup));
    }
    list_->setCurrentRow(0);
    list_->setMinimumWidth(380);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* restore =
        buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("restore"));
    restore->setEnabled(!backups.isEmpty());
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    ledger::ui::connectGuarded(restore, &QPushButton::clicked, this, [this] { restoreChosen(); });
    connect(list_, &QListWidget::itemDoubleClicked, restore, &QPushButton::click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RestoreDialog::restoreChosen() {
    const QListWidgetItem* chosen = list_->currentItem();
    if (!chosen) return;
    const QString backup = chosen->data(Qt::UserRole).toString();
    auto& prompts = ledger::ui::prompts();
    const QString title = ledger::ui::programTitle();
    if (!prompts.askYesNoDefaultNo(this,
                                   QStringLiteral("Put the books back as they were on %1? The "
                                                  "books as they are now are kept as a backup "
                                                  "of their own.")
                                       .arg(chosen->text()),
                                   title))
        return;
    const ledger::Restored restored = ledger::restoreBackup(backup, books_);
    QString said = QStringLiteral("Restored the books %1 from the backup of %2.")
                       .arg(shown(books_), takenText(books_, backup));
    if (!restored.kept.isEmpty())
        said += QStringLiteral(" The books as they were are kept as %1.").arg(shown(restored.kept));
    for (const QString& note : restored.notes) said += QLatin1Char('\n') + note;
    prompts.tell(this, said, title);
    accept();
}

}  // namespace shell
