// SPDX-License-Identifier: GPL-3.0-or-later
// The daily window's controls, placed where the shop's sheet has them
// (positions and sizes in twips, colours as &H00BBGGRR values).

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "daily/daily_window.h"
#include "daily/screen_density.h"
#include "daily/wrapping_button.h"
#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/decorative_bar.h"
#include "forms/layout_units.h"
#include "ledger/schema/schema.h"

namespace daily {

using forms::arialFont;
using forms::placeTwips;
using forms::setBackground;

namespace {

// Design client area of the window.
constexpr int kDesignWidth = 11985;
constexpr int kDesignHeight = 8775;

constexpr int kFieldHeight = 495;
constexpr int kNarrowField = 1695;  // administration and expenditure
constexpr int kWideField = 1815;    // income

// Where each group's captions start, left of its fields.
constexpr int kAdministrationCaptions = 120;
constexpr int kExpenditureCaptions = 3600;
constexpr int kIncomeCaptions = 8040;
constexpr int kCaptionWidth = 1860;
constexpr int kAdministrationCaptionWidth = 1620;

using forms::BoundLineEdit;
using forms::ComputedFigure;
using settlement::SheetControls;

struct AmountField {
    const char* name;
    const char* column;
    const char* captionName;
    const char* caption;
    int captionLeft;
    int left;
    int top;
    // Where the window keeps the field: an income figure's input, and a
    // field other windows use (both optional).
    QLineEdit* SheetControls::*income = nullptr;
    BoundLineEdit* DailyFields::*shared = nullptr;
};

const AmountField kAmountFields[] = {
    {"Text1", "Rent", "Label4", "Rant", kAdministrationCaptions, 1800, 1200, nullptr,
     &DailyFields::rent},
    {"Text3", "Partner", "Label6", "Partner", kAdministrationCaptions, 1800, 1680},
    {"Text4", "Electric rate", "Label7", "Electric rate", kAdministrationCaptions, 1800, 2160},
    {"Text5", "Telephone rate", "Label8", "Telephone rate", kAdministrationCaptions, 1800, 2640},
    {"Text6", "Water rate", "Label9", "Water rate", kAdministrationCaptions, 1800, 3120},
    {"Text7", "Personnel rate", "Label10", "Personnel rate", kAdministrationCaptions, 1800, 3600,
     nullptr, &DailyFields::personnelRate},
    {"Text8", "Income tax", "Label11", "Income tax", kAdministrationCaptions, 1800, 4080},
    {"Text9", "Board expenses", "Label12", "Board expenses", kAdministrationCaptions, 1800, 4560},
    {"Text10", "Main payment", "Label13", "Main payment", kAdministrationCaptions, 1800, 5040},
    {"Text11", "Insurance", "Label14", "Insurance", kAdministrationCaptions, 1800, 5520},
    {"Text12", "Bread trader", "Label15", "Bread trader", kExpenditureCaptions, 5520, 1200},
    {"Text13", "General materials", "Label24", "General materials", kExpenditureCaptions, 5520,
     1680},
    {"Text14", "Noodles", "Label17", "Noodles", kExpenditureCaptions, 5520, 2160},
    {"Text15", "Fruit", "Label18", "Fruit", kExpenditureCaptions, 5520, 2640},
    {"Text16", "Egg", "Label19", "Egg", kExpenditureCaptions, 5520, 3120},
    {"Text17", "Gas", "Label20", "Gas", kExpenditureCaptions, 5520, 3600},
    {"Text18", "Beverage", "Label21", "Beverage", kExpenditureCaptions, 5520, 4080},
    {"Text19", "Miscellaneous", "Label22", "Miscellaneous", kExpenditureCaptions, 5520, 4560},
    {"Text20", "Tableware", "Label23", "Tableware", kExpenditureCaptions, 5520, 5040, nullptr,
     &DailyFields::tableware},
    {"Text21", "Articles in the shop", "Label16", "Articles in the shop", kExpenditureCaptions,
     5520, 5520, nullptr, &DailyFields::shopArticles},
    {"Text25", "Turnover", "Label29", "Turnover", kIncomeCaptions, 9960, 1200,
     &SheetControls::turnover},
    {"Text26", "Small incidental money", "Label30", "Small incidental money", kIncomeCaptions, 9960,
     1680, &SheetControls::smallIncidentalMoney},
    {"Text31", "Accept cashes in fact", "Label35", "Accept cashes in fact", kIncomeCaptions, 9960,
     4800, &SheetControls::acceptedCash},
};

struct Figure {
    const char* name;
    const char* captionName;
    const char* caption;
    quint32 background;
    int captionLeft;
    int left, top, width, height;
    ComputedFigure* SheetControls::*slot;
};

const Figure kFigures[] = {
    {"Label28", "Label25", "Administration's subtotal", 0x00FFC0C0, kAdministrationCaptions, 1800,
     6480, 1695, 615, &SheetControls::administrationSubtotal},
    {"Label38", "Label26", "Subtotal of the expenditure", 0x00C0C0FF, kExpenditureCaptions, 5520,
     6480, 1695, 615, &SheetControls::expenditureSubtotal},
    {"Label41", "Label31", "Total net amount", 0x008080FF, kIncomeCaptions, 9960, 2280, 1815, 495,
     &SheetControls::totalNetAmount},
    {"Label39", "Label32", "Out-of-pocket expenses", 0x00FF80FF, kIncomeCaptions, 9960, 2880, 1815,
     495, &SheetControls::outOfPocket},
    {"Label40", "Label33", "Deduct the small incidental money", 0x0080C0FF, kIncomeCaptions, 9960,
     3480, 1815, 495, &SheetControls::smallMoneyDeducted},
    {"Label42", "Label34", "Subtotal of the cash", 0x0080FF80, kIncomeCaptions, 9960, 4080, 1815,
     495, &SheetControls::cashSubtotal},
    {"Label43", "Label36", "Difference", 0x00FFFFC0, kIncomeCaptions, 9960, 5400, 1815, 495,
     &SheetControls::difference},
    {"Label44", "Label37", "Settlement total of every day", 0x00C0FFC0, kIncomeCaptions, 9960, 6480,
     1815, 615, &SheetControls::settlementTotal},
};

// The three group headings over the columns of fields.
struct Heading {
    const char* name;
    const char* caption;
    int left, width;
};
const Heading kHeadings[] = {
    {"Label3", "Administration", kAdministrationCaptions, 3375},
    {"Label5", "Expenditure", kExpenditureCaptions, 3615},
    {"Label27", "Income", kIncomeCaptions, 3735},
};
constexpr int kHeadingTop = 780;
constexpr int kHeadingHeight = 360;
constexpr quint32 kHeadingBackground = 0x0080FFFF;

QLabel* caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFont(arialFont(9.75, false));
    return label;
}

}  // namespace

