// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace shell {

class StaffMemberFields;

// Books whose staff register has nobody in it: nobody can log in. This small
// window ("FirstStaffMember") takes the first member of staff's name and
// password, typed twice, and adds them as tallowbrook-db add-staff does.
class FirstStaffDialog : public QDialog {
    Q_OBJECT
public:
    FirstStaffDialog(const QString& database, QWidget* parent);

private:
    void add();

    QString database_;
    StaffMemberFields* fields_;
};

// Offers the window for the books at `database`. True when a member of staff
// was added. Declined, it says as before how to add one from a terminal.
bool offerFirstStaffMember(QWidget* parent, const QString& database);

}  // namespace shell
