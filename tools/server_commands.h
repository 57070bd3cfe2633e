// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "command.h"

// create, demo and check on a server database (a postgresql:// URI): the
// file commands hand over to these when their argument is such an address.
namespace tools {

int createOnServer(const CommandCall& call, bool withDemoData);
int checkOnServer(const CommandCall& call);

// The end of every check, on a file or a server: what is missing, then the
// notes (which never fail it), then the verdict; the exit status.
int reportCheck(const CommandCall& call, const QString& shown, const QStringList& problems,
                const QStringList& notes = {});

}  // namespace tools
