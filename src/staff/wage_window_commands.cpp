// SPDX-License-Identifier: GPL-3.0-or-later
// The wage window's load step and commands: New, Save, the name list that
// opens the staff register, the rate transfer the register performs, and
// what becomes of a wage row begun and not saved.

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "forms/workspace.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "interfaces/history_window_link.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/quoted_text.h"
#include "ledger/records/record_source.h"
#include "staff/staff_register.h"
#include "staff/wage_arithmetic.h"
#include "staff/wage_window.h"

namespace staff {

using forms::connectGuarded;
using forms::FormWindow;

void Form5::loadStep() {
    for (forms::DataControl* data : {data_, staff_, choices_})
        data->source().setDatabasePath(forms::workspace().books());
    bindMonthlyPayWhereRecorded();
    // The fields are still empty, so every figure starts at "0".
    copySalaryHour();
    computeMainTotal();
    copyOvertimeSalaryHour();
    computeOvertimeTotal();
    computeSubtotal();
    computeDeductions();
    computeWage();
    // Browsing: the stored wage rows can be looked at, not edited.
    save_->setEnabled(false);
    setDataFieldsEnabled(false);
    // Disabled rather than doing nothing where this program has no History….
    history_->setEnabled(FormWindow::canCreate(windows::kHistoryWindow));
}

void Form5::showHistoryOfDay() {
    const QString day = date_->text().trimmed();
    if (day.isEmpty())
        ledger::fail(ledger::ErrorCode::NoCurrentRecord,
                     QStringLiteral("This wage row has no date yet, so it has no history."));
    history::openHistoryOfDay(day);
}

void Form5::connectCommands() {
    connectGuarded(new_, &QPushButton::clicked, this, [this] { beginNewRow(); });
    connectGuarded(save_, &QPushButton::clicked, this, [this] { saveWage(); });
    connectGuarded(delete_, &QPushButton::clicked, this, [this] { deleteWage(); });
    // The changes the books recorded of the wage row's day, its wage rows
    // among them (a removed one can be brought back there): its button or
    // Ctrl+H.
    connectGuarded(history_, &QPushButton::clicked, this, [this] { showHistoryOfDay(); });
    auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    connectGuarded(history, &QShortcut::activated, this, [this] { showHistoryOfDay(); });
    connectGuarded(dayWages_, &QPushButton::clicked, this,
                   [] { forms::openWindow(windows::kDayWages); });
    auto* dayWages = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connectGuarded(dayWages, &QShortcut::activated, this, [this] { dayWages_->click(); });
    // Releasing the mouse over the name list (its text or its button) opens
    // the staff register at the name in it.
    name_->installEventFilter(this);
    name_->lineEdit()->installEventFilter(this);
    name_->view()->viewport()->installEventFilter(this);
    connectGuarded(name_, &forms::BoundCombo::valueChanged, this,
                   [this](const QString& name) { nameChanged(name); });
    // The bar never leaves a wage row begun here without asking.
    data_->setMoveGuard([this] { return settleUnsavedWage() != Leaving::Stay; });
    connectGuarded(&data_->source(), &ledger::RecordSource::currentRowChanged, this,
                   [this] { followRow(); });
}

bool Form5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return FormWindow::eventFilter(watched, event);
    if (watched == name_ || watched == name_->lineEdit()) {
        forms::runGuarded(this, [this] { openRegisterAtChosenName(); });
    } else if (watched == name_->view()->viewport()) {
        // A release over the drop-down list chooses a name; the list takes
        // the choice only after this filter, so open the register once the
        // release has been handled.
        QMetaObject::invokeMethod(
            this, [this] { forms::runGuarded(this, [this] { openRegisterAtChosenName(); }); },
            Qt::QueuedConnection);
    } else if (watched == askForLeave_->lineEdit()) {
        forms::runGuarded(this, [this] { applyLeaveOrAbsence(askForLeave_); });
    } else if (watched == absent_->lineEdit()) {
        forms::runGuarded(this, [this] { applyLeaveOrAbsence(absent_); });
    }
    return FormWindow::eventFilter(watched, event);
}

bool Form5::isEnteringNewRow() const { return entering_ && data_->source().isNewRow(); }

std::optional<ledger::Bookmark> Form5::chosenEmployee() {
    const QString name = name_->currentText();
    if (name.isEmpty()) return std::nullopt;
    ledger::RecordSource& staff = staff_->source();
    if (!staff.isOpen()) return std::nullopt;
    // Picked from the list: that very row, even when two employees share
    // the name. The list holds the register's rows in their order.
    const int picked = name_->currentIndex();
    if (picked >= 0 && picked < staff.rowCount() && name_->itemText(picked) == name)
        return staff.bookmarkAt(picked);
    // Typed: the first employee of that very name, whatever it holds.
    staff.takeInNewRows();
    return staff.lookUp(QStringLiteral("Name like ") +
                        ledger::quotedText(ledger::likeLiteral(name)));
}

