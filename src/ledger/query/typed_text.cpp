// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/query/typed_text.h"

namespace ledger {

QString withoutOuterBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' ')) ++first;
    while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
    return text.mid(first, last - first);
}

}  // namespace ledger
