// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "forms/form_window.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/settlement_chain.h"

class QLineEdit;
class QPushButton;

namespace forms {
class BoundLineEdit;
class DataControl;
}  // namespace forms

namespace daily {

// The fields of the day row the window itself and other windows use.
struct DailyFields {
    forms::BoundLineEdit* date = nullptr;           // Text2
    forms::BoundLineEdit* rent = nullptr;           // Text1
    forms::BoundLineEdit* personnelRate = nullptr;  // Text7
    forms::BoundLineEdit* tableware = nullptr;      // Text20
    forms::BoundLineEdit* shopArticles = nullptr;   // Text21
};

// The daily settlement window: one day row of the ledger with its amounts,
// the eight computed figures, the day commands (Inquiry, New, Save, Print)
// and the buttons that open every other window. It is the program's main
// window from the login on.
class Form1 : public forms::FormWindow, public DailyWindowFace {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    forms::DataControl* data1() const { return data1_; }

    // What other windows may ask of the day shown.
    QString dayShown() const override;
    bool showsStoredDay() const override;
    ledger::Bookmark storedDay() const override;
    void takePurchaseSubtotal(Purchase which, const QString& subtotal) override;
    bool addWageToDay(ledger::RecordSource& wageRows, const QString& wageDay, qint32 wage) override;
    bool addWagesToDay(ledger::RecordSource& wageRows, const QString& wageDay,
                       const std::vector<ledger::NewWage>& wages, const QString& attempt) override;
    bool takeWageOffDay(ledger::RecordSource& wageRows, const QString& wageDay,
                        qint32 wage) override;
    void showDay(ledger::Bookmark day) override;
    void bringForward() override;

protected:
    void loadStep() override;

private:
    // Layout (daily_window_layout.cpp).
    void buildControls();
    void buildAmountFields();
    void buildFigures();
    void buildHeader();
    void buildButtons();
    void buildDecoration();
    void adaptToScreenDensity();

    // Commands (daily_window.cpp).
    struct WindowButton;
    std::vector<WindowButton> windowButtons() const;  // the buttons that open windows
    void connectCommands();
    void enableWindowButtons();
    void inquiry();
    void showHistoryOfDay();
    void beginNewDay();
    void saveDay();
    // Before a day is stored with a date typed now (a new day, or a date
    // changed), however it is stored: a date no month counts, or one not in
    // the shop's form, is asked about. False (the default): nothing stored.
    bool agreesToStoreDate(const QString& date);
    // Stores the day unless another sheet holds its date (stored by this
    // till or another, a moment ago included); then the user chooses
    // between that sheet, a second one and staying. False: Save goes no
    // further (the stored day is shown, or this one stays as typed).
    bool storeDay(const QString& date);
    // The question for a new day, and for a stored day given another
    // sheet's date.
    bool confirmSecondSheet(const QString& date, const ledger::Bookmark& stored);
    bool confirmDateOfAnotherSheet(const QString& date, const ledger::Bookmark& stored);
    // Asks what to do with a sheet whose date a stored sheet holds: show the
    // stored one, save anyway (saveCaption), or stay (the default).
    bool confirmSheetOfStoredDate(const ledger::Bookmark& stored, const QString& saveCaption,
                                  const QString& question);
    // What the refusals of a wage say: the step to take again, and what
    // was not done.
    struct WageStep {
        QString retry;
        QString nothingDone;
    };
    // Whether the day shown is the stored day `wageDay`, as typed and
    // stored; false, having told the user why, when it is not.
    bool dayCanTakeWage(const QString& wageDay, const WageStep& step);
    // As dayCanTakeWage, and the Personnel rate a number; what was typed
    // into the day is then stored, as Save stores it. False: told, nothing
    // stored.
    bool dayReadyForWages(const QString& wageDay, const WageStep& step);
    void tellDayCannotTakeWage(const QString& why, const WageStep& step);
    void printSheet();

    forms::DataControl* data1_ = nullptr;
    DailyFields fields_;
    settlement::SheetControls figureControls_;
    std::unique_ptr<settlement::SettlementChain> figures_;

    QPushButton* inquiry_ = nullptr;             // Command1
    QPushButton* tablewareDetail_ = nullptr;     // Command2
    QPushButton* shopArticlesDetail_ = nullptr;  // Command3
    QPushButton* new_ = nullptr;                 // Command4
    QPushButton* save_ = nullptr;                // Command5
    QPushButton* print_ = nullptr;               // Command6
    QPushButton* monthly_ = nullptr;             // Command7
    QPushButton* wages_ = nullptr;               // Command8
    QPushButton* staffRegister_ = nullptr;       // Command9
    QPushButton* salary_ = nullptr;              // Command10
    // Not on the shop's sheet: the day's recorded changes, at the left of
    // the bottom row where the sheet leaves room.
    QPushButton* history_ = nullptr;
    QPushButton* dayWages_ = nullptr;  // wages of the day, Ctrl+D
};

}  // namespace daily
