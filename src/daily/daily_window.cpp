// SPDX-License-Identifier: GPL-3.0-or-later
// The daily window's load step and commands: Inquiry, New, Save, Print and
// the buttons that open the other windows.

#include "daily/daily_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <limits>

#include "daily/day_text.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "forms/window_printer.h"
#include "forms/workspace.h"
#include "interfaces/history_window_link.h"
#include "interfaces/sheet_commands.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/criteria.h"
#include "ledger/query/quoted_text.h"
#include "ledger/query/typed_text.h"
#include "ledger/records/record_source.h"
#include "ledger/records/wage_posting.h"
#include "ledger/schema/schema.h"

namespace daily {

using forms::FormWindow;

namespace {

// The date field turns this colour at the first Save and keeps it.
constexpr quint32 kSavedDateColour = 1000;

const QString kPersonnelRate = QStringLiteral("Personnel rate");
const QString kDate = QStringLiteral("Date");

// Text criteria are built by plain concatenation, blanks as the shop's
// program has them; an apostrophe in the typed text makes the criterion
// malformed, which the record source reports.
QString dateCriterion(const QString& date) {
    return QStringLiteral("Date like  '") + date + QLatin1Char('\'');
}

// How a button opens its window.
enum class Opening {
    OnThisDay,           // show, then press its "By here day" (Command1)
    Show,                // show it
    ShowAndLockInquiry,  // show it, then disable Inquiry for good
};

}  // namespace

struct Form1::WindowButton {
    QPushButton* button;
    QString window;
    Opening opening;
};

Form1::Form1() : FormWindow(QStringLiteral("Form1")) {
    buildControls();
    figures_ = std::make_unique<settlement::SettlementChain>(this, figureControls_,
                                                             settlement::Sheet::Day);
    connectCommands();
    // The wage window adds to the Personnel rate as it is stored: a figure
    // typed over it after another till added a wage would drop that wage.
    data1_->source().setConflictAdvice(
        kPersonnelRate,
        QStringLiteral("The Personnel rate holds the wages saved for the day, so storing your "
                       "figure in its place would drop the wages added meanwhile. Type the stored "
                       "figure (\"%1\") back, with your own change added to it, then Save."));
    // One sheet per date unless the user asks for a second: however a new
    // day is stored (Save, a move, Inquiry, closing the window), a date
    // stored meanwhile by this till or another is never filed twice unasked.
    // Save asks what to do; every other way says so and keeps the sheet.
    data1_->source().setDistinctColumn(
        kDate, QStringLiteral("To store it all the same, or to see the stored day instead, press "
                              "Save."));
    // A date no month counts is asked about however the day is stored:
    // Save, a move, Inquiry, New or closing the window. No keeps it here.
    data1_->source().setStoringQuestion(
        kDate, [this](const QString& date) { return agreesToStoreDate(date); });
}

Form1::~Form1() = default;

QString Form1::dayShown() const { return fields_.date->text(); }

bool Form1::showsStoredDay() const {
    const ledger::RecordSource& days = data1_->source();
    return days.isOpen() && days.hasCurrentRow() && !days.isNewRow();
}

ledger::Bookmark Form1::storedDay() const { return data1_->source().bookmark(); }

void Form1::takePurchaseSubtotal(Purchase which, const QString& subtotal) {
    QLineEdit* field = which == Purchase::Tableware ? fields_.tableware : fields_.shopArticles;
    forms::raiseReactionErrors([&] { field->setText(subtotal); });
}

void Form1::showDay(ledger::Bookmark day) { data1_->source().showRow(day); }

void Form1::bringForward() { forms::bringForward(this); }

std::vector<Form1::WindowButton> Form1::windowButtons() const {
    return {{tablewareDetail_, windows::kTablewareSheet, Opening::OnThisDay},
            {shopArticlesDetail_, windows::kShopArticlesSheet, Opening::OnThisDay},
            {monthly_, windows::kMonthSheet, Opening::Show},
            {wages_, windows::kWageWindow, Opening::ShowAndLockInquiry},
            {staffRegister_, windows::kStaffRegister, Opening::Show},
            {salary_, windows::kSalaryWindow, Opening::Show},
            {dayWages_, windows::kDayWages, Opening::Show}};
}

void Form1::loadStep() {
    data1_->source().setDatabasePath(forms::workspace().books());
    adaptToScreenDensity();
    enableWindowButtons();
    // The record source opens after this step: the fields are still empty,
    // so every figure shows 0 until the first day fills them.
    figures_->recalculateAll();
}

void Form1::showHistoryOfDay() {
    const QString day = dayShown();
    if (day.trimmed().isEmpty()) {
        forms::tell(this, QStringLiteral("Show a day first: its history is listed by its date."));
        return;
    }
    history::openHistoryOfDay(day);
}

void Form1::enableWindowButtons() {
    // A button whose window this program cannot create stays disabled rather
    // than doing nothing when pressed.
    for (const WindowButton& b : windowButtons())
        b.button->setEnabled(FormWindow::canCreate(b.window));
}

void Form1::connectCommands() {
    using forms::connectGuarded;
    connectGuarded(inquiry_, &QPushButton::clicked, this, [this] { inquiry(); });
    connectGuarded(new_, &QPushButton::clicked, this, [this] { beginNewDay(); });
    connectGuarded(save_, &QPushButton::clicked, this, [this] { saveDay(); });
    connectGuarded(print_, &QPushButton::clicked, this, [this] { printSheet(); });
    // The year at a glance has no button on the shop's sheet: Ctrl+G opens it.
    auto* yearAtAGlance = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connectGuarded(yearAtAGlance, &QShortcut::activated, this,
                   [] { forms::openWindow(windows::kYearAtAGlance); });
    // The changes the books recorded of the day shown: Ctrl+H or its button.
    auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    connectGuarded(history, &QShortcut::activated, this, [this] { showHistoryOfDay(); });
    connectGuarded(history_, &QPushButton::clicked, this, [this] { showHistoryOfDay(); });
    // The wages of the day shown, all at once: Ctrl+D, as the button beside.
    auto* dayWages = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connectGuarded(dayWages, &QShortcut::activated, this, [this] { dayWages_->click(); });

    for (const WindowButton& b : windowButtons()) {
        const QString name = b.window;
        const Opening opening = b.opening;
        connectGuarded(b.button, &QPushButton::clicked, this, [this, name, opening] {
            FormWindow* window = forms::openWindow(name);
            if (opening == Opening::OnThisDay) {
                auto* sheet = dynamic_cast<supplies::SheetCommands*>(window);
                if (!sheet)
                    ledger::fail(
                        ledger::ErrorCode::InvalidOperation,
                        QStringLiteral("The window %1 has no command to find a day.").arg(name));
                sheet->byHereDayButton()->click();
            } else if (opening == Opening::ShowAndLockInquiry) {
                // While wages are entered the day shown stays put; once the
                // wage window is gone, another day can be found again (a
                // wage's Save checks its own day in any case).
                inquiry_->setEnabled(false);
                connect(window, &QObject::destroyed, inquiry_,
                        [inquiry = inquiry_] { inquiry->setEnabled(true); });
            }
        });
    }
}

void Form1::inquiry() {
    ledger::RecordSource& days = data1_->source();
    // The current row is remembered before the user is asked: on an empty
    // ledger there is none, and the command ends here.
    days.bookmark();
    const QString answer = ledger::withoutOuterBlanks(forms::prompts().input(
        this, QStringLiteral("Please input date"), QStringLiteral("Inquiry"), QString()));
    ledger::guardedFind(days, dateCriterion(answer));
}

void Form1::beginNewDay() {
    if (!forms::prompts().askYesNo(this, QStringLiteral("Whether fix and increase newly!"),
                                   forms::programTitle()))
        return;
    data1_->source().addNew();
}

void Form1::saveDay() {
    // The date as typed, blanks included: the find after storing looks for
    // exactly that text.
    const QString date = dayShown();
    ledger::RecordSource& days = data1_->source();
    if (days.isOpen() && days.hasEdits() && !date.isEmpty() && !storeDay(date)) return;
    const QString criterion = dateCriterion(date);
    if (ledger::Criterion::isWellFormed(criterion)) {
        days.refresh();
        // An empty ledger has no day to show again.
        if (days.hasCurrentRow()) ledger::guardedFind(days, criterion);
    } else {
        // A date with an apostrophe or a bracket cannot be searched for. The
        // day is stored all the same; show that very row, not the first day
        // and an error that would invite typing it in again.
        days.writeBack();
        const ledger::Bookmark stored = days.bookmark();
        days.refresh();
        days.setBookmark(stored);
    }
    forms::setForeground(fields_.date, kSavedDateColour);
}

bool Form1::agreesToStoreDate(const QString& date) {
    QString question;
    switch (dayFormOf(date)) {
        case DayForm::CalendarDay:
            return true;
        case DayForm::Undated:
            question = date.trimmed().isEmpty()
                           ? QStringLiteral(
                                 "This day has no date, so it will not be counted in any month. "
                                 "Save it anyway?")
                           : QStringLiteral(
                                 "The date \"%1\" is not a day written year/month/day (like "
                                 "2026/12/5), so this day will not be counted in any month. Save "
                                 "it anyway?")
                                 .arg(date);
            break;
        case DayForm::NoSuchDay:
            question = QStringLiteral(
                           "The date \"%1\" is not a calendar day (like 2026/12/5), so this day "
                           "will not be counted in any month. Save it anyway?")
                           .arg(date);
            break;
        case DayForm::OtherDay:
            question = QStringLiteral(
                           "The date \"%1\" is not a calendar day written year/month/day without "
                           "leading zeros (like 2026/12/5), so Inquiry will not find the day as a "
                           "day is usually typed. Save it anyway?")
                           .arg(date);
            break;
    }
    return forms::prompts().askYesNoDefaultNo(
        this,
        question + QStringLiteral("\n\n(No stores nothing: the day stays here as typed. Type its "
                                  "date as year/month/day, like 2026/12/5, then Save.)"),
        forms::programTitle());
}

bool Form1::storeDay(const QString& date) {
    ledger::RecordSource& days = data1_->source();
    // The record source refuses a date another sheet holds (for a new day
    // the store looks and stores in one step, so a sheet stored by another
    // till a moment ago is found too). Should that sheet be removed again
    // before it is shown, the day is tried once more.
    for (int tries = 1;; ++tries) {
        try {
            days.writeBack();
            return true;
        } catch (const ledger::LedgerError& e) {
            if (e.code() != ledger::ErrorCode::AlreadyStored || tries == 3) throw;
        }
        // Taken in, the stored sheet can be shown.
        days.takeInNewRows();
        if (const std::optional<ledger::Bookmark> stored =
                days.lookUp(kDate + QStringLiteral(" = ") + ledger::quotedText(date)))
            return days.isNewRow() ? confirmSecondSheet(date, *stored)
                                   : confirmDateOfAnotherSheet(date, *stored);
    }
}

bool Form1::confirmSecondSheet(const QString& date, const ledger::Bookmark& stored) {
    return confirmSheetOfStoredDate(
        stored, QStringLiteral("Save a second sheet"),
        QStringLiteral("A day dated %1 is already stored (by this till or another). Saving this "
                       "new sheet would make a second sheet for the same date, and the day's "
                       "figures would be split between the two.\n\n"
                       "Show the stored day: this new sheet is given up (what was typed on it is "
                       "not stored) and the stored day is shown.\n"
                       "Save a second sheet: this sheet is stored as well.\n"
                       "Stay: nothing is stored and this sheet stays as typed (to change its "
                       "date, say).")
            .arg(date));
}

bool Form1::confirmDateOfAnotherSheet(const QString& date, const ledger::Bookmark& stored) {
    return confirmSheetOfStoredDate(
        stored, QStringLiteral("Save with this date"),
        QStringLiteral("A day dated %1 is already stored (by this till or another). Changing this "
                       "day's date to %1 would make two sheets for the same date, and the day's "
                       "figures would be split between the two.\n\n"
                       "Show the stored day: the changes to this day are given up (nothing is "
                       "stored) and the stored day is shown.\n"
                       "Save with this date: this day is stored with the date %1 as well.\n"
                       "Stay: nothing is stored and this day stays as typed (to change its date "
                       "again, say).")
            .arg(date));
}

bool Form1::confirmSheetOfStoredDate(const ledger::Bookmark& stored, const QString& saveCaption,
                                     const QString& question) {
    ledger::RecordSource& days = data1_->source();
    const QStringList buttons = {QStringLiteral("Show the stored day"), saveCaption,
                                 QStringLiteral("Stay")};
    // Stay first: Enter never gives up what was typed.
    const int choice =
        forms::prompts().choose(this, question, forms::programTitle(), buttons, 2, 2);
    if (choice == 1) {
        days.writeBackAllowingRepeat();
        return true;
    }
    if (choice == 0) {
        days.discardEdits();
        days.setBookmark(stored);
    }
    return false;
}

bool Form1::addWageToDay(ledger::RecordSource& wageRows, const QString& wageDay, qint32 wage) {
    const WageStep saving{QStringLiteral("Save the wage again"),
                          QStringLiteral(" Nothing was stored or added.")};
    if (!dayReadyForWages(wageDay, saving)) return false;
    ledger::storeWageWithDay(wageRows, data1_->source(), wageDay, wage);
    return true;
}

bool Form1::addWagesToDay(ledger::RecordSource& wageRows, const QString& wageDay,
                          const std::vector<ledger::NewWage>& wages, const QString& attempt) {
    const WageStep saving{QStringLiteral("Save the wages again"),
                          QStringLiteral(" Nothing was stored or added.")};
    if (!dayReadyForWages(wageDay, saving)) return false;
    ledger::storeWagesWithDay(wageRows, data1_->source(), wageDay, wages, attempt);
    return true;
}

bool Form1::dayReadyForWages(const QString& wageDay, const WageStep& step) {
    if (!dayCanTakeWage(wageDay, step)) return false;
    if (const QString rate = fields_.personnelRate->text(); !ledger::parseStoredAmount(rate)) {
        // The figure the wage is added to: said as the daily window's own,
        // not as a figure of the wage window.
        tellDayCannotTakeWage(
            QStringLiteral("The Personnel rate of the day %1 in the daily settlement window holds "
                           "\"%2\", which is not a number, so the wage cannot be added to it. "
                           "Correct the Personnel rate there (a number such as 1200, or nothing "
                           "for none yet), then %3.")
                .arg(dayShown(), rate, step.retry),
            step);
        return false;
    }
    // What was typed into the day is stored first, as the day's own Save
    // stores it; when it cannot be, the day's message says why and the wage
    // waits.
    data1_->source().writeBack();
    return true;
}

bool Form1::takeWageOffDay(ledger::RecordSource& wageRows, const QString& wageDay, qint32 wage) {
    const WageStep removing{QStringLiteral("Delete the wage again"),
                            QStringLiteral(" Nothing was removed or taken off.")};
    if (!dayCanTakeWage(wageDay, removing)) return false;
    // Figures typed into the day are the user's to store or give up: the
    // wage is not taken off a day whose sheet says something else.
    if (data1_->source().hasEdits()) {
        tellDayCannotTakeWage(
            QStringLiteral("The day %1 in the daily settlement window has changes not saved yet. "
                           "Save the day there first (Save), or give the changes up, then "
                           "Delete the wage again.")
                .arg(dayShown()),
            removing);
        return false;
    }
    ledger::removeWageFromDay(wageRows, data1_->source(), wageDay, wage);
    return true;
}

bool Form1::dayCanTakeWage(const QString& wageDay, const WageStep& step) {
    const ledger::RecordSource& days = data1_->source();
    if (!days.isOpen() || days.isNewRow() || !days.hasCurrentRow()) {
        tellDayCannotTakeWage(
            QStringLiteral("The day shown in the daily settlement window has not been saved yet, "
                           "so there is no stored day to add the wage to. Save the day there "
                           "first (Save), then %1.")
                .arg(step.retry),
            step);
        return false;
    }
    if (fields_.date->isChanged()) {
        tellDayCannotTakeWage(
            QStringLiteral("The date of the day shown in the daily settlement window was changed "
                           "to \"%1\" and not saved. Save the day there first (Save), then %2.")
                .arg(dayShown(), step.retry),
            step);
        return false;
    }
    if (dayShown() != wageDay) {
        tellDayCannotTakeWage(
            QStringLiteral("This wage is for the day %1, but the daily settlement window shows "
                           "the day %2. The wage goes with the Personnel rate of the day shown "
                           "there. Show the day %1 in the daily settlement window, then %3.")
                .arg(wageDay.isEmpty() ? QStringLiteral("(none)") : wageDay,
                     dayShown().isEmpty() ? QStringLiteral("(none)") : dayShown(), step.retry),
            step);
        return false;
    }
    return true;
}

void Form1::tellDayCannotTakeWage(const QString& why, const WageStep& step) {
    forms::tell(this, why + step.nothingDone);
}

void Form1::printSheet() { forms::printWindow(this); }

}  // namespace daily
