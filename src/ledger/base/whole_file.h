#pragma once

#include <QByteArray>
#include <QString>

namespace ledger {

// Writes `bytes` as the whole of the file `path`: under a temporary name,
// every write checked unbuffered (a full disk is seen at once), on the disk,
// then renamed into place, so the name never stands for half a file and a
// failure leaves an earlier file exactly as it was. A new file is the
// owner's alone (0600); a file replaced keeps its permissions. Returns why
// it failed, in the system's words; empty when the file is complete.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace ledger