void Form1::buildControls() {
    setWindowTitle(QStringLiteral("Daily settlement of  accounts"));
    resize(forms::twips(kDesignWidth), forms::twips(kDesignHeight));

    data1_ = new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kLedger,
                                    QStringLiteral("  Date"), this);
    placeTwips(data1_, 9840, 120, 1875, 495);
    // The bar is narrow: a small face leaves room for its caption.
    data1_->setFont(arialFont(8, false));

    buildHeader();
    buildAmountFields();
    buildFigures();
    buildButtons();
    buildDecoration();
}

void Form1::buildHeader() {
    auto* title = new QLabel(QStringLiteral("Daily settlement of accounts"), this);
    title->setObjectName(QStringLiteral("Label2"));
    title->setFont(arialFont(15.75, true));
    title->setAlignment(Qt::AlignCenter);
    setBackground(title, 0x00FFFFC0);
    forms::setForeground(title, 0x00FF0000);
    placeTwips(title, 120, 120, 5400, 555);

    auto* dateCaption = caption(QStringLiteral("Label1"), QStringLiteral("Date"), this);
    dateCaption->setFont(arialFont(9.75, true));
    dateCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(dateCaption, 5640, 120, 540, 525);

    auto* date =
        new BoundLineEdit(QStringLiteral("Text2"), data1_->source(), QStringLiteral("Date"), this);
    fields_.date = date;
    date->setAlignment(Qt::AlignCenter);
    date->setFont(arialFont(9.75, true));
    placeTwips(date, 6240, 120, 1455, 525);

    for (const Heading& h : kHeadings) {
        auto* heading = new QLabel(QString::fromUtf8(h.caption), this);
        heading->setObjectName(QString::fromUtf8(h.name));
        heading->setFont(arialFont(12, true));
        heading->setAlignment(Qt::AlignCenter);
        setBackground(heading, kHeadingBackground);
        placeTwips(heading, h.left, kHeadingTop, h.width, kHeadingHeight);
    }
}