void Form5::setDataFieldsEnabled(bool enabled) {
    for (QWidget* field : std::initializer_list<QWidget*>{
             date_, serialNumber_, name_, salaryHour_, overtimeSalaryHour_, askForLeave_, absent_,
             insurance_, absentDeduct_, mainHour_, workOvertime_})
        field->setEnabled(enabled);
}

void Form5::setRatesReadOnly(bool readOnly) {
    salaryHour_->setReadOnly(readOnly);
    overtimeSalaryHour_->setReadOnly(readOnly);
}

void Form5::followRow() {
    // A stored row (the bar, or a wage just saved) is looked at, not edited.
    if (!data_->source().isNewRow()) entering_ = false;
    if (!entering_) {
        save_->setEnabled(false);
        setDataFieldsEnabled(false);
    }
    lockHoursAsTheListsShow();
    showDeleteForStoredRow();
}

void Form5::beginNewRow() {
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    if (!daily) {
        tellDailyWindowClosed();
        return;
    }
    if (settleUnsavedWage() == Leaving::Stay) return;
    const QString day = daily->dayShown();
    data_->source().addNew();
    date_->setText(day);
    save_->setEnabled(true);
    setDataFieldsEnabled(true);
    // A new row has no carried rates: they are typed, or carried by Login.
    carriedName_.clear();
    setRatesReadOnly(false);
    entering_ = true;
    lockHoursAsTheListsShow();
}

void Form5::openRegisterAtChosenName() {
    const QString name = name_->currentText();
    // A name that is no employee's has no rates to carry: say so rather
    // than open the register at someone else.
    if (!name.isEmpty() && !chosenEmployee()) {
        forms::tell(this, QStringLiteral(
                              "\"%1\" is not in the staff register, so there are no rates to "
                              "carry over. Nothing was carried.\n\nChoose the name from the list, "
                              "or add the employee first (\"The staff revise materials\" in the "
                              "daily settlement window).")
                              .arg(name));
        return;
    }
    auto* reg = forms::loadWindowAs<Form6>(windows::kStaffRegister);
    forms::bringForward(reg);
    // A failing search ends the command here, before the register is set up
    // for the transfer.
    forms::raiseReactionErrors([reg] { reg->byThisNameButton()->click(); });
    reg->offerOnlyLogin();
}

void Form5::takeRates(const QString& name, const QString& salaryHour,
                      const QString& overtimeSalaryHour, const QString& serialNumber,
                      const std::optional<QString>& monthlyPay) {
    carrying_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{carrying_};
    // The name first: the rates that follow are this employee's.
    carriedName_ = name;
    forms::raiseReactionErrors([&] { name_->setEditText(name); });
    // A failing figure ends the transfer at that step, as a typed value would.
    setFieldText(salaryHour_, salaryHour);
    salaryHourCopy_->setText(salaryHour);
    setFieldText(overtimeSalaryHour_, overtimeSalaryHour);
    overtimeSalaryHourCopy_->setText(overtimeSalaryHour);
    setFieldText(serialNumber_, serialNumber);
    // Carried from the register, the rates are not typed over.
    setRatesReadOnly(true);
    // Last, so the monthly pay stays in the wage until something changes.
    // The row records it where it can, so what Save adds can be read from
    // the row; a transfer without it gives up one carried before.
    if (monthlyPay_) {
        setFieldText(monthlyPay_, monthlyPay.value_or(QString()));
    } else if (monthlyPay) {
        wage_->setText(*monthlyPay);
        unrecordedMonthlyPay_ = true;
    }
}

void Form5::nameChanged(const QString& name) {
    if (carrying_ || name_->isFilling() || carriedName_.isEmpty() || name == carriedName_) return;
    forgetCarriedRates();
}

void Form5::forgetCarriedRates() {
    // Another employee now: the rates carried for the one before do not
    // belong to this name. They go, and Login carries this one's.
    carriedName_.clear();
    setRatesReadOnly(false);
    setFieldText(salaryHour_, QString());
    setFieldText(overtimeSalaryHour_, QString());
    setFieldText(serialNumber_, QString());
}

void Form5::saveWage() {
    if (!storeWage()) return;
    save_->setEnabled(false);
    unload();
}

bool Form5::nameIsInRegister() {
    const QString name = name_->currentText();
    if (name.isEmpty()) {
        forms::tell(this, QStringLiteral(
                              "This wage has no name, so no month's salary would count it. Nothing "
                              "was stored or added.\n\nChoose the employee in the Name list: the "
                              "staff register opens at that employee; press Login there to carry "
                              "the name and rates over. Then Save again."));
        return false;
    }
    if (chosenEmployee()) return true;
    forms::tell(
        this,
        QStringLiteral("\"%1\" is not in the staff register, so no month's salary would count "
                       "this wage. Nothing was stored or added.\n\nChoose the name from the list "
                       "(or add the employee first with \"The staff revise materials\"), then "
                       "Save again.")
            .arg(name));
    return false;
}

