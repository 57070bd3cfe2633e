// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The shop's books, their backups and exports hold wages, takings and staff
// details: what this program makes for them is readable by the owner alone
// (files 0600, folders 0700), whatever the user's umask says.
namespace ledger {

// Creates `path` as a new, empty file for the owner only; fails when
// anything is there already. False with errno set on failure.
bool createOwnerOnlyFile(const QString& path);

// Makes `folder` (and any missing folders above it) when it is not there,
// the folder itself for the owner only; a folder already there keeps its
// permissions. Throws LedgerError naming the folder.
void makeOwnerOnlyFolder(const QString& folder);

}  // namespace ledger
