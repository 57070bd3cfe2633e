// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "forms/form_window.h"
#include "ledger/records/field_binding.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
class RecordSource;
class Store;
}

namespace forms {
class BoundCombo;
class BoundLineEdit;
class ComputedFigure;
class DataControl;
}  // namespace forms

namespace staff {

// "The staff calculate wages": one employee's wage for one business day.
// New begins a wage row dated from the daily window's day; the employee's
// name and rates come from the staff register (its Login); the wage is
// computed on every change, and Save stores the row and adds the wage,
// rounded, to the day's Personnel rate, both at once, then closes. A wage
// row is stored only that way: never by a move, a second New or closing,
// which ask first, so no wage is ever stored without being counted. Delete
// removes a stored wage row and takes what it added off its day, both at
// once, then closes: a wrong wage is corrected by Delete, then New.
class Form5 : public forms::FormWindow {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    ledger::RecordSource& records();
    // The staff row of that name: the very row picked in the list, or the
    // first one whose name is the typed text (without regard to case);
    // nullopt when the list is empty or names nobody in the register.
    std::optional<ledger::Bookmark> chosenEmployee();

    // Whether a wage row begun with New is being entered and not yet stored:
    // the only row the staff register may carry rates into.
    bool isEnteringNewRow() const;

    // The staff register's rate transfer, in its order: the employee's name,
    // salary hour, overtime salary hour, serial number, and for a
    // monthly-paid employee the monthly pay as the day's wage. Each write is
    // a change like a keystroke. The carried rates lock; a name changed
    // afterwards gives them up again, so name and rates are one employee's.
    void takeRates(const QString& name, const QString& salaryHour,
                   const QString& overtimeSalaryHour, const QString& serialNumber,
                   const std::optional<QString>& monthlyPay);

protected:
    void loadStep() override;
    bool readyToUnload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (wage_window.cpp).
    void buildTitleRow();
    void buildLeftColumn();
    void buildMiddleColumn();
    void buildRightColumn();
    void buildBottomRow();
    void orderKeyboardFocus();
    void centreOnScreen();
    QLabel* addCaption(const QString& name, const QString& text, quint32 background, int left,
                       int top, int width);
    forms::BoundLineEdit* addField(const QString& name, const QString& column, int left, int top);
    forms::BoundCombo* addList(const QString& name, forms::DataControl* listSource,
                               const QString& column, int left, int top);
    forms::ComputedFigure* addFigure(const QString& name, quint32 background, int left, int top,
                                     int width, int height);

    // Figures and the reactions that keep them current (wage_window_figures.cpp).
    void connectTriggers();
    void copySalaryHour();          // Label19
    void copyOvertimeSalaryHour();  // Label21
    void computeMainTotal();        // Label20
    void computeOvertimeTotal();    // Label22
    void computeSubtotal();         // Label23
    void computeDeductions();       // Label24
    void computeWage();             // Label25
    void applyLeaveOrAbsence(const QComboBox* list);
    void lockHoursAsTheListsShow();
    void setFieldText(QLineEdit* field, const QString& text);
    void nameChanged(const QString& name);
    void forgetCarriedRates();
    // The monthly pay a wage row records (Text15, hidden): made when the
    // books' wage rows can hold it. A change of a figure the wage is
    // computed from gives the monthly pay up again.
    void bindMonthlyPayWhereRecorded();
    void giveUpMonthlyPay(const forms::BoundLineEdit* changed);
    void tellMonthlyPayNotRecorded();

