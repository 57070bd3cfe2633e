// SPDX-License-Identifier: GPL-3.0-or-later
#include "interfaces/daily_window_link.h"

#include "forms/form_window.h"
#include "forms/prompts.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/window_names.h"

namespace windows {

daily::DailyWindowFace* openDailyWindow() {
    return dynamic_cast<daily::DailyWindowFace*>(forms::FormWindow::find(kDailyWindow));
}

void tellDailyWindowClosed(QWidget* parent, const QString& what, const QString& then) {
    QString message = QStringLiteral(
                          "The daily settlement window has been closed, so there is %1. Nothing "
                          "was changed.")
                          .arg(what);
    if (!then.isEmpty()) message += QLatin1Char(' ') + then;
    forms::tell(parent, message);
}

}  // namespace windows
