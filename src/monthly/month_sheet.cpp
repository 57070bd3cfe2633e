// SPDX-License-Identifier: GPL-3.0-or-later
#include "monthly/month_sheet.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/decorative_bar.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"

namespace monthly {

using forms::placeTwips;

namespace {

constexpr int kClientWidth = 11910;
constexpr int kClientHeight = 8280;

// Three columns (administration, expenditure, income): a caption, then its
// field or figure to the right, sized like the daily window's.
constexpr int kColumnLeft[3] = {120, 4080, 8040};
constexpr int kColumnWidth = 3735;
constexpr int kCaptionWidth = 1935;
constexpr int kFieldOffset = 2040;
constexpr int kFieldWidth = 1695;
constexpr int kFieldHeight = 495;
constexpr int kHeadingTop = 960;
constexpr int kFirstRowTop = 1440;
constexpr int kRowStep = 480;
constexpr int kSubtotalTop = 6360;
constexpr int kSubtotalHeight = 615;
constexpr int kDecorationTop = 7080;
constexpr int kBottomRowTop = 7440;

// Colours of the daily window's counterparts, so both sheets read alike.
constexpr quint32 kHeadingBackground = 0x0080FFFF;

int fieldLeft(int column) { return kColumnLeft[column] + kFieldOffset; }

}  // namespace

Form4::Form4(QWidget* parent) : FormWindow(QStringLiteral("Form4"), parent) {
    setWindowTitle(QStringLiteral("Settle account in the month"));
    setFont(forms::arialFont(9, false));
    resize(forms::twips(kClientWidth), forms::twips(kClientHeight));

    data_ = new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kMonthTotals,
                                   QStringLiteral("Month"), this);
    // The month rows are sums: typed figures can never be stored. Say so
    // once and let the move or the closing go ahead, rather than refusing
    // to leave the month.
    data_->source().setReadOnlyEdits(
        ledger::RecordSource::ReadOnlyEdits::ReportAndDiscard,
        [this](const ledger::LedgerError& error) { tellTotalsAreReadOnly(error); });
    data_->source().setEmptyAdvice(
        QStringLiteral("there is no month here yet, as the books hold no days. Begin a day with "
                       "New in the daily settlement window and Save it, then open this sheet "
                       "again."));

    buildTopRow();
    buildAdministration();
    buildExpenditure();
    buildIncome();
    buildBottomRow();
    buildDecoration();
    figures_ = std::make_unique<settlement::SettlementChain>(this, sheetControls(),
                                                             settlement::Sheet::Month);
    orderKeyboardFocus();
    centreOnScreen();
}

ledger::RecordSource& Form4::records() { return data_->source(); }

QLabel* Form4::addCaption(const QString& name, const QString& text, int left, int top, int height) {
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setWordWrap(true);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeTwips(caption, left, top, kCaptionWidth, height);
    return caption;
}

QLabel* Form4::addHeading(const QString& name, const QString& text, int left) {
    auto* heading = new QLabel(text, this);
    heading->setObjectName(name);
    heading->setFont(forms::arialFont(9.75, true));
    heading->setAlignment(Qt::AlignCenter);
    forms::setBackground(heading, kHeadingBackground);
    placeTwips(heading, left, kHeadingTop, kColumnWidth, 375);
    return heading;
}

forms::BoundLineEdit* Form4::addTotalField(const QString& name, const QString& ledgerColumn,
                                           int left, int top) {
    auto* field = new forms::BoundLineEdit(name, data_->source(),
                                           ledger::schema::monthTotalOf(ledgerColumn), this);
    placeTwips(field, left, top, kFieldWidth, kFieldHeight);
    return field;
}

forms::ComputedFigure* Form4::addFigure(const QString& name, quint32 background, int left, int top,
                                        int height) {
    auto* figure = new forms::ComputedFigure(name, this);
    figure->setAlignment(Qt::AlignCenter);
    figure->setFrameShape(QFrame::Panel);
    figure->setFrameShadow(QFrame::Sunken);
    forms::setBackground(figure, background);
    placeTwips(figure, left, top, kFieldWidth, height);
    return figure;
}

