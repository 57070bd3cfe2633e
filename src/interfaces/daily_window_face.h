// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

#include "ledger/records/field_binding.h"

namespace ledger {
class RecordSource;
struct NewWage;
}  // namespace ledger

namespace daily {

// What other windows may ask of the daily window (Form1): the day it shows,
// and the few things they do to that day. The daily window implements it;
// windows that need the day reach it by name (daily_window_link.h), so they
// never link to it and never touch its fields.
class DailyWindowFace {
public:
    // The date of the day shown (its Date field, as typed).
    virtual QString dayShown() const = 0;
    // Whether the day shown is stored: not a new day being typed, not an
    // empty ledger. Only a stored day has items and wages of its own.
    virtual bool showsStoredDay() const = 0;
    // The stored day shown, valid while showsStoredDay(): its very row of
    // the ledger, told apart from a second sheet of the same date, and still
    // this row while its date is being changed. The supply sheets show and
    // fill this row.
    virtual ledger::Bookmark storedDay() const = 0;

    // A supply sheet's subtotal written into the day's Tableware (Text20) or
    // Articles in the shop (Text21), as a keystroke would: the day's figures
    // follow, and the day's own write-back stores it. Throws LedgerError when
    // a figure computed from it fails.
    enum class Purchase { Tableware, ShopArticles };
    virtual void takePurchaseSubtotal(Purchase which, const QString& subtotal) = 0;

    // Adds a day's wage, a whole number, to the Personnel rate of the day
    // shown here and stores the wage row being entered in `wageRows` with
    // it, both or neither (ledger::storeWageWithDay). Only a stored day whose
    // date is `wageDay` takes it; figures typed into the day and not saved
    // yet are stored first, as Save stores them. Afterwards this window
    // shows the stored Personnel rate and `wageRows` the stored wage row.
    //
    // Returns false, having told the user why and stored nothing, when the
    // day shown cannot take the wage (a new day not saved yet, another day,
    // a date changed and not saved, a Personnel rate that is not a number).
    // Throws LedgerError when storing fails; nothing of the wage is stored
    // then.
    virtual bool addWageToDay(ledger::RecordSource& wageRows, const QString& wageDay,
                              qint32 wage) = 0;
    // The wages of a day entered at once: stores every row of `wages` in
    // the wage table `wageRows` is open on and adds their sum to the
    // Personnel rate of the day shown here, all or nothing
    // (ledger::storeWagesWithDay; `attempt` names the Save for a try
    // again). Refuses as addWageToDay does, having told the user why and
    // stored nothing; throws as it does.
    virtual bool addWagesToDay(ledger::RecordSource& wageRows, const QString& wageDay,
                               const std::vector<ledger::NewWage>& wages,
                               const QString& attempt) = 0;
    // Removes the stored wage row `wageRows` shows and takes `wage`, what it
    // added, off the Personnel rate of the day shown here, both or neither
    // (ledger::removeWageFromDay). Returns false, having told the user why
    // and changed nothing, when the day shown is not the stored day
    // `wageDay` as above, or holds changes not saved yet. Throws LedgerError
    // when removing fails (the day or the wage row changed by another till
    // included); nothing is removed or taken off then.
    virtual bool takeWageOffDay(ledger::RecordSource& wageRows, const QString& wageDay,
                                qint32 wage) = 0;

    // Moves to the stored day `day` (a row of the ledger) as the bar would:
    // what was typed into the day shown is stored first (a date no month
    // counts is asked about, as by Save). A day stored since the window read
    // its days is found too. Throws LedgerError when the day is not in the
    // books, when a new day typed there holds a date stored already
    // (AlreadyStored: its Save asks what to do), or when the user answered
    // not to store it (CancelledByUser).
    virtual void showDay(ledger::Bookmark day) = 0;

    // Shows the daily window and brings it to the front.
    virtual void bringForward() = 0;

protected:
    ~DailyWindowFace() = default;
};

}  // namespace daily
