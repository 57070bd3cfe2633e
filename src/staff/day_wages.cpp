// SPDX-License-Identifier: GPL-3.0-or-later
// The day's wages: the window's layout and what it reads of the books (the
// day's stored wages, the staff on the day, the yes / no entries).

#include "staff/day_wages.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/workspace.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "salary/rules/staff_on_day.h"
#include "salary/rules/wages_of_day.h"
#include "staff/day_wage_keys.h"
#include "staff/day_wage_sheet.h"

namespace staff {

using forms::connectGuarded;
using forms::placeTwips;

// One column of a stored wage as a field would show it. Never typed into:
// bound only so that the row's values are read, and checked before Delete
// removes it, as the wage window's fields are.
class ShownColumn : public ledger::FieldBinding {
public:
    explicit ShownColumn(QString column) : column_(std::move(column)) {}
    QString boundColumn() const override { return column_; }
    void showValue(const QString& text) override { text_ = text; }
    bool isChanged() const override { return false; }
    QString editedText() const override { return text_; }
    void clearChanged() override {}
    const QString& text() const { return text_; }

private:
    QString column_;
    QString text_;
};

namespace {

constexpr int kWindowWidth = 19200;
constexpr int kWindowHeight = 6600;
constexpr quint32 kDayCaptionYellow = 0x00C0FFFF;
constexpr quint32 kTotalGreen = 0x0080FF80;

const QString kMonthlyPay = QStringLiteral("Monthly pay");
const QString kLeaveOfficeOn = QStringLiteral("Leave office on day");

QLabel* addLabel(QWidget* window, const QString& name, const QString& text, quint32 background) {
    auto* label = new QLabel(text, window);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    forms::setBackground(label, background);
    return label;
}

}  // namespace

DayWages::DayWages() : FormWindow(windows::kDayWages) {
    setWindowTitle(QStringLiteral("Wages of the day"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kWindowWidth), forms::twips(kWindowHeight));
    buildControls();
}

DayWages::~DayWages() = default;

void DayWages::buildControls() {
    auto* title = addLabel(this, QStringLiteral("Title"), QStringLiteral("Wages of the day"),
                           kDayCaptionYellow);
    title->setFont(forms::arialFont(15.75, true));
    placeTwips(title, 120, 120, 5055, 675);
    placeTwips(
        addLabel(this, QStringLiteral("DateCaption"), QStringLiteral("Date"), kDayCaptionYellow),
        5400, 240, 900, 435);
    dayShown_ = addLabel(this, QStringLiteral("DateShown"), QString(), kDayCaptionYellow);
    dayShown_->setFont(forms::arialFont(9.75, true));
    placeTwips(dayShown_, 6360, 240, 1695, 435);

    sheet_ = new DayWageSheet(this);
    view_ = new DayWageKeys(this);
    view_->setObjectName(QStringLiteral("WageRows"));
    view_->setModel(sheet_);
    choiceLists_ = new ChoiceDelegate(view_);
    view_->setItemDelegateForColumn(kAskForLeaveColumn, choiceLists_);
    view_->setItemDelegateForColumn(kAbsentColumn, choiceLists_);
    // Every caption whole, as the wage window shows it.
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setMinimumSectionSize(forms::twips(1140));
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->horizontalHeader()->setMinimumHeight(forms::twips(600));
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    placeTwips(view_, 120, 900, kWindowWidth - 240, 4680);

    save_ = new QPushButton(QStringLiteral("Save"), this);
    save_->setObjectName(QStringLiteral("Save"));
    placeTwips(save_, 120, 5760, 1455, 615);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    delete_->setObjectName(QStringLiteral("Delete"));
    placeTwips(delete_, 1680, 5760, 1455, 615);
    delete_->setEnabled(false);

    auto* totalCaption = addLabel(this, QStringLiteral("TotalCaption"),
                                  QStringLiteral("Total of the new wages"), kTotalGreen);
    totalCaption->setFont(forms::arialFont(9.75, true));
    placeTwips(totalCaption, kWindowWidth - 5190, 5760, 3255, 615);
    total_ = addLabel(this, QStringLiteral("Total"), QStringLiteral("0"), kTotalGreen);
    total_->setFont(forms::arialFont(9.75, true));
    total_->setFrameShape(QFrame::Panel);
    total_->setFrameShadow(QFrame::Sunken);
    placeTwips(total_, kWindowWidth - 1815, 5760, 1695, 615);

    QWidget::setTabOrder(view_, save_);
    QWidget::setTabOrder(save_, delete_);
    connectGuarded(save_, &QPushButton::clicked, this, [this] { saveWages(); });
    // The whole day booked without the mouse: Ctrl+S saves, as the button.
    // Focus leaves the cell first, so a figure still being typed counts.
    auto* saveKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connectGuarded(saveKey, &QShortcut::activated, this, [this] {
        save_->setFocus();
        save_->click();
    });
    connectGuarded(delete_, &QPushButton::clicked, this, [this] { deleteStoredWage(); });
    connect(sheet_, &DayWageSheet::typingChanged, this, [this] { showTotal(); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { followCurrentRow(); });
}

ledger::RecordSource* DayWages::openRows(const QString& name, const QString& table) {
    auto* rows = new ledger::RecordSource(name, this);
    rows->setDatabasePath(forms::workspace().books());
    rows->setSource(table);
    rows->open();
    return rows;
}

void DayWages::loadStep() {
    staffRows_ = openRows(QStringLiteral("Staff"), ledger::schema::kStaff);
    choices_ = openRows(QStringLiteral("Choices"), ledger::schema::kSelect);
    wageRows_ = openRows(QStringLiteral("Wages"), ledger::schema::kWages);
    monthlyPayRecorded_ = wageRows_->columnNames().contains(kMonthlyPay, Qt::CaseInsensitive);
    sheet_->setMonthlyPayRecorded(monthlyPayRecorded_);
    QStringList columns = {QStringLiteral("Name"), QStringLiteral("Serial numbers"),
                           QStringLiteral("Ask for leave"), QStringLiteral("Absent")};
    columns << salary::wageRowColumns();
    if (!monthlyPayRecorded_) columns.removeAll(ledger::schema::kWageMonthlyPay);
    for (const QString& column : columns) {
        shown_.push_back(std::make_unique<ShownColumn>(column));
        wageRows_->bind(shown_.back().get());
    }
    choiceLists_->setChoices(choicesFor(QStringLiteral("Ask for leave")));
    readDay();
}

QStringList DayWages::choicesFor(const QString& column) {
    QStringList choices;
    if (!choices_->columnNames().contains(column, Qt::CaseInsensitive)) return choices;
    for (const QString& choice : choices_->columnTexts(column))
        if (!choice.isEmpty() && !choices.contains(choice)) choices << choice;
    return choices;
}

void DayWages::readDay() {
    daily::DailyWindowFace* daily = windows::openDailyWindow();
    day_ = daily ? daily->dayShown() : QString();
    dayShown_->setText(day_.isEmpty() ? QStringLiteral("(none)") : day_);
    readStoredWages();
    sheet_->setStaffRows(staffOnTheDay());
    const QModelIndex first = sheet_->index(0, kMainHourColumn);
    for (int row = 0; row < sheet_->rowCount(); ++row)
        if (!sheet_->row(row).stored) {
            view_->setCurrentIndex(sheet_->index(row, kMainHourColumn));
            return;
        }
    view_->setCurrentIndex(first);
}

QString DayWages::shownText(const QString& column) const {
    for (const auto& shown : shown_)
        if (shown->boundColumn() == column) return shown->text();
    return {};
}

void DayWages::readStoredWages() {
    std::vector<DayWageRow> rows;
    if (!day_.isEmpty()) {
        ledger::RecordSource& wages = *wageRows_;
        wages.takeInNewRows();
        const QStringList& columns = salary::wageRowColumns();
        for (qint64 key : salary::wageRowsOfDay(wages.store(), day_)) {
            const ledger::Bookmark mark{key};
            if (!wages.holds(mark)) continue;
            wages.setBookmark(mark);
            DayWageRow row;
            row.stored = true;
            row.storedRow = mark;
            row.storedAmounts = {wages.readValue(columns[0]), wages.readValue(columns[1]),
                                 wages.readValue(columns[2]), wages.readValue(columns[3]),
                                 wages.readValue(columns[4]), wages.readValue(columns[5]),
                                 wages.readValue(columns[6])};
            row.name = shownText(QStringLiteral("Name"));
            row.serial = shownText(QStringLiteral("Serial numbers"));
            row.salaryHour = shownText(columns[0]);
            row.overtimeRate = shownText(columns[1]);
            row.mainHour = shownText(columns[2]);
            row.workOvertime = shownText(columns[3]);
            row.insurance = shownText(columns[4]);
            row.absentDeduct = shownText(columns[5]);
            row.monthlyPay = shownText(columns[6]);
            row.byTheMonth = !row.monthlyPay.isEmpty();
            row.askForLeave = shownText(QStringLiteral("Ask for leave"));
            row.absent = shownText(QStringLiteral("Absent"));
            rows.push_back(std::move(row));
        }
    }
    sheet_->setStoredRows(std::move(rows));
}

std::vector<DayWageRow> DayWages::staffOnTheDay() {
    ledger::RecordSource& staff = *staffRows_;
    staff.takeInNewRows();
    const QStringList columns = staff.columnNames();
    const qsizetype count = staff.columnTexts(QStringLiteral("Name")).size();
    // Registers made before a column was added list it empty.
    auto texts = [&](const QString& column) {
        return columns.contains(column, Qt::CaseInsensitive) ? staff.columnTexts(column)
                                                             : QStringList(count);
    };
    const QStringList names = texts(QStringLiteral("Name"));
    const QStringList serials = texts(QStringLiteral("Serial numbers"));
    const QStringList salaryHours = texts(QStringLiteral("Salary hour"));
    const QStringList overtimeRates = texts(QStringLiteral("Overtime salary hour"));
    const QStringList monthlyPays = texts(kMonthlyPay);
    const QStringList leaving = texts(kLeaveOfficeOn);
    std::vector<DayWageRow> rows;
    for (qsizetype i = 0; i < names.size(); ++i) {
        // A wage is never stored without a name the register knows.
        if (names[i].isEmpty() || !salary::onStaffOn(leaving.value(i), day_)) continue;
        DayWageRow row;
        row.name = names[i];
        row.serial = serials.value(i);
        row.salaryHour = salaryHours.value(i);
        row.overtimeRate = overtimeRates.value(i);
        row.monthlyPay = monthlyPays.value(i);
        rows.push_back(std::move(row));
    }
    return rows;
}

void DayWages::showTotal() { total_->setText(ledger::amountText(sheet_->typedTotal())); }

void DayWages::followCurrentRow() {
    const QModelIndex at = view_->currentIndex();
    delete_->setEnabled(at.isValid() && sheet_->row(at.row()).stored && !unconfirmed_);
}

bool DayWages::event(QEvent* event) {
    // Shown again after the daily window moved to another day, with nothing
    // typed here: the wages of the day shown there.
    if (event->type() == QEvent::WindowActivate && isLoaded() && !unconfirmed_ &&
        sheet_->typedRows().empty()) {
        daily::DailyWindowFace* daily = windows::openDailyWindow();
        if (daily && daily->dayShown() != day_) forms::runGuarded(this, [this] { readDay(); });
    }
    return FormWindow::event(event);
}

}  // namespace staff
