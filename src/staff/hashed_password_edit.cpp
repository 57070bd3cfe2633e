// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/hashed_password_edit.h"

#include "ledger/credentials/staff_password.h"

namespace staff {

QString HashedPasswordEdit::editedText() const { return ledger::hashStaffPassword(text()); }

}  // namespace staff
