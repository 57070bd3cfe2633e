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

using ledger::ui::placeTwips;

namespace {

constexpr int kClientWidth = 10320;
constexpr int kClientHeight = 5880;

// Three columns of caption and value under the title row.
constexpr int kCaptionLeft[3] = {120, 3480, 6840};
constexpr int kCaptionWidth = 1455;
constexpr int kValueLeft[3] = {1680, 5040, 8400};
constexpr int kValueWidth = 1695;
constexpr int kRowTop = 960;
constexpr int kRowStep = 540;
constexpr int kRowHeight = 435;
constexpr int kBottomRowTop = 4920;
constexpr int kBottomRowHeight = 615;

// Each field shares its colour with the figure derived from it.
constexpr quint32 kCaptionYellow = 0x00C0FFFF;
constexpr quint32 kSalaryGreen = 0x00C0FFC0;
constexpr quint32 kOvertimeRed = 0x00C0C0FF;
constexpr quint32 kTotalCyan = 0x00FFFF80;
constexpr quint32 kSubtotalBlue = 0x00FFC0C0;
constexpr quint32 kWageGreen = 0x0080FF80;

int rowTop(int row) { return kRowTop + row * kRowStep; }

}  // namespace

Form5::Form5(QWidget* parent) : FormWindow(QStringLiteral("Form5"), parent) {
    setWindowTitle(QStringLiteral("The staff calculate wages"));
    setFont(ledger::ui::arialFont(9, false));
    resize(ledger::ui::twips(kClientWidth), ledger::ui::twips(kClientHeight));

    // The record sources first: the fields and lists bind to them.
    data_ = new ledger::ui::DataControl(QStringLiteral("Data1"), ledger::schema::kWages,
                                        QStringLiteral("Data1"), this);
    staff_ = new ledger::ui::DataControl(QStringLiteral("Data2"), ledger::schema::kStaff, QString(),
                                         this);
    staff_->hide();
    choices_ = new ledger::ui::DataControl(QStringLiteral("Data3"), ledger::schema::kSelect,
                                           QString(), this);
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
    ledger::ui::setBackground(caption, background);
    placeTwips(caption, left, top, width, kRowHeight);
    return caption;
}

ledger::ui::BoundLineEdit* Form5::addField(const QString& name, const QString& column, int left,
                                           int top) {
    auto* field = new ledger::ui::BoundLineEdit(name, data_->source(), column, this);
    placeTwips(field, left, top, kValueWidth, kRowHeight);
    return field;
}

ledger::ui::BoundCombo* Form5::addList(const QString& name, ledger::ui::DataControl* listSource,
                                       const QString& column, int left, int top) {
    auto* list = new ledger::ui::BoundCombo(name, listSource->source(), column, this);
    list->setTarget(data_->source(), column);
    placeTwips(list, left, top, kValueWidth, kRowHeight);
    return list;
}

ledger::ui::ComputedFigure* Form5::addFigure(const QString& name, quint32 background, int left,
                                             int top, int width, int height) {
    auto* figure = new ledger::ui::ComputedFigure(name, this);
    figure->setAlignment(Qt::AlignCenter);
    figure->setFrameShape(QFrame::Panel);
    figure->setFrameShadow(QFrame::Sunken);
    ledger::ui::setBackground(figure, background);
    placeTwips(figure, left, top, width, height);
    return figure;
}

