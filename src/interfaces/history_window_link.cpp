// SPDX-License-Identifier: GPL-3.0-or-later
#include "interfaces/history_window_link.h"

#include "forms/window_opening.h"
#include "interfaces/history_window_face.h"
#include "interfaces/window_names.h"

namespace history {

void openHistoryOfDay(const QString& date) {
    auto* window = forms::loadWindowAs<HistoryWindowFace>(windows::kHistoryWindow);
    window->showHistoryOfDay(date);
    forms::openWindow(windows::kHistoryWindow);
}

}  // namespace history
