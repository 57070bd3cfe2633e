// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "forms/form_window.h"
#include "forms/window_opening.h"
#include "interfaces/window_names.h"

namespace monthly {

// What other windows may ask of the month sheet (Form4): to show a month.
// The month sheet implements it; the year at a glance opens it by name.
class MonthSheetMonths {
public:
    // Moves the sheet to the month whose text is exactly `month` (12/ 2002),
    // storing nothing (the totals cannot be edited). False, the sheet left
    // on the month it showed, when it has no such month: it reads the totals
    // when it opens, and a month added since is not among them.
    virtual bool showMonth(const QString& month) = 0;
    // The window itself, to show or bring forward.
    virtual forms::FormWindow* formWindow() = 0;

    // The month sheet, loaded (hidden) when it is not open. Throws
    // LedgerError, as every window opened by name, when this program has no
    // month sheet.
    static MonthSheetMonths* open() {
        return forms::loadWindowAs<MonthSheetMonths>(windows::kMonthSheet);
    }

protected:
    ~MonthSheetMonths() = default;
};

}  // namespace monthly
