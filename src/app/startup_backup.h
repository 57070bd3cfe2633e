// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace ledger {
class StartupBackup;
}

namespace app {

// Before anyone logs in, a copy of the books as they were, when they changed
// since the last copy: made in the background while the login window is
// already up (ledger/store/startup_backup.h). It begins once that window
// has been drawn, so building and drawing it never shares the machine with
// the copy. A failed backup is said once, in a message over whatever window
// is open, and the program goes on. The program waits for a backup begun
// before it ends.
class BackupAtStart {
public:
    BackupAtStart(const QString& database, QWidget* firstWindow);
    ~BackupAtStart();
    BackupAtStart(const BackupAtStart&) = delete;
    BackupAtStart& operator=(const BackupAtStart&) = delete;

private:
    void begin();

    QString database_;
    // What waits for the first window's first picture, until then.
    QPointer<QObject> trigger_;
    std::unique_ptr<ledger::StartupBackup> backup_;
};

}  // namespace app
