// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Text comparison as the ledger's criteria know it (likeMatches itself is
// declared in criteria.h). Comparisons ignore case by Unicode case folding and
// treat a composed letter and its decomposed spelling (Ä and A + ¨) alike.

namespace ledger {

// False for a pattern with a list that is never closed ("2002/[1") or a range
// that runs backwards ("[z-a]"); such a pattern matches nothing.
bool isValidLikePattern(QStringView pattern);

// The "=" of a criterion: the whole texts equal, without regard to case.
bool textEqualsIgnoringCase(QStringView a, QStringView b);

// The text as that comparison sees it (composed, every letter folded): two
// texts are equal ignoring case exactly when their keys are equal, so a
// hash by this key finds a name at once where a search would compare it
// with every row.
QString comparisonKey(QStringView text);

}  // namespace ledger
