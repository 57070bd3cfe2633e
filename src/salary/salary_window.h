// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "forms/form_window.h"
#include "salary/rules/monthly_pays.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
class RecordSource;
class Store;
}  // namespace ledger

namespace forms {
class BoundLineEdit;
class ComputedFigure;
class DataControl;
}  // namespace forms

namespace salary {

// "Staff's salary settlement of  every month": one employee's month of
// hours and deductions (a row of the monthly wage totals), priced at the
// employee's current rates from the staff register, with the salary actually
// due. Steps back through the employee's months, finds an employee by name,
// prints itself and opens the wage detail grid.
class Form7 : public forms::FormWindow {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);

    ledger::RecordSource& monthRows();  // Data2
    ledger::RecordSource& staffRows();  // Data3

    // What the wage detail command reads as its presets: the month and the
    // name shown.
    QString shownMonth() const;  // Text1
    QString shownName() const;   // Text3

protected:
    void loadStep() override;

private:
    // Layout (salary_window.cpp).
    void buildTopRow();
    void buildMonthRow();
    void buildRates();
    void buildDeductions();
    void buildBottomRow();
    void orderKeyboardFocus();
    QLabel* addCaption(const QString& name, const QString& text, int left, int top, int width,
                       int height);
    forms::BoundLineEdit* addField(const QString& name, forms::DataControl* data,
                                   const QString& column, int left, int top, int width);
    forms::ComputedFigure* addFigure(const QString& name, int left, int top, int height);
    QPushButton* addButton(const QString& name, const QString& caption, int left, int top,
                           int width, int height);

    // Figures and the reactions that keep them current (salary_window_figures.cpp).
    void connectTriggers();
    void computeSubtotal();      // Label12
    void computeDeductions();    // Label14
    void computeActualSalary();  // Label13
    void lookUpStaff();          // Data3 follows the name in Text3
    // Whether the month shown names nobody in the register: no rates, so
    // no subtotal or salary, and the note says why.
    bool monthHasNoStaffRow() const;
    // The monthly pay the shown month's wage rows record; 0 when none.
    double monthlyPayShown() const;
    void showStaffNote();  // Label15

    // Commands (salary_window_commands.cpp).
    void stepBackOneMonth();  // Command1
    void inquireName();       // Command2
    void openDetail();        // Command3
    void printSheet();        // Command4
    void tellTotalsAreReadOnly();

    forms::DataControl* staff_ = nullptr;   // Data3, hidden
    forms::DataControl* months_ = nullptr;  // Data2
    QLineEdit* title_ = nullptr;            // Text12, unbound

    forms::BoundLineEdit* month_ = nullptr;          // Text1
    forms::BoundLineEdit* serialNumber_ = nullptr;   // Text2
    forms::BoundLineEdit* name_ = nullptr;           // Text3
    forms::BoundLineEdit* salaryHour_ = nullptr;     // Text4 (staff register)
    forms::BoundLineEdit* overtimeRate_ = nullptr;   // Text5 (staff register)
    forms::BoundLineEdit* overtimeHours_ = nullptr;  // Text6
    forms::BoundLineEdit* insurance_ = nullptr;      // Text8
    forms::BoundLineEdit* absentDeduct_ = nullptr;   // Text9
    forms::BoundLineEdit* workHours_ = nullptr;      // Text13

    forms::ComputedFigure* subtotal_ = nullptr;      // Label12
    forms::ComputedFigure* deductions_ = nullptr;    // Label14
    forms::ComputedFigure* actualSalary_ = nullptr;  // Label13
    QLabel* staffNote_ = nullptr;                    // Label15: no rates, or a monthly pay
    MonthlyPays monthlyPays_;                        // read at load
    // The books, opened at load and shared by the record sources.
    std::shared_ptr<ledger::Store> books_;

    QPushButton* lastMonth_ = nullptr;    // Command1
    QPushButton* nameInquiry_ = nullptr;  // Command2
    QPushButton* detail_ = nullptr;       // Command3
    QPushButton* print_ = nullptr;        // Command4
};

}  // namespace salary
