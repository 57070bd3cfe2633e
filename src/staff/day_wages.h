// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "forms/form_window.h"

class QLabel;
class QPushButton;

namespace ledger {
class RecordSource;
struct NewWage;
}  // namespace ledger

namespace staff {

class ChoiceDelegate;
class DayWageKeys;
class DayWageSheet;
struct DayWageRow;
class ShownColumn;

// "Wages of the day": the wages of the day the daily window shows, entered
// at once. One row for each member of staff not gone by that day, with the
// rates the staff register holds; the hours, leave, absence and deductions
// are typed as in a spreadsheet and each wage follows as the wage window
// computes it. Save stores every typed row and adds their wages, each
// rounded as the wage window's Save rounds it, to the day's Personnel rate,
// all in one transaction, after the wage window's refusals and questions.
// The wages stored for the day are shown above, read-only, and Delete
// removes one, taking what it added off the day.
class DayWages : public forms::FormWindow {
    Q_OBJECT
public:
    DayWages();
    ~DayWages() override;

    // The day whose wages are shown (the daily window's day when read).
    const QString& day() const { return day_; }
    DayWageSheet* sheet() const { return sheet_; }

protected:
    void loadStep() override;
    bool readyToUnload() override;
    bool event(QEvent* event) override;

private:
    // Layout and reading the books (day_wages.cpp).
    void buildControls();
    ledger::RecordSource* openRows(const QString& name, const QString& table);
    // Reads the daily window's day afresh: its stored wages and the staff.
    void readDay();
    void readStoredWages();
    std::vector<DayWageRow> staffOnTheDay();
    QStringList choicesFor(const QString& column);
    QString shownText(const QString& column) const;
    void showTotal();
    void followCurrentRow();

    // Commands (day_wages_commands.cpp).
    void saveWages();
    bool agreesToHours(const std::vector<int>& rows);
    ledger::NewWage newWage(int row) const;
    void deleteStoredWage();
    enum class Leaving { Saved, GivenUp, Stay };
    Leaving settleTypedWages();
    // After a Save whose outcome the server could not confirm: nothing may
    // be typed until Save (which asks first) or Give them up settles it.
    void setUnconfirmed(bool unconfirmed);

    ledger::RecordSource* wageRows_ = nullptr;         // the wage table
    ledger::RecordSource* staffRows_ = nullptr;        // the staff register
    ledger::RecordSource* choices_ = nullptr;          // Select: the yes / no entries
    std::vector<std::unique_ptr<ShownColumn>> shown_;  // a stored wage's columns
    bool monthlyPayRecorded_ = false;

    DayWageSheet* sheet_ = nullptr;
    DayWageKeys* view_ = nullptr;
    ChoiceDelegate* choiceLists_ = nullptr;
    QLabel* dayShown_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;

    QString day_;
    QString attempt_;  // names a Save for its try again, until it lands
    bool unconfirmed_ = false;
};

}  // namespace staff
