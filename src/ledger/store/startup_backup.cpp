// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/startup_backup.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QFileInfo>

#include "ledger/base/ledger_error.h"
#include "ledger/store/backup.h"

namespace ledger {

StartupBackup::StartupBackup(const QString& databasePath, const QDateTime& when, Finished finished)
    : thread_([databasePath, when, finished = std::move(finished)] {
          // Second to whatever the user does meanwhile: on Linux a thread
          // has a niceness of its own. Not being able to lower it is no
          // reason to skip the backup.
          (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
          QString failure;
          try {
              if (QFileInfo(databasePath).isFile() && changedSinceLastBackup(databasePath))
                  backUpDatabase(databasePath, when, BackupMaker::Start);
          } catch (const LedgerError& error) {
              failure = error.message();
          } catch (const std::exception& error) {
              failure = QString::fromLocal8Bit(error.what());
          }
          if (finished) finished(failure);
      }) {}

StartupBackup::~StartupBackup() { wait(); }

void StartupBackup::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace ledger
