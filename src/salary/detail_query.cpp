// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/detail_query.h"

#include "forms/workspace.h"

namespace salary {

QString detailQueryText() { return forms::workspace().detailQueryText(); }

void setDetailQueryText(const QString& text) { forms::workspace().setDetailQueryText(text); }

}  // namespace salary