void Form1::buildAmountFields() {
    for (const AmountField& f : kAmountFields) {
        auto* edit = new BoundLineEdit(QString::fromUtf8(f.name), data1_->source(),
                                       QString::fromUtf8(f.column), this);
        if (f.captionLeft == kAdministrationCaptions)
            figureControls_.administration.push_back(edit);
        if (f.captionLeft == kExpenditureCaptions) figureControls_.expenditure.push_back(edit);
        if (f.income) figureControls_.*f.income = edit;
        if (f.shared) fields_.*f.shared = edit;
        edit->setFont(arialFont(12, false));
        const bool income = f.left == 9960;
        placeTwips(edit, f.left, f.top, income ? kWideField : kNarrowField, kFieldHeight);

        QLabel* label =
            caption(QString::fromUtf8(f.captionName), QString::fromUtf8(f.caption), this);
        const int width =
            f.captionLeft == kAdministrationCaptions ? kAdministrationCaptionWidth : kCaptionWidth;
        placeTwips(label, f.captionLeft, f.top, width, kFieldHeight);
    }
    setBackground(figureControls_.turnover, 0x00FFC0C0);
    setBackground(figureControls_.smallIncidentalMoney, 0x00FFFFFF);
    setBackground(figureControls_.acceptedCash, 0x00C0FFFF);
}

void Form1::buildFigures() {
    for (const Figure& f : kFigures) {
        auto* figure = new ComputedFigure(QString::fromUtf8(f.name), this);
        figureControls_.*f.slot = figure;
        figure->setFont(arialFont(12, true));
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figure->setIndent(6);
        figure->setFrameShape(QFrame::Box);
        setBackground(figure, f.background);
        placeTwips(figure, f.left, f.top, f.width, f.height);

        QLabel* label =
            caption(QString::fromUtf8(f.captionName), QString::fromUtf8(f.caption), this);
        const int width =
            f.captionLeft == kAdministrationCaptions ? kAdministrationCaptionWidth : kCaptionWidth;
        placeTwips(label, f.captionLeft, f.top, width, f.height);
    }
}

void Form1::buildButtons() {
    static const struct {
        const char* name;
        const char* caption;
        int left, top, width, height;
        QPushButton* Form1::*member;
    } buttons[] = {
        {"Command1", "Inquiry  --Style:2002/2/12", 7920, 120, 1815, 615, &Form1::inquiry_},
        {"Command2", "Detail", 7320, 5040, 615, 495, &Form1::tablewareDetail_},
        {"Command3", "Detail", 7320, 5520, 615, 495, &Form1::shopArticlesDetail_},
        {"Command4", "New", 4920, 7560, 1095, 735, &Form1::new_},
        {"Command5", "Save", 6120, 7560, 1095, 735, &Form1::save_},
        {"Command6", "Print", 7320, 7560, 1095, 735, &Form1::print_},
        {"Command7", "Settle account in the month", 2400, 7560, 1215, 735, &Form1::monthly_},
        {"Command8", "The staff calculate wages", 3720, 7560, 1095, 735, &Form1::wages_},
        {"Command9", "The staff revise materials", 1080, 7560, 1215, 735, &Form1::staffRegister_},
        {"Command10", "The detailed statement of the salary", 8640, 7560, 2295, 735,
         &Form1::salary_},
        // Not on the shop's form: in the free corner left of the buttons.
        {"DayWagesButton", "Wages of the day", 120, 7560, 915, 735, &Form1::dayWages_},
    };
    for (const auto& b : buttons) {
        auto* button =
            new WrappingButton(QString::fromUtf8(b.name), QString::fromUtf8(b.caption), this);
        button->setFont(arialFont(9, false));
        placeTwips(button, b.left, b.top, b.width, b.height);
        this->*b.member = button;
    }
    history_ = new WrappingButton(QStringLiteral("history"), QStringLiteral("History…"), this);
    history_->setFont(arialFont(8, false));
    // Not on the shop's form either: in the free corner right of the
    // buttons, within the width the sheet's fields already take.
    placeTwips(history_, 10950, 7560, 820, 735);
}

void Form1::buildDecoration() {
    // Image1 to Image6: the same bar twice side by side at three heights (the
    // lowest pair lies below the window's design area, as on the shop's form).
    const int tops[] = {6120, 7200, 9480};
    int number = 1;
    for (int top : tops) {
        for (int left : {0, 8895}) {
            auto* image = new forms::DecorativeBar(QStringLiteral("Image%1").arg(number++), this);
            placeTwips(image, left, top, 8895, 240);
            image->lower();
        }
    }
}

void Form1::adaptToScreenDensity() {
    const auto adaptation = adaptationFor(screenDensity());
    if (!adaptation) return;
    // The window's outer place and size; the frame is the window manager's,
    // so the client area takes the size the shop's form gives the window.
    move(forms::twips(adaptation->leftTwips), forms::twips(adaptation->topTwips));
    resize(forms::twips(adaptation->widthTwips), forms::twips(adaptation->heightTwips));
    for (QLineEdit* field : {fields_.rent, fields_.date}) {
        QFont font = field->font();
        font.setPointSizeF(adaptation->fieldFontPoints);
        field->setFont(font);
    }
}

}  // namespace daily
