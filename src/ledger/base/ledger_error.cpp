// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/base/ledger_error.h"

namespace ledger {

LedgerError::LedgerError(ErrorCode code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

void fail(ErrorCode code, const QString& message) { throw LedgerError(code, message); }

}  // namespace ledger
