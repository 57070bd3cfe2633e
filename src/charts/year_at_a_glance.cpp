// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/year_at_a_glance.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "forms/error_boundary.h"
#include "forms/workspace.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/records/books.h"

namespace charts {

namespace {

QChartView* newView(const QString& name, QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(180);
    return view;
}

// Puts a new chart into a view; the view gives up the old one, which goes.
void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

const QString kSheetNotDay = QStringLiteral("sheet with a date that is not a day");
const QString kSheetsNotDays = QStringLiteral("sheets with dates that are not days");

}  // namespace

YearAtAGlance::YearAtAGlance() : FormWindow(windows::kYearAtAGlance) {
    setWindowTitle(QStringLiteral("The year at a glance"));
    resize(1100, 800);
    buildControls();
}

YearAtAGlance::~YearAtAGlance() = default;

void YearAtAGlance::buildControls() {
    auto* yearCaption = new QLabel(QStringLiteral("Year"), this);
    yearBox_ = new QSpinBox(this);
    yearBox_->setObjectName(QStringLiteral("year"));
    yearBox_->setEnabled(false);
    yearBox_->setToolTip(QStringLiteral("The year shown: type it, or step with the arrow keys"));
    yearCaption->setBuddy(yearBox_);

    print_ = new QPushButton(QStringLiteral("Print"), this);
    print_->setObjectName(QStringLiteral("print"));
    savePicture_ = new QPushButton(QStringLiteral("Save picture…"), this);
    savePicture_->setObjectName(QStringLiteral("savePicture"));

    details_ = new QLabel(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setWordWrap(true);
    details_->setText(QStringLiteral("Point at a month or a day to see its figures."));
    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setWordWrap(true);
    notes_->setStyleSheet(QStringLiteral("color: #8a1c1c;"));

    monthsView_ = newView(QStringLiteral("monthsChart"), this);
    turnoverView_ = newView(QStringLiteral("turnoverChart"), this);
    differenceView_ = newView(QStringLiteral("differenceChart"), this);
    wagesView_ = newView(QStringLiteral("wagesChart"), this);

    auto* top = new QHBoxLayout();
    top->addWidget(yearCaption);
    top->addWidget(yearBox_);
    top->addSpacing(12);
    top->addWidget(details_, 1);
    top->addWidget(print_);
    top->addWidget(savePicture_);

    auto* pictures = new QGridLayout();
    pictures->addWidget(monthsView_, 0, 0, 1, 2);
    auto* days = new QVBoxLayout();
    days->addWidget(turnoverView_);
    days->addWidget(differenceView_);
    pictures->addLayout(days, 1, 0);
    pictures->addWidget(wagesView_, 1, 1);
    pictures->setRowStretch(0, 4);
    pictures->setRowStretch(1, 5);
    pictures->setColumnStretch(0, 3);
    pictures->setColumnStretch(1, 2);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(notes_);
    all->addLayout(pictures, 1);

    using forms::connectGuarded;
    connectGuarded(yearBox_, &QSpinBox::valueChanged, this, [this](int year) {
        if (year != year_) showYear(year);
    });
    connectGuarded(print_, &QPushButton::clicked, this, [this] { printPictures(); });
    connectGuarded(savePicture_, &QPushButton::clicked, this, [this] { savePicture(); });

    // Empty pictures until the books are read.
    showYear(0);
}

void YearAtAGlance::loadStep() {
    try {
        store_ = ledger::openBooks(forms::workspace().books());
        books_ = std::make_unique<BooksAtAGlance>(BooksAtAGlance::read(*store_));
    } catch (...) {
        // The error itself is shown by the load; the pictures stay empty.
        notes_->setText(QStringLiteral("The books could not be read, so the pictures are empty."));
        notes_->setVisible(true);
        throw;
    }
    const std::vector<int> years = books_->years();
    if (years.empty()) {
        // No year to show: the box says so rather than "0".
        yearBox_->setRange(0, 0);
        yearBox_->setSpecialValueText(QStringLiteral("none"));
    } else {
        // Blocked: the year is drawn once, below.
        const QSignalBlocker quiet(yearBox_);
        yearBox_->setRange(years.front(), years.back());
        yearBox_->setValue(years.back());
        yearBox_->setEnabled(true);
        yearBox_->setFocus();
    }
    showYear(years.empty() ? 0 : years.back());
}

void YearAtAGlance::keyPressEvent(QKeyEvent* event) {
    // The arrow keys step through the years wherever the focus is.
    const int step = event->key() == Qt::Key_Left || event->key() == Qt::Key_Down  ? -1
                     : event->key() == Qt::Key_Right || event->key() == Qt::Key_Up ? 1
                                                                                   : 0;
    if (step != 0 && yearBox_->isEnabled()) {
        yearBox_->setValue(yearBox_->value() + step);
        return;
    }
    FormWindow::keyPressEvent(event);
}

void YearAtAGlance::showYear(int year) {
    year_ = year;
    yearMonths_ = books_ ? books_->monthsOf(year) : std::vector<MonthFigures>();
    wages_ = books_ ? books_->wagesOf(year) : std::vector<MonthWages>();

    monthsPicture_ = drawMonths(year, yearMonths_);
    replaceChart(monthsView_, monthsPicture_.chart);
    using forms::connectGuarded;
    for (QBarSet* set : {monthsPicture_.income, monthsPicture_.expenditure}) {
        connectGuarded(set, &QBarSet::hovered, this, [this](bool over, int index) {
            if (over) describeMonth(index);
        });
        connectGuarded(set, &QBarSet::clicked, this, [this](int index) { pickMonth(index); });
        connectGuarded(set, &QBarSet::doubleClicked, this,
                       [this](int index) { openMonthSheet(index); });
    }
    for (QLineSeries* line : monthsPicture_.settlementTotal) {
        connectGuarded(line, &QLineSeries::hovered, this, [this](const QPointF& point, bool over) {
            if (over) describeMonth(qRound(point.x()));
        });
        connectGuarded(line, &QLineSeries::clicked, this,
                       [this](const QPointF& point) { pickMonth(qRound(point.x())); });
        connectGuarded(line, &QLineSeries::doubleClicked, this,
                       [this](const QPointF& point) { openMonthSheet(qRound(point.x())); });
    }

    wagesPicture_ = drawWages(year, wages_);
    replaceChart(wagesView_, wagesPicture_.chart);
    for (QBarSet* set : {wagesPicture_.wages, wagesPicture_.booked}) {
        connectGuarded(set, &QBarSet::hovered, this, [this](bool over, int index) {
            if (over) describeWages(index);
        });
        connectGuarded(set, &QBarSet::clicked, this, [this](int index) { describeWages(index); });
    }

    showMonthDays(books_ ? books_->latestMonthWithDays(year) : std::nullopt);
}

void YearAtAGlance::showMonthDays(std::optional<YearMonth> month) {
    month_ = month;
    days_.clear();
    QString monthText;
    if (month && books_) {
        days_ = readDays(*store_, books_->daysOf(*month));
        monthText = QStringLiteral("%1/ %2").arg(month->month).arg(month->year);
    }
    daysPicture_ = drawDays(month, monthText, days_);
    replaceChart(turnoverView_, daysPicture_.turnover);
    replaceChart(differenceView_, daysPicture_.difference);
    using forms::connectGuarded;
    // A bar stands at its day's place: the sheet it shows, if any.
    auto sheetAt = [this](int bar) {
        return bar >= 0 && bar < static_cast<int>(daysPicture_.sheetAt.size())
                   ? daysPicture_.sheetAt[static_cast<size_t>(bar)]
                   : -1;
    };
    for (QBarSet* set : {daysPicture_.turnoverBars, daysPicture_.shortfall, daysPicture_.overage}) {
        connectGuarded(set, &QBarSet::hovered, this, [this, sheetAt](bool over, int bar) {
            if (over) describeDay(sheetAt(bar));
        });
        connectGuarded(set, &QBarSet::clicked, this,
                       [this, sheetAt](int bar) { openDay(sheetAt(bar)); });
    }
    showNotes();
}

void YearAtAGlance::showNotes() {
    QStringList lines;
    if (!books_) {
        if (!isLoaded()) return;  // before the books are read
        lines << QStringLiteral("The books could not be read, so the pictures are empty.");
    } else if (books_->isEmpty()) {
        lines << QStringLiteral("The books hold no days yet.");
    } else {
        if (yearMonths_.empty())
            lines << QStringLiteral("The books hold no days in %1.").arg(year_);
        if (const QString line =
                leftOutLine(books_->sheetsOutsideMonths(), kSheetNotDay, kSheetsNotDays);
            !line.isEmpty())
            lines << line + QStringLiteral(" (they are in no month).");
        if (const QString line =
                leftOutLine(books_->wageRowsOutsideMonths(),
                            QStringLiteral("wage row with a date that is not a day"),
                            QStringLiteral("wage rows with dates that are not days"));
            !line.isEmpty())
            lines << line + QStringLiteral(" of the wages.");
        for (const MonthFigures& month : yearMonths_)
            if (!month.problem.isEmpty())
                lines << QStringLiteral("%1 is not drawn: %2.").arg(month.monthText, month.problem);
        for (const DayFigures& day : days_)
            if (!day.problem.isEmpty())
                lines << QStringLiteral("%1 is not drawn: %2.").arg(day.sheet.date, day.problem);
    }
    notes_->setText(lines.join(QLatin1Char('\n')));
    notes_->setVisible(!lines.isEmpty());
}

const MonthFigures* YearAtAGlance::figuresOf(int monthIndex) const {
    for (const MonthFigures& month : yearMonths_)
        if (month.month.month == monthIndex + 1) return &month;
    return nullptr;
}

void YearAtAGlance::describeMonth(int monthIndex) {
    const MonthFigures* month = figuresOf(monthIndex);
    if (!month) {
        details_->setText(QStringLiteral("%1 %2: no days in the books.")
                              .arg(monthNames().value(monthIndex))
                              .arg(year_));
        return;
    }
    if (!month->problem.isEmpty()) {
        details_->setText(QStringLiteral("%1: %2.").arg(month->monthText, month->problem));
        return;
    }
    const daily::SheetFigures& f = month->figures;
    details_->setText(QStringLiteral("%1: income %2, expenditure %3, administration %4, "
                                     "settlement total %5. Click for its days, double-click for "
                                     "the month sheet.")
                          .arg(month->monthText, f.totalNetAmount, f.expenditureSubtotal,
                               f.administrationSubtotal, f.settlementTotal));
}

void YearAtAGlance::describeDay(int dayIndex) {
    if (dayIndex < 0 || dayIndex >= static_cast<int>(days_.size())) return;
    const DayFigures& day = days_[static_cast<size_t>(dayIndex)];
    if (!day.problem.isEmpty()) {
        details_->setText(QStringLiteral("%1: %2.").arg(day.sheet.date, day.problem));
        return;
    }
    const double difference = day.differenceAmount();
    const QString kind = difference < 0   ? QStringLiteral(" (short)")
                         : difference > 0 ? QStringLiteral(" (over)")
                                          : QString();
    details_->setText(QStringLiteral("%1: turnover %2, difference %3%4. Click to open the day.")
                          .arg(day.sheet.date, day.turnover.isEmpty() ? "0" : day.turnover,
                               day.difference, kind));
}

void YearAtAGlance::describeWages(int monthIndex) {
    for (const MonthWages& month : wages_) {
        if (month.month.month != monthIndex + 1) continue;
        const WagesCheck& check = month.check;
        const QString why = check.why();
        details_->setText(QStringLiteral("%1/ %2: wages %3, Personnel rate booked %4: %5.")
                              .arg(month.month.month)
                              .arg(month.month.year)
                              .arg(ledger::amountText(check.wages),
                                   ledger::amountText(check.booked),
                                   why.isEmpty() ? QStringLiteral("they agree") : why));
        return;
    }
    details_->setText(QStringLiteral("%1 %2: no wages and no days in the books.")
                          .arg(monthNames().value(monthIndex))
                          .arg(year_));
}

void YearAtAGlance::pickMonth(int monthIndex) {
    describeMonth(monthIndex);
    if (const MonthFigures* month = figuresOf(monthIndex)) showMonthDays(month->month);
}

}  // namespace charts
