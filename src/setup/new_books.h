// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A shop's first books, made from the program: the database file with the
// first member of staff who can log in, in one step.
namespace setup {

struct NewBooks {
    QString path;
    bool created = false;      // false: books were there already and were kept as they are
    bool memberAdded = false;  // the member of staff is in the register
};

// Makes `folder` (for the owner alone) when missing and breakfast.mdb in it
// with the complete schema and `name` as the first member of staff; the file
// appears under its name only with the member in it. Books already there are
// never replaced: they are kept as they are, and the member is added only
// when their register has nobody in it. Throws LedgerError; nothing is made
// then.
NewBooks createShopBooks(const QString& folder, const QString& name, const QString& password);

}  // namespace setup