void Form4::buildTopRow() {
    title_ = new QLineEdit(QStringLiteral("Settle account in the month"), this);
    title_->setObjectName(QStringLiteral("Text1"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(forms::arialFont(15.75, true));
    placeTwips(title_, 120, 120, 4455, 735);

    auto* dateCaption = new QLabel(QStringLiteral("Date"), this);
    dateCaption->setObjectName(QStringLiteral("Label1"));
    dateCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(dateCaption, 4680, 120, 495, 525);

    month_ = new forms::BoundLineEdit(QStringLiteral("Text2"), data_->source(),
                                      QStringLiteral("Date per month"), this);
    month_->setAlignment(Qt::AlignCenter);
    month_->setFont(forms::arialFont(9.75, true));
    placeTwips(month_, 5280, 120, 1455, 525);

    placeTwips(data_, 6840, 120, 2415, 495);

    inquiry_ = new QPushButton(QStringLiteral("Inquiry  --Style:12/2002"), this);
    inquiry_->setObjectName(QStringLiteral("Command1"));
    placeTwips(inquiry_, 9360, 120, 2415, 615);
    forms::connectGuarded(inquiry_, &QPushButton::clicked, this, [this](bool) { inquireMonth(); });
}

void Form4::buildAdministration() {
    static const QStringList captions = {
        QStringLiteral("Rant"),          QStringLiteral("Partner"),
        QStringLiteral("Electric rate"), QStringLiteral("Telephone rate"),
        QStringLiteral("Water rate"),    QStringLiteral("Personnel rate"),
        QStringLiteral("Income tax"),    QStringLiteral("Board expenses"),
        QStringLiteral("Main payment"),  QStringLiteral("Insurance")};
    const QStringList& columns = ledger::schema::ledgerDayAmounts();

    addHeading(QStringLiteral("Label2"), QStringLiteral("Administration"), kColumnLeft[0]);
    for (int i = 0; i < 10; ++i) {
        const int top = kFirstRowTop + i * kRowStep;
        addCaption(QStringLiteral("Label%1").arg(3 + i), captions.at(i), kColumnLeft[0], top,
                   kFieldHeight);
        administration_.push_back(
            addTotalField(QStringLiteral("Text%1").arg(3 + i), columns.at(i), fieldLeft(0), top));
    }
    addCaption(QStringLiteral("Label13"), QStringLiteral("Administration's subtotal"),
               kColumnLeft[0], kSubtotalTop, kSubtotalHeight);
    administrationSubtotal_ = addFigure(QStringLiteral("Label36"), 0x00FFC0C0, fieldLeft(0),
                                        kSubtotalTop, kSubtotalHeight);
}

void Form4::buildExpenditure() {
    static const QStringList captions = {
        QStringLiteral("Bread trader"), QStringLiteral("General materials"),
        QStringLiteral("Noodles"),      QStringLiteral("Fruit"),
        QStringLiteral("Egg"),          QStringLiteral("Gas"),
        QStringLiteral("Beverage"),     QStringLiteral("Miscellaneous"),
        QStringLiteral("Tableware"),    QStringLiteral("Articles in the shop")};
    const QStringList& columns = ledger::schema::ledgerDayAmounts();

    addHeading(QStringLiteral("Label14"), QStringLiteral("Expenditure"), kColumnLeft[1]);
    for (int i = 0; i < 10; ++i) {
        const int top = kFirstRowTop + i * kRowStep;
        addCaption(QStringLiteral("Label%1").arg(15 + i), captions.at(i), kColumnLeft[1], top,
                   kFieldHeight);
        expenditure_.push_back(addTotalField(QStringLiteral("Text%1").arg(14 + i),
                                             columns.at(10 + i), fieldLeft(1), top));
    }
    addCaption(QStringLiteral("Label25"), QStringLiteral("Subtotal of the expenditure"),
               kColumnLeft[1], kSubtotalTop, kSubtotalHeight);
    expenditureSubtotal_ = addFigure(QStringLiteral("Label37"), 0x00C0C0FF, fieldLeft(1),
                                     kSubtotalTop, kSubtotalHeight);
}

void Form4::buildIncome() {
    const int left = kColumnLeft[2];
    const int field = fieldLeft(2);
    addHeading(QStringLiteral("Label26"), QStringLiteral("Income"), left);

    // Spaced like the daily window's income column: the figures breathe a
    // little more than the fields.
    addCaption(QStringLiteral("Label27"), QStringLiteral("Turnover"), left, 1440, kFieldHeight);
    turnover_ = addTotalField(QStringLiteral("Text25"), QStringLiteral("Turnover"), field, 1440);
    forms::setBackground(turnover_, 0x00FFC0C0);

    addCaption(QStringLiteral("Label28"), QStringLiteral("Small incidental money"), left, 1920,
               kFieldHeight);
    smallIncidentalMoney_ = addTotalField(QStringLiteral("Text26"),
                                          QStringLiteral("Small incidental money"), field, 1920);
    forms::setBackground(smallIncidentalMoney_, 0x00FFFFFF);

    addCaption(QStringLiteral("Label29"), QStringLiteral("Total net amount"), left, 2520,
               kFieldHeight);
    totalNetAmount_ = addFigure(QStringLiteral("Label38"), 0x008080FF, field, 2520, kFieldHeight);

    addCaption(QStringLiteral("Label30"), QStringLiteral("Out-of-pocket expenses"), left, 3120,
               kFieldHeight);
    outOfPocketExpenses_ =
        addFigure(QStringLiteral("Label39"), 0x00FF80FF, field, 3120, kFieldHeight);

    addCaption(QStringLiteral("Label31"), QStringLiteral("Deduct the small incidental money"), left,
               3720, kFieldHeight);
    deduction_ = addFigure(QStringLiteral("Label40"), 0x0080C0FF, field, 3720, kFieldHeight);

    addCaption(QStringLiteral("Label32"), QStringLiteral("Subtotal of the cash"), left, 4320,
               kFieldHeight);
    cashSubtotal_ = addFigure(QStringLiteral("Label41"), 0x0080FF80, field, 4320, kFieldHeight);

    addCaption(QStringLiteral("Label33"), QStringLiteral("Accept cashes in fact"), left, 5040,
               kFieldHeight);
    acceptedCash_ = addTotalField(QStringLiteral("Text13"), QStringLiteral("Accept cashes in fact"),
                                  field, 5040);
    forms::setBackground(acceptedCash_, 0x00C0FFFF);

    addCaption(QStringLiteral("Label34"), QStringLiteral("Difference"), left, 5640, kFieldHeight);
    difference_ = addFigure(QStringLiteral("Label42"), 0x00FFFFC0, field, 5640, kFieldHeight);
}

void Form4::buildBottomRow() {
    print_ = new QPushButton(QStringLiteral("Print"), this);
    print_->setObjectName(QStringLiteral("Command2"));
    placeTwips(print_, kColumnLeft[1] + (kColumnWidth - 1455) / 2, kBottomRowTop, 1455, 735);
    forms::connectGuarded(print_, &QPushButton::clicked, this, [this](bool) { printSheet(); });

    // In the free space under the administration column, clear of the
    // sheet's own design; disabled when this program has no such window.
    yearAtAGlance_ = new QPushButton(QStringLiteral("The year at a glance"), this);
    yearAtAGlance_->setObjectName(QStringLiteral("yearAtAGlance"));
    placeTwips(yearAtAGlance_, kColumnLeft[0] + (kColumnWidth - 2415) / 2, kBottomRowTop, 2415,
               735);
    forms::connectGuarded(yearAtAGlance_, &QPushButton::clicked, this,
                          [this](bool) { openYearAtAGlance(); });

    auto* caption = addCaption(QStringLiteral("Label35"), QStringLiteral("Total"), kColumnLeft[2],
                               kBottomRowTop + 60, kSubtotalHeight);
    caption->setFont(forms::arialFont(9.75, true));
    total_ = addFigure(QStringLiteral("Label43"), 0x00C0FFC0, fieldLeft(2), kBottomRowTop + 60,
                       kSubtotalHeight);
    total_->setFont(forms::arialFont(9.75, true));
}

void Form4::buildDecoration() {
    const int half = (kClientWidth - 240) / 2;
    placeTwips(new forms::DecorativeBar(QStringLiteral("Image1"), this), 120, kDecorationTop, half,
               240);
    placeTwips(new forms::DecorativeBar(QStringLiteral("Image2"), this), 120 + half, kDecorationTop,
               half, 240);
}

void Form4::orderKeyboardFocus() {
    // The top row, down the administration, down the expenditure, the
    // income fields, Print, and last the cash counted.
    std::vector<QWidget*> order = {title_, month_, data_, inquiry_};
    order.insert(order.end(), administration_.begin(), administration_.end());
    order.insert(order.end(), expenditure_.begin(), expenditure_.end());
    order.insert(order.end(),
                 {turnover_, smallIncidentalMoney_, print_, acceptedCash_, yearAtAGlance_});
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form4::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

settlement::SheetControls Form4::sheetControls() const {
    return {{administration_.begin(), administration_.end()},
            {expenditure_.begin(), expenditure_.end()},
            turnover_,
            smallIncidentalMoney_,
            acceptedCash_,
            administrationSubtotal_,
            expenditureSubtotal_,
            outOfPocketExpenses_,
            deduction_,
            totalNetAmount_,
            cashSubtotal_,
            difference_,
            total_};
}

}  // namespace monthly
