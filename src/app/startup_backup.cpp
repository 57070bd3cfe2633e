// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup_backup.h"

#include <QCoreApplication>
#include <QDateTime>

#include "forms/error_boundary.h"
#include "forms/first_picture.h"
#include "forms/prompts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/store/startup_backup.h"

namespace app {

namespace {

void tellBackupFailed(const QString& failure) {
    forms::runGuarded(nullptr, [&] {
        forms::tell(
            nullptr,
            failure + QStringLiteral("\n\nThe program goes on without a new backup; the books "
                                     "themselves are unchanged."));
    });
}

}  // namespace

BackupAtStart::BackupAtStart(const QString& database, QWidget* firstWindow) : database_(database) {
    if (!firstWindow) {
        begin();
        return;
    }
    trigger_ = forms::afterFirstPicture(firstWindow, [this] { begin(); });
}

void BackupAtStart::begin() {
    if (backup_) return;
    // The message goes to the user-interface thread, which shows it when it
    // next handles its events.
    backup_ = std::make_unique<ledger::StartupBackup>(
        database_, QDateTime::currentDateTime(), [](const QString& failure) {
            if (failure.isEmpty()) return;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [failure] { tellBackupFailed(failure); },
                Qt::QueuedConnection);
        });
}

BackupAtStart::~BackupAtStart() {
    // Still waiting (the program ends before its first window was drawn):
    // the backup is made now, and waited for.
    delete trigger_.data();
}

}  // namespace app
