// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/books_upkeep.h"

#include "forms/prompts.h"
#include "forms/workspace.h"
#include "setup/upkeep_at_start.h"

namespace shell {

void upkeepBooksInUse(QWidget* parent) {
    const QStringList notes = setup::upkeepAtStart(forms::workspace().books());
    if (notes.isEmpty()) return;
    forms::tell(parent, notes.join(QStringLiteral("\n\n")));
}

}  // namespace shell
