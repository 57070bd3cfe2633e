// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/restore_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "ledger/store/backup.h"
#include "setup/restore.h"
#include "shell/dialog_parts.h"

namespace shell {

namespace {

QString madeBy(ledger::BackupMaker maker) {
    switch (maker) {
        case ledger::BackupMaker::Start:
            return QStringLiteral("made at the start");
        case ledger::BackupMaker::BackUpNow:
            return QStringLiteral("made by Back up now");
        case ledger::BackupMaker::Tool:
            return QStringLiteral("made by tallowbrook-db backup");
        case ledger::BackupMaker::BeforeRestore:
            return QStringLiteral("the books a restore replaced");
        case ledger::BackupMaker::BeforeCreate:
            return QStringLiteral("the books tallowbrook-db create --force replaced");
        case ledger::BackupMaker::Unsaid:
            break;
    }
    return {};
}

// When a backup was taken, which of that second's it is and what made it:
// no two backups read alike, however quickly they were made.
QString takenText(const QString& books, const QString& backup) {
    const ledger::BackupNamed named = ledger::backupNamed(books, backup);
    QString text = QLocale().toString(named.taken, QStringLiteral("d MMMM yyyy, HH:mm:ss"));
    if (named.counter > 1) text += QStringLiteral(" (no. %1 of that second)").arg(named.counter);
    if (const QString maker = madeBy(named.maker); !maker.isEmpty())
        text += QStringLiteral(", ") + maker;
    return text;
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
                .arg(takenText(books, backup), daysText(setup::dayCountOf(backup))),
            list_);
        item->setData(Qt::UserRole, backup);
        item->setToolTip(shown(backup));
    }
    list_->setCurrentRow(0);
    // Wide enough that what tells two backups apart, at the end of their
    // line, shows without scrolling.
    int widest = 380;
    for (int row = 0; row < list_->count(); ++row)
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(list_->item(row)->text()) +
                                      2 * list_->frameWidth() + 24);
    list_->setMinimumWidth(std::min(widest, 900));
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* restore =
        buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("restore"));
    restore->setEnabled(!backups.isEmpty());
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    forms::connectGuarded(restore, &QPushButton::clicked, this, [this] { restoreChosen(); });
    connect(list_, &QListWidget::itemDoubleClicked, restore, &QPushButton::click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RestoreDialog::restoreChosen() {
    const QListWidgetItem* chosen = list_->currentItem();
    if (!chosen) return;
    const QString backup = chosen->data(Qt::UserRole).toString();
    auto& prompts = forms::prompts();
    const QString title = forms::programTitle();
    if (!prompts.askYesNoDefaultNo(this,
                                   QStringLiteral("Put the books back as they were on %1? The "
                                                  "books as they are now are kept as a backup "
                                                  "of their own.")
                                       .arg(chosen->text()),
                                   title))
        return;
    const setup::Restored restored = setup::restoreBackup(backup, books_);
    QString said = QStringLiteral("Restored the books %1 from the backup of %2.")
                       .arg(shown(books_), takenText(books_, backup));
    if (!restored.kept.isEmpty())
        said += QStringLiteral(" The books as they were are kept as %1.").arg(shown(restored.kept));
    for (const QString& note : restored.notes) said += QLatin1Char('\n') + note;
    prompts.tell(this, said, title);
    accept();
}

}  // namespace shell
