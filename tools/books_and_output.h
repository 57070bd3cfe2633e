// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tools {

// Why a command that reads the books at `path` (a file or a server address)
// and writes `output` (empty: standard output) cannot start: a file that is
// not there or is a folder, or an output that would take the place of a
// folder or a database (`what`: "export", "report"). Empty when it can.
QString booksAndOutputProblem(const QString& path, const QString& output, const QString& what);

}  // namespace tools
