// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/bound_line_edit.h"

namespace staff {

// The register's password field. It shows the stored value masked, one "*"
// per character, like any password field; what the user types is stored as
// its salted hash, never as the password itself.
class HashedPasswordEdit : public forms::BoundLineEdit {
    Q_OBJECT
public:
    using BoundLineEdit::BoundLineEdit;

    QString editedText() const override;
};

}  // namespace staff
