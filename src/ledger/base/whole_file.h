// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace ledger {

// Writes `bytes` as the whole of the file `path`: under a temporary name,
// every write checked unbuffered (a full disk is seen at once), on the disk,
// then renamed into place, so the name never stands for half a file and a
// failure leaves an earlier file exactly as it was. A new file is the
// owner's alone (0600); a file replaced keeps its permissions. Returns why
// it failed, in the system's words; empty when the file is complete.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// The same for a file made piece by piece, too big to hold whole: `produce`
// is handed a writer of one piece, which says false once a write failed
// (nothing more is written then; `produce` may stop). An exception thrown by
// `produce` leaves no file and goes on to the caller.
using PieceWriter = std::function<bool(const QByteArray& piece)>;
QString writeWholeFileInPieces(const QString& path,
                               const std::function<void(const PieceWriter&)>& produce);

}  // namespace ledger
