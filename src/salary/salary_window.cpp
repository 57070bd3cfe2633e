// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/salary_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"

namespace salary {

using forms::placeTwips;

namespace {

constexpr int kClientWidth = 10080;
constexpr int kClientHeight = 5160;

constexpr int kLineHeight = 375;
// The left column (rates, hours, subtotal) and the right one (deductions).
constexpr int kLeftCaption = 120;
constexpr int kLeftCaptionWidth = 2655;
constexpr int kLeftField = 2880;
constexpr int kRightCaption = 4920;
constexpr int kRightCaptionWidth = 2055;
constexpr int kRightField = 7080;
constexpr int kFieldWidth = 1575;
constexpr int kFirstRowTop = 1560;
constexpr int kRowStep = 540;
constexpr int kBottomRowTop = 4440;

// Captions share their field's colour, so a rate and the hours it prices
// read as a pair. &H00BBGGRR values.
constexpr quint32 kLightBlue = 0x00FFC0C0;    // salary hour, month's work hours
constexpr quint32 kLightYellow = 0x0080FFFF;  // overtime rate, month's overtime
constexpr quint32 kGreen = 0x0080FF80;        // subtotal
constexpr quint32 kLightCyan = 0x00FFFF80;    // the salary gotten actually
constexpr quint32 kLightRed = 0x00C0C0FF;     // captions of month, name, deductions

int rowTop(int row) { return kFirstRowTop + row * kRowStep; }

}  // namespace

Form7::Form7(QWidget* parent) : FormWindow(QStringLiteral("Form7"), parent) {
    setWindowTitle(QStringLiteral("Staff's salary settlement of  every month"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kClientWidth), forms::twips(kClientHeight));

    // The staff register comes first: record sources open in the order they
    // were made, and the month rows' first name looks up its staff row, which
    // must be open by then.
    staff_ = new forms::DataControl(QStringLiteral("Data3"), ledger::schema::kStaff,
                                    QStringLiteral("Data3"), this);
    staff_->hide();
    months_ = new forms::DataControl(QStringLiteral("Data2"), ledger::schema::kMonthWages,
                                     QStringLiteral("Data2"), this);
    // The month rows are sums of the wage rows: typed totals can never be
    // stored. Say so once and let the move or the closing go ahead, rather
    // than holding the user on the month.
    months_->source().setReadOnlyEdits(
        ledger::RecordSource::ReadOnlyEdits::ReportAndDiscard,
        [this](const ledger::LedgerError&) { tellTotalsAreReadOnly(); });

    buildTopRow();
    buildMonthRow();
    buildRates();
    buildDeductions();
    buildBottomRow();
    connectTriggers();
    orderKeyboardFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

ledger::RecordSource& Form7::monthRows() { return months_->source(); }

ledger::RecordSource& Form7::staffRows() { return staff_->source(); }

QLabel* Form7::addCaption(const QString& name, const QString& text, int left, int top, int width,
                          int height) {
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setWordWrap(true);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setIndent(forms::twips(60));
    placeTwips(caption, left, top, width, height);
    return caption;
}

forms::BoundLineEdit* Form7::addField(const QString& name, forms::DataControl* data,
                                      const QString& column, int left, int top, int width) {
    auto* field = new forms::BoundLineEdit(name, data->source(), column, this);
    placeTwips(field, left, top, width, kLineHeight);
    return field;
}

forms::ComputedFigure* Form7::addFigure(const QString& name, int left, int top, int height) {
    auto* figure = new forms::ComputedFigure(name, this);
    figure->setAlignment(Qt::AlignCenter);
    figure->setFrameShape(QFrame::Panel);
    figure->setFrameShadow(QFrame::Sunken);
    placeTwips(figure, left, top, kFieldWidth, height);
    return figure;
}

QPushButton* Form7::addButton(const QString& name, const QString& caption, int left, int top,
                              int width, int height) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    placeTwips(button, left, top, width, height);
    return button;
}

void Form7::buildTopRow() {
    title_ = new QLineEdit(QStringLiteral("Staff's salary settlement of  every month"), this);
    title_->setObjectName(QStringLiteral("Text12"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(forms::arialFont(12, true));
    placeTwips(title_, 120, 120, 4695, 615);

    lastMonth_ = addButton(QStringLiteral("Command1"), QStringLiteral("To last month"), 4920, 120,
                           1575, 615);
    nameInquiry_ =
        addButton(QStringLiteral("Command2"),
                  QStringLiteral("Inquiry--Name      (To recently month)"), 6600, 120, 3360, 615);
    forms::connectGuarded(lastMonth_, &QPushButton::clicked, this, [this] { stepBackOneMonth(); });
    forms::connectGuarded(nameInquiry_, &QPushButton::clicked, this, [this] { inquireName(); });
}

void Form7::buildMonthRow() {
    constexpr int top = 960;
    forms::setBackground(
        addCaption(QStringLiteral("Label1"), QStringLiteral("Date"), 120, top, 735, kLineHeight),
        kLightRed);
    month_ =
        addField(QStringLiteral("Text1"), months_, QStringLiteral("Date /\u6708"), 900, top, 1455);

    forms::setBackground(
        addCaption(QStringLiteral("Label3"), QStringLiteral("Name"), 2520, top, 735, kLineHeight),
        kLightRed);
    name_ = addField(QStringLiteral("Text3"), months_, QStringLiteral("Name"), 3300, top, 2175);

    forms::setBackground(addCaption(QStringLiteral("Label2"), QStringLiteral("Serial numbers"),
                                    5640, top, 1335, kLineHeight),
                         kLightRed);
    serialNumber_ = addField(QStringLiteral("Text2"), months_, QStringLiteral("Serial numbers"),
                             7080, top, kFieldWidth);
}

void Form7::buildRates() {
    struct Line {
        const char* caption;
        const char* captionText;
        const char* field;
        bool staffColumn;
        const char* column;
        quint32 colour;
        forms::BoundLineEdit** into;
    };
    const Line lines[] = {
        {"Label4", "Salary hour", "Text4", true, "Salary hour", kLightBlue, &salaryHour_},
        {"Label5", "Overtime salary hour", "Text5", true, "Overtime salary hour", kLightYellow,
         &overtimeRate_},
        {"Label6", "Every month work hours", "Text13", false, "Main hour\u4E4B\u7E3D\u8A08",
         kLightBlue, &workHours_},
        {"Label7", "Every month overtime hours", "Text6", false, "Work overtime\u4E4B\u7E3D\u8A08",
         kLightYellow, &overtimeHours_},
    };
    int row = 0;
    for (const Line& line : lines) {
        QLabel* caption =
            addCaption(QString::fromLatin1(line.caption), QString::fromLatin1(line.captionText),
                       kLeftCaption, rowTop(row), kLeftCaptionWidth, kLineHeight);
        auto* field =
            addField(QString::fromLatin1(line.field), line.staffColumn ? staff_ : months_,
                     QString::fromUtf8(line.column), kLeftField, rowTop(row), kFieldWidth);
        forms::setBackground(caption, line.colour);
        forms::setBackground(field, line.colour);
        *line.into = field;
        ++row;
    }

    QLabel* caption = addCaption(QStringLiteral("Label8"), QStringLiteral("Subtotal"), kLeftCaption,
                                 rowTop(row), kLeftCaptionWidth, kLineHeight);
    subtotal_ = addFigure(QStringLiteral("Label12"), kLeftField, rowTop(row), kLineHeight);
    forms::setBackground(caption, kGreen);
    forms::setBackground(subtotal_, kGreen);
}

void Form7::buildDeductions() {
    forms::setBackground(addCaption(QStringLiteral("Label9"), QStringLiteral("Insurance"),
                                    kRightCaption, rowTop(0), kRightCaptionWidth, kLineHeight),
                         kLightRed);
    insurance_ =
        addField(QStringLiteral("Text8"), months_, QStringLiteral("Insurance\u4E4B\u7E3D\u8A08"),
                 kRightField, rowTop(0), kFieldWidth);
    forms::setBackground(addCaption(QStringLiteral("Label10"), QStringLiteral("Absent-Deduct"),
                                    kRightCaption, rowTop(1), kRightCaptionWidth, kLineHeight),
                         kLightRed);
    absentDeduct_ = addField(QStringLiteral("Text9"), months_,
                             QStringLiteral("Absent-Deduct\u4E4B\u7E3D\u8A08"), kRightField,
                             rowTop(1), kFieldWidth);
    // The two deductions together, under them; it has no caption of its own.
    deductions_ = addFigure(QStringLiteral("Label14"), kRightField, rowTop(2), kLineHeight);

    placeTwips(months_, kRightCaption, rowTop(3) + 120, kRightField + kFieldWidth - kRightCaption,
               kLineHeight);

    // Beside the subtotal: why a month has no rates, in the window itself
    // (and on its print), not in a message at every step of the bar.
    staffNote_ = new QLabel(this);
    staffNote_->setObjectName(QStringLiteral("Label15"));
    staffNote_->setWordWrap(true);
    staffNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    staffNote_->setFont(forms::arialFont(8, false));
    staffNote_->setStyleSheet(QStringLiteral("color: #8a1c1c;"));
    placeTwips(staffNote_, kRightCaption, rowTop(4) + 30, kClientWidth - 120 - kRightCaption,
               kBottomRowTop - rowTop(4) - 30);
    staffNote_->hide();
}

void Form7::buildBottomRow() {
    QLabel* caption =
        addCaption(QStringLiteral("Label11"), QStringLiteral("The salary gotten actually"),
                   kLeftCaption, kBottomRowTop, kLeftCaptionWidth, 495);
    caption->setFont(forms::arialFont(9.75, true));
    actualSalary_ = addFigure(QStringLiteral("Label13"), kLeftField, kBottomRowTop, 495);
    actualSalary_->setFont(forms::arialFont(9.75, true));
    forms::setBackground(caption, kLightCyan);
    forms::setBackground(actualSalary_, kLightCyan);

    detail_ = addButton(QStringLiteral("Command3"), QStringLiteral("Detail"), kRightCaption,
                        kBottomRowTop, 1455, 495);
    print_ = addButton(QStringLiteral("Command4"), QStringLiteral("Print"), 6600, kBottomRowTop,
                       1455, 495);
    forms::connectGuarded(detail_, &QPushButton::clicked, this, [this] { openDetail(); });
    forms::connectGuarded(print_, &QPushButton::clicked, this, [this] { printSheet(); });
}

void Form7::orderKeyboardFocus() {
    QWidget* const order[] = {lastMonth_, nameInquiry_,  month_,        serialNumber_,
                              name_,      salaryHour_,   overtimeRate_, overtimeHours_,
                              insurance_, absentDeduct_, title_,        workHours_,
                              detail_,    print_};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace salary
