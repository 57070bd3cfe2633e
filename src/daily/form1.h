#pragma once

#include <memory>

#include "form_window.h"

class QLineEdit;
class QPushButton;

namespace ledger::ui {
class DataControl;
}

namespace daily {

class DailyFigures;

// The daily settlement window: one day row of the ledger with its amounts,
// the eight computed figures, the day commands (Inquiry, New, Save, Print)
// and the buttons that open every other window. It is the program's main
// window from the login on.
class Form1 : public ledger::ui::FormWindow {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    ledger::ui::DataControl* data1() const { return data1_; }

protected:
    void loadStep() override;

private:
    // form1_layout.cpp
    void buildControls();
    void buildAmountFields();
    void buildFigures();
    void buildHeader();
    void buildButtons();
    void buildDecoration();
    void adaptToScreenDensity();

    // form1.cpp
    void connectCommands();
    void enableWindowButtons();
    void inquiry();
    void beginNewDay();
    void saveDay();
    void printSheet();

    QPushButton* button(const char* name) const;
    QLineEdit* dateField() const;

    ledger::ui::DataControl* data1_ = nullptr;
    std::unique_ptr<DailyFigures> figures_;
};

}  // namespace daily
