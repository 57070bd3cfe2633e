// SPDX-License-Identifier: GPL-3.0-or-later
#include "supplies/supplies_windows.h"

#include "supplies/sheet_design.h"
#include "supplies/supply_sheet.h"

namespace supplies {

void registerWindows() {
    for (const SheetDesign* design : {&tablewareSheet(), &shopArticlesSheet()}) {
        forms::FormWindow::registerFactory(design->windowName,
                                           [design] { return new SupplySheet(*design); });
    }
}

}  // namespace supplies