void Form5::buildTitleRow() {
    title_ = new QLineEdit(QStringLiteral("The staff calculate wages"), this);
    title_->setObjectName(QStringLiteral("Text12"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(ledger::ui::arialFont(15.75, true));
    placeTwips(title_, 120, 120, 5055, 675);

    placeTwips(data_, 6840, 180, 3255, 495);
}

void Form5::buildLeftColumn() {
    const int caption = kCaptionLeft[0];
    const int value = kValueLeft[0];
    addCaption(QStringLiteral("Label1"), QStringLiteral("Date"), kCaptionYellow, caption, rowTop(0),
               kCaptionWidth);
    date_ = addField(QStringLiteral("Text1"), QStringLiteral("Date"), value, rowTop(0));

    addCaption(QStringLiteral("Label2"), QStringLiteral("Serial numbers"), kCaptionYellow, caption,
               rowTop(1), kCaptionWidth);
    serialNumber_ =
        addField(QStringLiteral("Text2"), QStringLiteral("Serial numbers"), value, rowTop(1));

    addCaption(QStringLiteral("Label3"), QStringLiteral("Name"), kCaptionYellow, caption, rowTop(2),
               kCaptionWidth);
    name_ = addList(QStringLiteral("DBCombo1"), staff_, QStringLiteral("Name"), value, rowTop(2));

    addCaption(QStringLiteral("Label4"), QStringLiteral("Salary hour"), kCaptionYellow, caption,
               rowTop(3), kCaptionWidth);
    salaryHour_ =
        addField(QStringLiteral("Text4"), QStringLiteral("Salary hour"), value, rowTop(3));
    ledger::ui::setBackground(salaryHour_, kSalaryGreen);

    addCaption(QStringLiteral("Label5"), QStringLiteral("Overtime salary hour"), kCaptionYellow,
               caption, rowTop(4), kCaptionWidth);
    overtimeSalaryHour_ =
        addField(QStringLiteral("Text5"), QStringLiteral("Overtime salary hour"), value, rowTop(4));
    ledger::ui::setBackground(overtimeSalaryHour_, kOvertimeRed);

    addCaption(QStringLiteral("Label6"), QStringLiteral("Ask for leave"), kCaptionYellow, caption,
               rowTop(5), kCaptionWidth);
    askForLeave_ = addList(QStringLiteral("DBCombo2"), choices_, QStringLiteral("Ask for leave"),
                           value, rowTop(5));

    addCaption(QStringLiteral("Label7"), QStringLiteral("Absent"), kCaptionYellow, caption,
               rowTop(6), kCaptionWidth);
    absent_ =
        addList(QStringLiteral("DBCombo3"), choices_, QStringLiteral("Absent"), value, rowTop(6));
}

void Form5::buildMiddleColumn() {
    const int caption = kCaptionLeft[1];
    const int value = kValueLeft[1];
    addCaption(QStringLiteral("Label8"), QStringLiteral("Salary hour"), kCaptionYellow, caption,
               rowTop(0), kCaptionWidth);
    salaryHourCopy_ = addFigure(QStringLiteral("Label19"), kSalaryGreen, value, rowTop(0),
                                kValueWidth, kRowHeight);

    addCaption(QStringLiteral("Label9"), QStringLiteral("Main hour"), kCaptionYellow, caption,
               rowTop(1), kCaptionWidth);
    mainHour_ = addField(QStringLiteral("Text7"), QStringLiteral("Main hour"), value, rowTop(1));

    addCaption(QStringLiteral("Label10"), QStringLiteral("Total "), kTotalCyan, caption, rowTop(2),
               kCaptionWidth);
    mainTotal_ =
        addFigure(QStringLiteral("Label20"), kTotalCyan, value, rowTop(2), kValueWidth, kRowHeight);

    addCaption(QStringLiteral("Label11"), QStringLiteral("Overtime salary hour"), kCaptionYellow,
               caption, rowTop(3), kCaptionWidth);
    overtimeSalaryHourCopy_ = addFigure(QStringLiteral("Label21"), kOvertimeRed, value, rowTop(3),
                                        kValueWidth, kRowHeight);

    addCaption(QStringLiteral("Label12"), QStringLiteral("Work overtime"), kCaptionYellow, caption,
               rowTop(4), kCaptionWidth);
    workOvertime_ =
        addField(QStringLiteral("Text9"), QStringLiteral("Work overtime"), value, rowTop(4));

    addCaption(QStringLiteral("Label13"), QStringLiteral("Total "), kTotalCyan, caption, rowTop(5),
               kCaptionWidth);
    overtimeTotal_ =
        addFigure(QStringLiteral("Label22"), kTotalCyan, value, rowTop(5), kValueWidth, kRowHeight);

    addCaption(QStringLiteral("Label14"), QStringLiteral("Subtotal"), kSubtotalBlue, caption,
               rowTop(6), kCaptionWidth);
    subtotal_ = addFigure(QStringLiteral("Label23"), kSubtotalBlue, value, rowTop(6), kValueWidth,
                          kRowHeight);
}

void Form5::buildRightColumn() {
    const int caption = kCaptionLeft[2];
    const int value = kValueLeft[2];
    addCaption(QStringLiteral("Label15"), QStringLiteral("Insurance"), kCaptionYellow, caption,
               rowTop(0), kCaptionWidth);
    insurance_ = addField(QStringLiteral("Text13"), QStringLiteral("Insurance"), value, rowTop(0));

    addCaption(QStringLiteral("Label16"), QStringLiteral("Absent-Deduct"), kCaptionYellow, caption,
               rowTop(1), kCaptionWidth);
    absentDeduct_ =
        addField(QStringLiteral("Text14"), QStringLiteral("Absent-Deduct"), value, rowTop(1));

    addCaption(QStringLiteral("Label17"), QStringLiteral("Subtotal -2"), kSubtotalBlue, caption,
               rowTop(2), kCaptionWidth);
    deductions_ = addFigure(QStringLiteral("Label24"), kSubtotalBlue, value, rowTop(2), kValueWidth,
                            kRowHeight);
}

void Form5::buildBottomRow() {
    save_ = new QPushButton(QStringLiteral("Save"), this);
    save_->setObjectName(QStringLiteral("Command1"));
    placeTwips(save_, 120, kBottomRowTop, 1455, kBottomRowHeight);

    new_ = new QPushButton(QStringLiteral("New"), this);
    new_->setObjectName(QStringLiteral("Command3"));
    placeTwips(new_, 1680, kBottomRowTop, 1455, kBottomRowHeight);

    // The day's wage, the figure Save carries into the daily window.
    auto* caption =
        addCaption(QStringLiteral("Label18"), QStringLiteral("Daily settlement of accounts"),
                   kWageGreen, 5040, kBottomRowTop, 3255);
    caption->setFont(ledger::ui::arialFont(9.75, true));
    caption->setGeometry(ledger::ui::twipsRect(5040, kBottomRowTop, 3255, kBottomRowHeight));
    wage_ = addFigure(QStringLiteral("Label25"), kWageGreen, 8400, kBottomRowTop, kValueWidth,
                      kBottomRowHeight);
    wage_->setFont(ledger::ui::arialFont(9.75, true));
}

void Form5::orderKeyboardFocus() {
    // Disabled fields drop out of the chain by themselves.
    const std::vector<QWidget*> order = {serialNumber_, salaryHour_,   overtimeSalaryHour_,
                                         mainHour_,     workOvertime_, title_,
                                         insurance_,    absentDeduct_, save_,
                                         new_,          name_,         askForLeave_,
                                         absent_,       date_};
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form5::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace staff
