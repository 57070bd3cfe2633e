// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QFont;
class QPaintDevice;

namespace salary {

// The text a column is sized to: the one with the most characters, the
// uppermost on equal counts; empty text for an all-empty column. Chosen by
// count, not by drawn width, so "iiii" wins over "WWW".
QString longestByCharacters(const QStringList& columnTexts);

// Width in twips for a column whose chosen text is `text`: the text's width
// in `font` as drawn on `device`, rounded to a whole twip with ties to even,
// plus 700 twips of room.
int autosizedWidthTwips(const QString& text, const QFont& font, const QPaintDevice* device);

}  // namespace salary