    // Commands (wage_window_commands.cpp).
    void connectCommands();
    void beginNewRow();               // Command3 "New"
    void saveWage();                  // Command1 "Save"
    void openRegisterAtChosenName();  // mouse release over DBCombo1
    // Stores the wage row with its addition to the day; false when it did
    // not (the user was told why).
    bool storeWage();
    bool nameIsInRegister();
    // Hours no day has (negative, more than 24, or none at all for a wage by
    // the hour) are asked about before the wage is stored; false (the
    // default): nothing is stored.
    bool agreesToHours();
    void deleteWage();  // Command2 "Delete"
    // The History… window on the day of the wage row shown.
    void showHistoryOfDay();
    // What this stored row's Save added to its day, read from the row.
    qint32 wageTheRowAdded() const;
    void showDeleteForStoredRow();
    // A wage row begun with New and not saved, before it is left: the user
    // saves it, gives it up or stays. True when it may be left.
    enum class Leaving { Saved, GivenUp, Stay };
    Leaving settleUnsavedWage();
    bool hasUnsavedWage() const;
    void followRow();
    void setDataFieldsEnabled(bool enabled);
    void tellDailyWindowClosed();
    void setHoursReadOnly(bool readOnly);
    void setRatesReadOnly(bool readOnly);
    // After a Save whose outcome the server could not confirm: nothing may
    // change until Save (which asks first) or Give it up settles it.
    void setUnconfirmed(bool unconfirmed);

    forms::DataControl* data_ = nullptr;     // Data1: the wage rows
    forms::DataControl* staff_ = nullptr;    // Data2: the names
    forms::DataControl* choices_ = nullptr;  // Data3: Select, yes / no

    QLineEdit* title_ = nullptr;                          // Text12, unbound
    forms::BoundLineEdit* date_ = nullptr;                // Text1
    forms::BoundLineEdit* serialNumber_ = nullptr;        // Text2
    forms::BoundCombo* name_ = nullptr;                   // DBCombo1
    forms::BoundLineEdit* salaryHour_ = nullptr;          // Text4
    forms::BoundLineEdit* overtimeSalaryHour_ = nullptr;  // Text5
    forms::BoundCombo* askForLeave_ = nullptr;            // DBCombo2
    forms::BoundCombo* absent_ = nullptr;                 // DBCombo3
    forms::BoundLineEdit* mainHour_ = nullptr;            // Text7
    forms::BoundLineEdit* workOvertime_ = nullptr;        // Text9
    forms::BoundLineEdit* insurance_ = nullptr;           // Text13
    forms::BoundLineEdit* absentDeduct_ = nullptr;        // Text14

    forms::ComputedFigure* salaryHourCopy_ = nullptr;          // Label19
    forms::ComputedFigure* mainTotal_ = nullptr;               // Label20
    forms::ComputedFigure* overtimeSalaryHourCopy_ = nullptr;  // Label21
    forms::ComputedFigure* overtimeTotal_ = nullptr;           // Label22
    forms::ComputedFigure* subtotal_ = nullptr;                // Label23
    forms::ComputedFigure* deductions_ = nullptr;              // Label24
    forms::ComputedFigure* wage_ = nullptr;                    // Label25
    // Text15, hidden: the monthly pay in place of the wage by the hour;
    // none in books made before wage rows could record it.
    forms::BoundLineEdit* monthlyPay_ = nullptr;
    // The books, opened at load to look for that column and shared by the
    // record sources, which would otherwise open and read them again.
    std::shared_ptr<ledger::Store> books_;

    QPushButton* save_ = nullptr;      // Command1
    QPushButton* new_ = nullptr;       // Command3
    QPushButton* delete_ = nullptr;    // Command2, for a stored wage row
    QPushButton* dayWages_ = nullptr;  // the wages of the day at once, Ctrl+D
    QPushButton* history_ = nullptr;   // the History… of the row's day, Ctrl+H

    // Entering a row begun with New, until it is saved or left.
    bool entering_ = false;
    bool unconfirmed_ = false;
    bool carrying_ = false;  // inside the register's transfer
    QString carriedName_;    // the employee whose rates the register carried
    // In books whose wage rows cannot record it: the monthly pay carried
    // is the wage now (nothing recomputed it since).
    bool unrecordedMonthlyPay_ = false;
};

}  // namespace staff
