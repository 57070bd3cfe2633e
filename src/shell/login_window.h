// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_window.h"

class QLineEdit;
class QPushButton;

namespace forms {
class DataControl;
}

namespace shell {

// The login window the program starts with: the user picks their row of the
// staff register with the "Select Your Name" bar, types that row's password
// and presses Login, which opens the daily settlement window.
class Form10 : public forms::FormWindow {
    Q_OBJECT
public:
    Form10();

    forms::DataControl* data1() const { return data1_; }

    // Books whose staff register has nobody in it: offers to add the first
    // member of staff, and shows them when added.
    void offerFirstStaffMember();

protected:
    void loadStep() override;

private:
    void buildControls();
    void login();
    void openMainWindow();
    void openBooksWindow();

    forms::DataControl* data1_ = nullptr;
    QLineEdit* typedPassword_ = nullptr;   // Text1
    QLineEdit* storedPassword_ = nullptr;  // Text2, hidden
    QLineEdit* name_ = nullptr;            // Text3
    QPushButton* login_ = nullptr;         // Command1
    QPushButton* cancel_ = nullptr;        // Command2
    QPushButton* books_ = nullptr;         // the books' chores, out of the form's way
};

}  // namespace shell
