// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace shell {

class StaffMemberFields;

// The first start, before the login window, when no books are found: "Create
// new books for the shop" (the first member of staff's name and password,
// typed twice; the books go into the user's data folder), "Open existing
// books…", "Connect to a database server…", or "Quit". Accepted once books
// are set up.
class FirstStartDialog : public QDialog {
    Q_OBJECT
public:
    explicit FirstStartDialog(QWidget* parent = nullptr);

private:
    void createBooks();
    void takeBooks(bool (*choose)(QWidget*));

    StaffMemberFields* fields_;
};

// Shows the window. True when books are set up; declined, it says where the
// program looks for them and how to make them from a terminal, and returns
// false, having made nothing.
bool firstStart();

}  // namespace shell
