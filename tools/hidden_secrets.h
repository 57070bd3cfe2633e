// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A server address given on the command line may hold a password, and the
// process list (ps, /proc/PID/cmdline) shows every program's arguments to
// every user of the machine. Once the arguments are read, each address
// holding a secret is overwritten in place with its shown form (no password),
// so the process list no longer holds it while the command runs.
namespace tools {

void hideSecretsInArguments(int argc, char** argv);

}  // namespace tools
