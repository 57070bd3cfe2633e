// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/detail_query.h"

#include "forms/workspace.h"

namespace salary {

QString detailQueryText() { return ledger::ui::workspace().detailQueryText(); }

void setDetailQueryText(const QString& text) { ledger::ui::workspace().setDetailQueryText(text); }

}  // namespace salary
