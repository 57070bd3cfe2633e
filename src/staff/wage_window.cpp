// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/wage_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"

namespace staff {

using forms::placeTwips;

namespace {

constexpr int kWageClientWidth = 10320;
constexpr int kWageClientHeight = 5880;

// Three columns of caption and value under the title row.
constexpr int kWageCaptionLeft[3] = {120, 3480, 6840};
constexpr int kWageCaptionWidth = 1455;
constexpr int kValueLeft[3] = {1680, 5040, 8400};
constexpr int kValueWidth = 1695;
constexpr int kWageRowTop = 960;
constexpr int kWageRowStep = 540;
constexpr int kWageRowHeight = 435;
constexpr int kBottomRowTop = 4920;
constexpr int kBottomRowHeight = 615;

// Each field shares its colour with the figure derived from it.
constexpr quint32 kCaptionYellow = 0x00C0FFFF;
constexpr quint32 kSalaryGreen = 0x00C0FFC0;
constexpr quint32 kOvertimeRed = 0x00C0C0FF;
constexpr quint32 kTotalCyan = 0x00FFFF80;
constexpr quint32 kSubtotalBlue = 0x00FFC0C0;
constexpr quint32 kWageGreen = 0x0080FF80;

int wageRowTop(int row) { return kWageRowTop + row * kWageRowStep; }

}  // namespace

Form5::Form5(QWidget* parent) : FormWindow(QStringLiteral("Form5"), parent) {
    setWindowTitle(QStringLiteral("The staff calculate wages"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kWageClientWidth), forms::twips(kWageClientHeight));

    // The record sources first: the fields and lists bind to them.
    data_ = new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kWages,
                                   QStringLiteral("Data1"), this);
    staff_ =
        new forms::DataControl(QStringLiteral("Data2"), ledger::schema::kStaff, QString(), this);
    staff_->hide();
    choices_ =
        new forms::DataControl(QStringLiteral("Data3"), ledger::schema::kSelect, QString(), this);
    choices_->hide();

    buildTitleRow();
    buildLeftColumn();
    buildMiddleColumn();
    buildRightColumn();
    buildBottomRow();
    connectTriggers();
    connectCommands();
    orderKeyboardFocus();
    centreOnScreen();
}

ledger::RecordSource& Form5::records() { return data_->source(); }

QLabel* Form5::addCaption(const QString& name, const QString& text, quint32 background, int left,
                          int top, int width) {
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setWordWrap(true);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    forms::setBackground(caption, background);
    placeTwips(caption, left, top, width, kWageRowHeight);
    return caption;
}

forms::BoundLineEdit* Form5::addField(const QString& name, const QString& column, int left,
                                      int top) {
    auto* field = new forms::BoundLineEdit(name, data_->source(), column, this);
    placeTwips(field, left, top, kValueWidth, kWageRowHeight);
    return field;
}

forms::BoundCombo* Form5::addList(const QString& name, forms::DataControl* listSource,
                                  const QString& column, int left, int top) {
    auto* list = new forms::BoundCombo(name, listSource->source(), column, this);
    list->setTarget(data_->source(), column);
    placeTwips(list, left, top, kValueWidth, kWageRowHeight);
    return list;
}

forms::ComputedFigure* Form5::addFigure(const QString& name, quint32 background, int left, int top,
                                        int width, int height) {
    auto* figure = new forms::ComputedFigure(name, this);
    figure->setAlignment(Qt::AlignCenter);
    figure->setFrameShape(QFrame::Panel);
    figure->setFrameShadow(QFrame::Sunken);
    forms::setBackground(figure, background);
    placeTwips(figure, left, top, width, height);
    return figure;
}

