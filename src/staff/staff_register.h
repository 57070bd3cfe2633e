// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "forms/form_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
class RecordSource;
}

namespace forms {
class BoundCombo;
class BoundLineEdit;
class DataControl;
}  // namespace forms

namespace staff {

// "Material forms of staff": the staff register, one employee at a time,
// browsed with the bar and edited in place. Opened from the daily window as
// a plain register, or from the wage window at the employee picked there,
// when its "Login" carries the employee's rates into the wage row.
class Form6 : public forms::FormWindow {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    ledger::RecordSource& records();

    // For the wage window: "By This Name" (Command5), pressed once the
    // register is open, and the register set up for the rate transfer, with
    // only "Login" left to press.
    QPushButton* byThisNameButton() const { return byThisName_; }
    void offerOnlyLogin();

protected:
    void loadStep() override;

private:
    // Layout (staff_register.cpp).
    void buildTitleRow();
    void buildFields();
    void buildChoices();
    void buildButtons();
    void orderKeyboardFocus();
    void centreOnScreen();
    QLabel* addCaption(const QString& name, const QString& text, int left, int top, int width);
    forms::BoundLineEdit* addField(const QString& name, const QString& column, int left, int top,
                                   int width);

    // Commands (staff_register_commands.cpp).
    void connectCommands();
    void carryRatesToWageRow();  // Command1 "Login"
    void beginNewEmployee();     // Command2 "New"
    void findWageWindowName();   // Command5 "By This Name"
    void showMonthlyPay(bool ticked);
    void tellLoginNeedsNewWageRow();

    forms::DataControl* data_ = nullptr;                  // Data1: the staff rows
    forms::DataControl* choices_ = nullptr;               // Data2: Select, for "Vacate"
    QLineEdit* title_ = nullptr;                          // Text17, unbound
    std::vector<forms::BoundLineEdit*> fields_;           // in keyboard order
    forms::BoundLineEdit* serialNumber_ = nullptr;        // Text1
    forms::BoundLineEdit* name_ = nullptr;                // Text3
    forms::BoundLineEdit* password_ = nullptr;            // Text4
    forms::BoundLineEdit* salaryHour_ = nullptr;          // Text11
    forms::BoundLineEdit* overtimeSalaryHour_ = nullptr;  // Text12
    forms::BoundLineEdit* monthlyPay_ = nullptr;          // Text15
    QCheckBox* monthlyPayBox_ = nullptr;                  // Check1
    forms::BoundCombo* vacate_ = nullptr;                 // DBCombo1, unbound
    QPushButton* login_ = nullptr;                        // Command1
    QPushButton* newEmployee_ = nullptr;                  // Command2
    QPushButton* save_ = nullptr;                         // Command3
    QPushButton* cancel_ = nullptr;                       // Command4
    QPushButton* byThisName_ = nullptr;                   // Command5, hidden
};

}  // namespace staff
