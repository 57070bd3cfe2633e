#pragma once

#include <optional>
#include <vector>

#include "forms/form_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
class RecordSource;
}

namespace ledger::ui {
class BoundCombo;
class BoundLineEdit;
class ComputedFigure;
class DataControl;
}  // namespace ledger::ui

namespace staff {

// "The staff calculate wages": one employee's wage for one business day.
// New begins a wage row dated from the daily window's day; the employee's
// rates come from the staff register (its Login); the wage is computed on
// every change, and Save adds it, rounded, to the day's Personnel rate in
// the daily window, stores the row and closes.
class Form5 : public ledger::ui::FormWindow {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    ledger::RecordSource& records();
    // The name chosen in the list (DBCombo1), as the staff register looks it up.
    QString chosenName() const;

    // Whether a wage row begun with New is being entered and not yet stored:
    // the only row the staff register may carry rates into.
    bool isEnteringNewRow() const;

    // The staff register's rate transfer, in its order: salary hour, overtime
    // salary hour, serial number, and for a monthly-paid employee the monthly
    // pay as the day's wage. Each write is a change like a keystroke.
    void takeRates(const QString& salaryHour, const QString& overtimeSalaryHour,
                   const QString& serialNumber, const std::optional<QString>& monthlyPay);

protected:
    void loadStep() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (form5.cpp).
    void buildTitleRow();
    void buildLeftColumn();
    void buildMiddleColumn();
    void buildRightColumn();
    void buildBottomRow();
    void orderKeyboardFocus();
    void centreOnScreen();
    QLabel* addCaption(const QString& name, const QString& text, quint32 background, int left,
                       int top, int width);
    ledger::ui::BoundLineEdit* addField(const QString& name, const QString& column, int left,
                                        int top);
    ledger::ui::BoundCombo* addList(const QString& name, ledger::ui::DataControl* listSource,
                                    const QString& column, int left, int top);
    ledger::ui::ComputedFigure* addFigure(const QString& name, quint32 background, int left,
                                          int top, int width, int height);

    // Figures and the reactions that keep them current (form5_figures.cpp).
    void connectTriggers();
    void copySalaryHour();          // Label19
    void copyOvertimeSalaryHour();  // Label21
    void computeMainTotal();        // Label20
    void computeOvertimeTotal();    // Label22
    void computeSubtotal();         // Label23
    void computeDeductions();       // Label24
    void computeWage();             // Label25
    void applyLeaveOrAbsence(const QComboBox* list);
    void setFieldText(QLineEdit* field, const QString& text);

    // Commands (form5_commands.cpp).
    void connectCommands();
    void beginNewRow();               // Command3 "New"
    void saveWage();                  // Command1 "Save"
    void openRegisterAtChosenName();  // mouse release over DBCombo1
    void setDataFieldsEnabled(bool enabled);
    void setHoursReadOnly(bool readOnly);
    void tellWageIsForAnotherDay(const QString& shownDay);

    ledger::ui::DataControl* data_ = nullptr;     // Data1: the wage rows
    ledger::ui::DataControl* staff_ = nullptr;    // Data2: the names
    ledger::ui::DataControl* choices_ = nullptr;  // Data3: Select, yes / no

    QLineEdit* title_ = nullptr;                               // Text12, unbound
    ledger::ui::BoundLineEdit* date_ = nullptr;                // Text1
    ledger::ui::BoundLineEdit* serialNumber_ = nullptr;        // Text2
    ledger::ui::BoundCombo* name_ = nullptr;                   // DBCombo1
    ledger::ui::BoundLineEdit* salaryHour_ = nullptr;          // Text4
    ledger::ui::BoundLineEdit* overtimeSalaryHour_ = nullptr;  // Text5
    ledger::ui::BoundCombo* askForLeave_ = nullptr;            // DBCombo2
    ledger::ui::BoundCombo* absent_ = nullptr;                 // DBCombo3
    ledger::ui::BoundLineEdit* mainHour_ = nullptr;            // Text7
    ledger::ui::BoundLineEdit* workOvertime_ = nullptr;        // Text9
    ledger::ui::BoundLineEdit* insurance_ = nullptr;           // Text13
    ledger::ui::BoundLineEdit* absentDeduct_ = nullptr;        // Text14

    ledger::ui::ComputedFigure* salaryHourCopy_ = nullptr;          // Label19
    ledger::ui::ComputedFigure* mainTotal_ = nullptr;               // Label20
    ledger::ui::ComputedFigure* overtimeSalaryHourCopy_ = nullptr;  // Label21
    ledger::ui::ComputedFigure* overtimeTotal_ = nullptr;           // Label22
    ledger::ui::ComputedFigure* subtotal_ = nullptr;                // Label23
    ledger::ui::ComputedFigure* deductions_ = nullptr;              // Label24
    ledger::ui::ComputedFigure* wage_ = nullptr;                    // Label25

    QPushButton* save_ = nullptr;  // Command1
    QPushButton* new_ = nullptr;   // Command3

    // Browsing until New; Entering from then on, for the window's life.
    bool entering_ = false;
};

}  // namespace staff
