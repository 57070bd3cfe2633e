// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

namespace ledger {
class StartupBackup;
}

namespace app {

// Before anyone logs in, a copy of the books as they were, when they changed
// since the last copy: made in the background while the login window is
// already up (ledger/store/startup_backup.h). A failed backup is said once,
// in a message over whatever window is open, and the program goes on. The
// program waits for a backup begun before it ends.
class BackupAtStart {
public:
    explicit BackupAtStart(const QString& database);
    ~BackupAtStart();
    BackupAtStart(const BackupAtStart&) = delete;
    BackupAtStart& operator=(const BackupAtStart&) = delete;

private:
    std::unique_ptr<ledger::StartupBackup> backup_;
};

}  // namespace app
