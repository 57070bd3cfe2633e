// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace ledger {

// A field that shows one column of a record source's current row and carries
// the user's edit back. Implemented by the bound widgets (and by tests).
class FieldBinding {
public:
    virtual ~FieldBinding() = default;
    virtual QString boundColumn() const = 0;
    // Show the current row's value; does not count as a change.
    virtual void showValue(const QString& text) = 0;
    virtual bool isChanged() const = 0;
    virtual QString editedText() const = 0;
    virtual void clearChanged() = 0;
};

// An opaque token for a row of a record source.
struct Bookmark {
    qint64 key = -1;
    bool operator==(const Bookmark&) const = default;
};

// Which way a search goes: the first match from the top, or the nearest
// match before the current row.
enum class FindDirection { First, Previous };

}  // namespace ledger
