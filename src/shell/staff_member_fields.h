// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;

namespace shell {

// The first member of staff's name and password, typed twice, as the login
// window will ask for them: name "staffName", passwords "staffPassword" and
// "staffPasswordAgain".
class StaffMemberFields : public QWidget {
    Q_OBJECT
public:
    explicit StaffMemberFields(QWidget* parent = nullptr);

    QString name() const;  // blanks at either end left out
    QString password() const;

    // Asks the user about what was typed: false (after saying why, or when
    // the user keeps to typing a password) when it cannot be used yet.
    bool confirmWithUser();

private:
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* again_;
};

}  // namespace shell
