// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <thread>

namespace ledger {

// The backup of a database file made when the program starts, when the file
// changed since its newest backup (backup.h): made on a thread of its own,
// with SQLite's online backup a batch of pages at a time, so the login
// window appears at once and whatever the user does meanwhile never waits
// for it (a write waits at most for one batch). A file that is not there
// (or a server's address) is not backed up.
//
// Threading: made and destroyed on one thread; `finished` runs on the
// backup's own thread, once, with what failed (empty when the backup was
// made or not needed).
class StartupBackup {
public:
    using Finished = std::function<void(const QString& failure)>;

    StartupBackup(const QString& databasePath, const QDateTime& when, Finished finished);
    // Waits until the backup is complete: a backup begun is never left half
    // made.
    ~StartupBackup();
    StartupBackup(const StartupBackup&) = delete;
    StartupBackup& operator=(const StartupBackup&) = delete;

    void wait();

private:
    std::thread thread_;
};

}  // namespace ledger
