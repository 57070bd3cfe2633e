// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ledger {

// A text put into a criterion or the SELECT text as a constant: between
// apostrophes, each apostrophe inside written twice, so that any name (O'Brien
// included) is read back exactly as it was typed.
QString quotedText(const QString& text);

// A LIKE pattern that matches this very text and nothing else (still without
// regard to case): the pattern characters * ? # [ each stand in a list of
// their own ([*], [?], [#], [[]), so a name holding them is no pattern.
QString likeLiteral(const QString& text);

}  // namespace ledger
