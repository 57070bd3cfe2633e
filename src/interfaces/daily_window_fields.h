#pragma once

#include <QString>

#include "forms/form_window.h"

class QLineEdit;

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