void Form5::buildTitleRow() {
    title_ = new QLineEdit(QStringLiteral("The staff calculate wages"), this);
    title_->setObjectName(QStringLiteral("Text12"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(forms::arialFont(15.75, true));
    placeTwips(title_, 120, 120, 5055, 675);

    placeTwips(data_, 6840, 180, 3255, 495);
}

void Form5::buildLeftColumn() {
    const int caption = kWageCaptionLeft[0];
    const int value = kValueLeft[0];
    addCaption(QStringLiteral("Label1"), QStringLiteral("Date"), kCaptionYellow, caption,
               wageRowTop(0), kWageCaptionWidth);
    date_ = addField(QStringLiteral("Text1"), QStringLiteral("Date"), value, wageRowTop(0));

    addCaption(QStringLiteral("Label2"), QStringLiteral("Serial numbers"), kCaptionYellow, caption,
               wageRowTop(1), kWageCaptionWidth);
    serialNumber_ =
        addField(QStringLiteral("Text2"), QStringLiteral("Serial numbers"), value, wageRowTop(1));

    addCaption(QStringLiteral("Label3"), QStringLiteral("Name"), kCaptionYellow, caption,
               wageRowTop(2), kWageCaptionWidth);
    name_ =
        addList(QStringLiteral("DBCombo1"), staff_, QStringLiteral("Name"), value, wageRowTop(2));

    addCaption(QStringLiteral("Label4"), QStringLiteral("Salary hour"), kCaptionYellow, caption,
               wageRowTop(3), kWageCaptionWidth);
    salaryHour_ =
        addField(QStringLiteral("Text4"), QStringLiteral("Salary hour"), value, wageRowTop(3));
    forms::setBackground(salaryHour_, kSalaryGreen);

    addCaption(QStringLiteral("Label5"), QStringLiteral("Overtime salary hour"), kCaptionYellow,
               caption, wageRowTop(4), kWageCaptionWidth);
    overtimeSalaryHour_ = addField(QStringLiteral("Text5"), QStringLiteral("Overtime salary hour"),
                                   value, wageRowTop(4));
    forms::setBackground(overtimeSalaryHour_, kOvertimeRed);

    addCaption(QStringLiteral("Label6"), QStringLiteral("Ask for leave"), kCaptionYellow, caption,
               wageRowTop(5), kWageCaptionWidth);
    askForLeave_ = addList(QStringLiteral("DBCombo2"), choices_, QStringLiteral("Ask for leave"),
                           value, wageRowTop(5));

    addCaption(QStringLiteral("Label7"), QStringLiteral("Absent"), kCaptionYellow, caption,
               wageRowTop(6), kWageCaptionWidth);
    absent_ = addList(QStringLiteral("DBCombo3"), choices_, QStringLiteral("Absent"), value,
                      wageRowTop(6));
}

void Form5::buildMiddleColumn() {
    const int caption = kWageCaptionLeft[1];
    const int value = kValueLeft[1];
    addCaption(QStringLiteral("Label8"), QStringLiteral("Salary hour"), kCaptionYellow, caption,
               wageRowTop(0), kWageCaptionWidth);
    salaryHourCopy_ = addFigure(QStringLiteral("Label19"), kSalaryGreen, value, wageRowTop(0),
                                kValueWidth, kWageRowHeight);

    addCaption(QStringLiteral("Label9"), QStringLiteral("Main hour"), kCaptionYellow, caption,
               wageRowTop(1), kWageCaptionWidth);
    mainHour_ =
        addField(QStringLiteral("Text7"), QStringLiteral("Main hour"), value, wageRowTop(1));

    addCaption(QStringLiteral("Label10"), QStringLiteral("Total "), kTotalCyan, caption,
               wageRowTop(2), kWageCaptionWidth);
    mainTotal_ = addFigure(QStringLiteral("Label20"), kTotalCyan, value, wageRowTop(2), kValueWidth,
                           kWageRowHeight);

    addCaption(QStringLiteral("Label11"), QStringLiteral("Overtime salary hour"), kCaptionYellow,
               caption, wageRowTop(3), kWageCaptionWidth);
    overtimeSalaryHourCopy_ = addFigure(QStringLiteral("Label21"), kOvertimeRed, value,
                                        wageRowTop(3), kValueWidth, kWageRowHeight);

    addCaption(QStringLiteral("Label12"), QStringLiteral("Work overtime"), kCaptionYellow, caption,
               wageRowTop(4), kWageCaptionWidth);
    workOvertime_ =
        addField(QStringLiteral("Text9"), QStringLiteral("Work overtime"), value, wageRowTop(4));

    addCaption(QStringLiteral("Label13"), QStringLiteral("Total "), kTotalCyan, caption,
               wageRowTop(5), kWageCaptionWidth);
    overtimeTotal_ = addFigure(QStringLiteral("Label22"), kTotalCyan, value, wageRowTop(5),
                               kValueWidth, kWageRowHeight);

    addCaption(QStringLiteral("Label14"), QStringLiteral("Subtotal"), kSubtotalBlue, caption,
               wageRowTop(6), kWageCaptionWidth);
    subtotal_ = addFigure(QStringLiteral("Label23"), kSubtotalBlue, value, wageRowTop(6),
                          kValueWidth, kWageRowHeight);
}

void Form5::buildRightColumn() {
    const int caption = kWageCaptionLeft[2];
    const int value = kValueLeft[2];
    addCaption(QStringLiteral("Label15"), QStringLiteral("Insurance"), kCaptionYellow, caption,
               wageRowTop(0), kWageCaptionWidth);
    insurance_ =
        addField(QStringLiteral("Text13"), QStringLiteral("Insurance"), value, wageRowTop(0));

    addCaption(QStringLiteral("Label16"), QStringLiteral("Absent-Deduct"), kCaptionYellow, caption,
               wageRowTop(1), kWageCaptionWidth);
    absentDeduct_ =
        addField(QStringLiteral("Text14"), QStringLiteral("Absent-Deduct"), value, wageRowTop(1));

    addCaption(QStringLiteral("Label17"), QStringLiteral("Subtotal -2"), kSubtotalBlue, caption,
               wageRowTop(2), kWageCaptionWidth);
    deductions_ = addFigure(QStringLiteral("Label24"), kSubtotalBlue, value, wageRowTop(2),
                            kValueWidth, kWageRowHeight);
}

void Form5::buildBottomRow() {
    save_ = new QPushButton(QStringLiteral("Save"), this);
    save_->setObjectName(QStringLiteral("Command1"));
    placeTwips(save_, 120, kBottomRowTop, 1455, kBottomRowHeight);

    new_ = new QPushButton(QStringLiteral("New"), this);
    new_->setObjectName(QStringLiteral("Command3"));
    placeTwips(new_, 1680, kBottomRowTop, 1455, kBottomRowHeight);

    // Shown only while a stored wage row is shown: a row being entered is
    // given up by closing, not deleted.
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    delete_->setObjectName(QStringLiteral("Command2"));
    placeTwips(delete_, 3240, kBottomRowTop, 1455, kBottomRowHeight);
    delete_->hide();

    // The day's wage, the figure Save carries into the daily window.
    auto* caption =
        addCaption(QStringLiteral("Label18"), QStringLiteral("Daily settlement of accounts"),
                   kWageGreen, 5040, kBottomRowTop, 3255);
    caption->setFont(forms::arialFont(9.75, true));
    caption->setGeometry(forms::twipsRect(5040, kBottomRowTop, 3255, kBottomRowHeight));
    // Not on the shop's form: the day's wages at once, in the free space
    // of the right column.
    dayWages_ = new QPushButton(QStringLiteral("Wages of the day"), this);
    dayWages_->setObjectName(QStringLiteral("DayWagesButton"));
    placeTwips(dayWages_, kWageCaptionLeft[2], wageRowTop(5), 3255, kBottomRowHeight);
    // Nor this one: the recorded changes of the row's day, in the free space
    // above it.
    history_ = new QPushButton(QStringLiteral("History…"), this);
    history_->setObjectName(QStringLiteral("history"));
    history_->setToolTip(QStringLiteral("What the books recorded of this wage row's day (Ctrl+H)"));
    placeTwips(history_, kWageCaptionLeft[2], wageRowTop(4), 3255, kWageRowHeight);

    wage_ = addFigure(QStringLiteral("Label25"), kWageGreen, 8400, kBottomRowTop, kValueWidth,
                      kBottomRowHeight);
    wage_->setFont(forms::arialFont(9.75, true));
}

void Form5::orderKeyboardFocus() {
    // Disabled fields drop out of the chain by themselves. Delete, which
    // gives a stored wage up, comes last: never reached on the way to a
    // field.
    const std::vector<QWidget*> order = {serialNumber_, salaryHour_,   overtimeSalaryHour_,
                                         mainHour_,     workOvertime_, title_,
                                         insurance_,    absentDeduct_, save_,
                                         new_,          name_,         askForLeave_,
                                         absent_,       date_,         delete_};
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form5::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace staff
