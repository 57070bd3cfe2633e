#pragma once

#include <QString>

#include "forms/form_window.h"

class QLineEdit;

namespace ledger {
class RecordSource;
}

namespace ledger::ui {
class DataControl;
}

namespace daily {

// What other windows may touch of the daily window (Form1): its day rows and
// the fields they read or fill. The daily window implements it; windows that
// need the day find it through the registry, so they do not link to it.
class DailyWindowFields {
public:
    virtual ledger::ui::DataControl* days() const = 0;  // Data1, the day rows
    virtual QLineEdit* dateField() const = 0;           // Text2
    virtual QLineEdit* personnelRateField() const = 0;  // Text7
    virtual QLineEdit* tablewareField() const = 0;      // Text20
    virtual QLineEdit* shopArticlesField() const = 0;   // Text21

    // Adds a day's wage, a whole number, to the Personnel rate of the day
    // shown here as that day is stored now, and stores the wage row being
    // entered in `wageRows` with it, in one transaction: both are stored or
    // neither. Only a stored day whose date is `wageDay` takes it; figures
    // typed into the day and not saved yet are stored first, as Save stores
    // them. Afterwards this window shows the stored Personnel rate and
    // `wageRows` the stored wage row.
    //
    // Returns false, having told the user why and stored nothing, when the
    // day shown cannot take the wage (a new day not saved yet, another day,
    // a date changed and not saved). Throws LedgerError when storing fails;
    // nothing of the wage is stored then.
    virtual bool addWageToDay(ledger::RecordSource& wageRows, const QString& wageDay,
                              qint32 wage) = 0;

    // The daily window if it is open (never loads it: a hidden daily window
    // would stand on its first day, not on the user's).
    static DailyWindowFields* ifOpen() {
        return dynamic_cast<DailyWindowFields*>(
            ledger::ui::FormWindow::find(QStringLiteral("Form1")));
    }
    // The window itself, to show or bring forward.
    virtual ledger::ui::FormWindow* formWindow() = 0;

protected:
    ~DailyWindowFields() = default;
};

}  // namespace daily
