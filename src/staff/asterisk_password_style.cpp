// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/asterisk_password_style.h"

namespace staff {

int AsteriskPasswordStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                     const QWidget* widget, QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace staff