bool Form5::storeWage() {
    if (!isEnteringNewRow()) {
        forms::tell(
            this,
            QStringLiteral("This wage row is stored already and counted in its day, so Save adds "
                           "nothing. To enter another wage, press New."));
        return false;
    }
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    if (!daily) {
        tellDailyWindowClosed();
        return false;
    }
    if (!nameIsInRegister()) return false;
    if (!agreesToHours()) return false;
    // A wage the ledger cannot take ends Save here, with every field still
    // open for correcting.
    const qint32 wage = wholeWage(ledger::parseAmount(wage_->text()), QStringLiteral("The wage"));
    bool stored = false;
    try {
        stored = daily->addWageToDay(data_->source(), date_->text(), wage);
    } catch (const ledger::LedgerError& error) {
        setUnconfirmed(error.code() == ledger::ErrorCode::OutcomeUnknown);
        throw;
    }
    setUnconfirmed(false);
    if (!stored) return false;
    entering_ = false;
    carriedName_.clear();
    if (unrecordedMonthlyPay_) tellMonthlyPayNotRecorded();
    return true;
}

void Form5::tellMonthlyPayNotRecorded() {
    unrecordedMonthlyPay_ = false;
    forms::tell(this, QStringLiteral(
                          "The wage was stored and added to the day. These books were made by an "
                          "earlier version, so the wage row cannot record that its wage was the "
                          "monthly pay: the salary window and the wage detail price its hours "
                          "instead.\n\nTo have wage rows record the monthly pay, run "
                          "\"tallowbrook-db check\" on the books once."));
}

void Form5::setUnconfirmed(bool unconfirmed) {
    if (unconfirmed == unconfirmed_) return;
    unconfirmed_ = unconfirmed;
    setDataFieldsEnabled(!unconfirmed);
    new_->setEnabled(!unconfirmed);
    data_->setEnabled(!unconfirmed);
}

bool Form5::hasUnsavedWage() const {
    if (!isEnteringNewRow()) return false;
    // The date alone is New's own doing, not the user's.
    for (const QLineEdit* field :
         {static_cast<const QLineEdit*>(serialNumber_), static_cast<const QLineEdit*>(salaryHour_),
          static_cast<const QLineEdit*>(overtimeSalaryHour_),
          static_cast<const QLineEdit*>(mainHour_), static_cast<const QLineEdit*>(workOvertime_),
          static_cast<const QLineEdit*>(insurance_), static_cast<const QLineEdit*>(absentDeduct_)})
        if (!field->text().isEmpty()) return true;
    for (const QComboBox* list :
         {static_cast<const QComboBox*>(name_), static_cast<const QComboBox*>(askForLeave_),
          static_cast<const QComboBox*>(absent_)})
        if (!list->currentText().isEmpty()) return true;
    return wage_->text() != QLatin1String("0");
}

Form5::Leaving Form5::settleUnsavedWage() {
    if (!isEnteringNewRow()) return Leaving::GivenUp;
    if (!hasUnsavedWage()) {
        // Nothing but the date: nothing to keep.
        data_->source().discardEdits();
        entering_ = false;
        return Leaving::GivenUp;
    }
    const QStringList buttons = {QStringLiteral("Save this wage (it is added to the day)"),
                                 QStringLiteral("Give it up"), QStringLiteral("Stay")};
    const QString question =
        unconfirmed_ ? QStringLiteral(
                           "The database server did not confirm whether it stored this wage of "
                           "%1 for %2. Save asks it first and never stores the wage twice; "
                           "Give it up leaves it as the server has it (stored with its day, or "
                           "not at all).")
                     : QStringLiteral(
                           "This wage of %1 for %2 has not been saved. A wage row is stored "
                           "only together with its day's Personnel rate: save it now, or give "
                           "it up (nothing of it is stored).");
    const int choice = forms::prompts().choose(
        this,
        question.arg(wage_->text(), name_->currentText().isEmpty() ? QStringLiteral("(no name)")
                                                                   : name_->currentText()),
        forms::programTitle(), buttons, 2, 2);
    if (choice == 0) {
        bool saved = false;
        // Asked from the close box too, outside every command: the failure
        // is shown here and the wage stays.
        forms::runReporting(this, [&] { saved = storeWage(); });
        return saved ? Leaving::Saved : Leaving::Stay;
    }
    if (choice == 1) {
        data_->source().discardEdits();
        entering_ = false;
        carriedName_.clear();
        setUnconfirmed(false);
        return Leaving::GivenUp;
    }
    return Leaving::Stay;
}

bool Form5::readyToUnload() { return settleUnsavedWage() != Leaving::Stay; }

void Form5::tellDailyWindowClosed() {
    // The daily window opens only at login, so the user cannot bring it back
    // from here; closing this window still asks what to do with the wage.
    windows::tellDailyWindowClosed(this,
                                   QStringLiteral("no day to date a wage with or to add it to"));
}

}  // namespace staff
