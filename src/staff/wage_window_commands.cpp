// The wage window's load step and commands: New, Save, the name list that
// opens the staff register, and the rate transfer the register performs.

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "interfaces/daily_window_fields.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/records/record_source.h"
#include "staff/daily_window_link.h"
#include "staff/staff_register.h"
#include "staff/wage_arithmetic.h"
#include "staff/wage_window.h"

namespace staff {

using ledger::ui::connectGuarded;
using ledger::ui::FormWindow;

void Form5::loadStep() {
    for (ledger::ui::DataControl* data : {data_, staff_, choices_})
        data->source().setDatabasePath(ledger::databasePath());
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
}

void Form5::connectCommands() {
    connectGuarded(new_, &QPushButton::clicked, this, [this] { beginNewRow(); });
    connectGuarded(save_, &QPushButton::clicked, this, [this] { saveWage(); });
    // Releasing the mouse over the name list (its text or its button) opens
    // the staff register at the name in it.
    name_->installEventFilter(this);
    name_->lineEdit()->installEventFilter(this);
    name_->view()->viewport()->installEventFilter(this);
}

bool Form5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return FormWindow::eventFilter(watched, event);
    if (watched == name_ || watched == name_->lineEdit()) {
        ledger::ui::runGuarded(this, [this] { openRegisterAtChosenName(); });
    } else if (watched == name_->view()->viewport()) {
        // A release over the drop-down list chooses a name; the list takes
        // the choice only after this filter, so open the register once the
        // release has been handled.
        QMetaObject::invokeMethod(
            this, [this] { ledger::ui::runGuarded(this, [this] { openRegisterAtChosenName(); }); },
            Qt::QueuedConnection);
    } else if (watched == askForLeave_->lineEdit()) {
        ledger::ui::runGuarded(this, [this] { applyLeaveOrAbsence(askForLeave_); });
    } else if (watched == absent_->lineEdit()) {
        ledger::ui::runGuarded(this, [this] { applyLeaveOrAbsence(absent_); });
    }
    return FormWindow::eventFilter(watched, event);
}

bool Form5::isEnteringNewRow() const { return entering_ && data_->source().isNewRow(); }

QString Form5::chosenName() const { return name_->currentText(); }

void Form5::setDataFieldsEnabled(bool enabled) {
    for (QWidget* field : std::initializer_list<QWidget*>{
             date_, serialNumber_, name_, salaryHour_, overtimeSalaryHour_, askForLeave_, absent_,
             insurance_, absentDeduct_, mainHour_, workOvertime_})
        field->setEnabled(enabled);
}

void Form5::beginNewRow() {
    daily::DailyWindowFields* daily = dailyWindow();
    if (!daily) {
        tellDailyWindowClosed(this);
        return;
    }
    const QLineEdit* day = daily->dateField();
    // Stores a row still pending (without touching the day's Personnel
    // rate), then begins the new one.
    data_->source().addNew();
    date_->setText(day->text());
    save_->setEnabled(true);
    // New lifts no read-only state: the rates stay locked, and the hours
    // stay locked while a yes / no list last said "Yes".
    setDataFieldsEnabled(true);
    entering_ = true;
}

void Form5::openRegisterAtChosenName() {
    auto* reg = qobject_cast<Form6*>(FormWindow::loadWindow(QStringLiteral("Form6")));
    if (!reg)
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The staff register is not part of this program."));
    reg->show();
    reg->raise();
    reg->activateWindow();
    // A failing search ends the command here, before the register is set up
    // for the transfer.
    ledger::ui::raiseReactionErrors([reg] { reg->byThisNameButton()->click(); });
    reg->offerOnlyLogin();
}

void Form5::takeRates(const QString& salaryHour, const QString& overtimeSalaryHour,
                      const QString& serialNumber, const std::optional<QString>& monthlyPay) {
    // A failing figure ends the transfer at that step, as a typed value would.
    setFieldText(salaryHour_, salaryHour);
    salaryHourCopy_->setText(salaryHour);
    setFieldText(overtimeSalaryHour_, overtimeSalaryHour);
    overtimeSalaryHourCopy_->setText(overtimeSalaryHour);
    setFieldText(serialNumber_, serialNumber);
    // Last, so the monthly pay stays in the wage until something changes.
    if (monthlyPay) wage_->setText(*monthlyPay);
}

void Form5::saveWage() {
    daily::DailyWindowFields* daily = dailyWindow();
    if (!daily) {
        tellDailyWindowClosed(this);
        return;
    }
    QLineEdit* personnelRate = daily->personnelRateField();
    const QLineEdit* day = daily->dateField();
    // The wage is added to the day the daily window shows; a wage of another
    // day must not land there.
    if (day->text() != date_->text()) {
        tellWageIsForAnotherDay(day->text());
        return;
    }

    for (ledger::ui::BoundLineEdit* field :
         {date_, serialNumber_, salaryHour_, overtimeSalaryHour_, insurance_, absentDeduct_})
        field->setReadOnly(true);

    // A conversion error ends Save here: the daily window keeps its text,
    // the row stays pending and Save stays enabled.
    const qint32 wage = wholeWage(ledger::parseAmount(wage_->text()), QStringLiteral("the wage"));
    const qint32 current = wholePersonnelRate(personnelRate->text());
    const qint32 sum = checkedWholeSum(current, wage);

    // Store the row before the day's cost counts it: a row that cannot be
    // stored must not be added to the Personnel rate.
    data_->source().writeBack();

    // A change in the daily window like a keystroke; its own write-back
    // stores it with the day. Trouble in its figures is its own to report:
    // the new Personnel rate is in place either way, so Save goes on and
    // cannot add the same wage twice.
    ledger::ui::runReporting(personnelRate->window(),
                             [&] { personnelRate->setText(QString::number(sum)); });
    save_->setEnabled(false);
    data_->source().refresh();
    unload();
}

void Form5::tellWageIsForAnotherDay(const QString& shownDay) {
    ledger::ui::prompts().tell(
        this,
        QStringLiteral("This wage is for the day %1, but the daily settlement window shows the "
                       "day %2. The wage is added to the Personnel rate of the day shown there, "
                       "so nothing was saved or added.\n\nShow the day %1 in the daily "
                       "settlement window (or correct the Date here), then Save again.")
            .arg(date_->text().isEmpty() ? QStringLiteral("(none)") : date_->text(),
                 shownDay.isEmpty() ? QStringLiteral("(none)") : shownDay),
        ledger::ui::programTitle());
}

}  // namespace staff
