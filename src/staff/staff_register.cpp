// SPDX-License-Identifier: GPL-3.0-or-later
#include "staff/staff_register.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "forms/bound_combo.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "staff/asterisk_password_style.h"
#include "staff/hashed_password_edit.h"

namespace staff {

using forms::placeTwips;

namespace {

constexpr int kClientWidth = 10560;
constexpr int kClientHeight = 5640;

// Three columns of caption and field; the identity number and the address
// run from the middle column into the right one.
constexpr int kCaptionLeft[3] = {120, 3480, 6840};
constexpr int kCaptionWidth = 1455;
constexpr int kFieldLeft[3] = {1680, 5040, 8400};
constexpr int kFieldWidth = 1695;
constexpr int kWideFieldWidth = 10440 - 5040;
constexpr int kRowTop = 960;
constexpr int kRowStep = 600;
constexpr int kRowHeight = 495;
constexpr int kButtonTop = 4800;

constexpr quint32 kCaptionBackground = 0x00FFC0C0;  // light blue

int rowTop(int row) { return kRowTop + row * kRowStep; }

}  // namespace

Form6::Form6(QWidget* parent) : FormWindow(QStringLiteral("Form6"), parent) {
    setWindowTitle(QStringLiteral("Material forms of staff"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kClientWidth), forms::twips(kClientHeight));

    // The record sources first: the fields and the list bind to them.
    data_ = new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kStaff,
                                   QStringLiteral("Data1"), this);
    choices_ =
        new forms::DataControl(QStringLiteral("Data2"), ledger::schema::kSelect, QString(), this);
    choices_->hide();

    buildTitleRow();
    buildFields();
    buildChoices();
    buildButtons();
    connectCommands();
    orderKeyboardFocus();
    centreOnScreen();
}

ledger::RecordSource& Form6::records() { return data_->source(); }

QLabel* Form6::addCaption(const QString& name, const QString& text, int left, int top, int width) {
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setWordWrap(true);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    forms::setBackground(caption, kCaptionBackground);
    placeTwips(caption, left, top, width, kRowHeight);
    return caption;
}

forms::BoundLineEdit* Form6::addField(const QString& name, const QString& column, int left, int top,
                                      int width) {
    // The password is stored as its hash, whatever is typed.
    auto* field = column == QLatin1String("Password")
                      ? new HashedPasswordEdit(name, data_->source(), column, this)
                      : new forms::BoundLineEdit(name, data_->source(), column, this);
    placeTwips(field, left, top, width, kRowHeight);
    return field;
}

void Form6::buildTitleRow() {
    title_ = new QLineEdit(QStringLiteral("Material forms of staff"), this);
    title_->setObjectName(QStringLiteral("Text17"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(forms::arialFont(15.75, true));
    placeTwips(title_, 120, 120, 5055, 675);

    placeTwips(data_, 5640, 180, 3255, 495);
}

void Form6::buildFields() {
    // Caption name, caption, field name, column, column index, row.
    struct Entry {
        const char* label;
        const char* caption;
        const char* field;
        const char* column;
        int column_;
        int row;
        forms::BoundLineEdit* Form6::*member = nullptr;  // kept for the window's own use
    };
    static const Entry entries[] = {
        {"Label1", "Serial numbers", "Text1", "Serial numbers", 0, 0, &Form6::serialNumber_},
        {"Label5", "Cell phone", "Text5", "Cell phone", 0, 1},
        {"Label9", "Position", "Text9", "Position", 0, 2},
        {"Label10", "Contact", "Text10", "Contact", 0, 3},
        {"Label11", "Salary hour", "Text11", "Salary hour", 0, 4, &Form6::salaryHour_},
        {"Label12", "Overtime salary hour", "Text12", "Overtime salary hour", 0, 5,
         &Form6::overtimeSalaryHour_},
        {"Label2", "Name", "Text3", "Name", 1, 0, &Form6::name_},
        {"Label6", "Fax", "Text6", "Fax", 1, 1},
        {"Label7", "ID card number", "Text7", "ID card number", 1, 2},
        {"Label8", "Address", "Text8", "Address", 1, 3},
        {"Label14", "Assume office on day", "Text13", "Assume office on day", 1, 4},
        {"Label15", "Leave office on day", "Text14", "Leave office on day", 1, 5},
        {"Label3", "Password", "Text4", "Password", 2, 0, &Form6::password_},
        {"Label4", "Telephone", "Text2", "Telephone", 2, 1},
    };
    for (const Entry& e : entries) {
        const int top = rowTop(e.row);
        const QString fieldName = QString::fromLatin1(e.field);
        const bool wide =
            fieldName == QLatin1String("Text7") || fieldName == QLatin1String("Text8");
        addCaption(QString::fromLatin1(e.label), QString::fromLatin1(e.caption),
                   kCaptionLeft[e.column_], top, kCaptionWidth);
        auto* field = addField(fieldName, QString::fromLatin1(e.column), kFieldLeft[e.column_], top,
                               wide ? kWideFieldWidth : kFieldWidth);
        fields_.push_back(field);
        if (e.member) this->*e.member = field;
    }
    password_->setEchoMode(QLineEdit::Password);
    auto* asterisks = new AsteriskPasswordStyle;
    asterisks->setParent(password_);  // the field owns its style
    password_->setStyle(asterisks);

    // The monthly-pay box stands just before its caption.
    monthlyPayBox_ = new QCheckBox(this);
    monthlyPayBox_->setObjectName(QStringLiteral("Check1"));
    placeTwips(monthlyPayBox_, kCaptionLeft[2], rowTop(4), 255, kRowHeight);
    addCaption(QStringLiteral("Label16"), QStringLiteral("Monthly pay"), kCaptionLeft[2] + 300,
               rowTop(4), kCaptionWidth - 300);
    monthlyPay_ = addField(QStringLiteral("Text15"), QStringLiteral("Monthly pay"), kFieldLeft[2],
                           rowTop(4), kFieldWidth);
}

void Form6::buildChoices() {
    addCaption(QStringLiteral("Label13"), QStringLiteral("Vacate"), kCaptionLeft[2], rowTop(5),
               kCaptionWidth);
    // Offers the reasons for leaving; the choice is neither stored nor read.
    vacate_ = new forms::BoundCombo(QStringLiteral("DBCombo1"), choices_->source(),
                                    QStringLiteral("Vacate"), this);
    placeTwips(vacate_, kFieldLeft[2], rowTop(5), kFieldWidth, kRowHeight);
}

void Form6::buildButtons() {
    auto add = [this](const char* name, const char* caption, int left) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        placeTwips(button, left, kButtonTop, 1695, 615);
        return button;
    };
    login_ = add("Command1", "Login", 120);
    newEmployee_ = add("Command2", "New", 2040);
    save_ = add("Command3", "Save", 3960);
    cancel_ = add("Command4", "Cancel", 5880);
    byThisName_ = add("Command5", "By This Name", 7800);
    // Pressed only by the wage window, never by the user.
    byThisName_->hide();
}

void Form6::orderKeyboardFocus() {
    auto field = [this](const char* name) -> QWidget* {
        return findChild<QWidget*>(QString::fromLatin1(name));
    };
    const std::vector<QWidget*> order = {
        field("Text1"),  field("Text2"),  field("Text3"),  field("Text5"),  field("Text6"),
        field("Text7"),  field("Text8"),  field("Text9"),  field("Text10"), field("Text11"),
        field("Text12"), field("Text13"), field("Text14"), title_,          monthlyPayBox_,
        vacate_,         login_,          newEmployee_,    save_,           cancel_,
        monthlyPay_,     password_};
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form6::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace staff
