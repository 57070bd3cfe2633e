#pragma once

#include <QString>

namespace tools {

// Why a file the tool writes (an export, a report) may not be written to
// `output`; empty when it may. It never takes the place of a folder or a
// database, least of all the one read. `what` names the file in the
// message: "export", "report".
QString outputRefusal(const QString& output, const QString& database, const QString& what);

}  // namespace tools
