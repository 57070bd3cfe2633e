// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "charts/figures/books_at_a_glance.h"
#include "charts/pictures/year_pictures.h"
#include "forms/form_window.h"

class QChartView;
class QLabel;
class QPushButton;
class QSpinBox;

namespace ledger {
class Store;
}

namespace charts {

// "The year at a glance": the months of a year (income, expenditure and the
// settlement total, as the month sheet computes them), the days of one of
// its months (turnover and the cash difference, as the daily window shows
// them) and the wages against the personnel cost booked. A month is picked
// by clicking it; double-clicking opens it in the month sheet, clicking a
// day opens it in the daily window. The books are read when the window
// opens, as the month sheet reads them.
class YearAtAGlance : public forms::FormWindow {
    Q_OBJECT
public:
    YearAtAGlance();
    ~YearAtAGlance() override;

    // What is drawn now.
    int year() const { return year_; }
    std::optional<YearMonth> month() const { return month_; }
    const std::vector<MonthFigures>& yearMonths() const { return yearMonths_; }
    const std::vector<DayFigures>& days() const { return days_; }
    const std::vector<MonthWages>& wages() const { return wages_; }
    const MonthsPicture& monthsPicture() const { return monthsPicture_; }
    const DaysPicture& daysPicture() const { return daysPicture_; }
    const WagesPicture& wagesPicture() const { return wagesPicture_; }

    // What a click on a picture does, by the bar's place.
    void pickMonth(int monthIndex);       // 0 = January: its days and figures
    void openMonthSheet(int monthIndex);  // double-click
    void openDay(int dayIndex);           // a day's bar

protected:
    void loadStep() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showYear(int year);
    void showMonthDays(std::optional<YearMonth> month);
    void showNotes();
    void describeMonth(int monthIndex);
    void describeDay(int dayIndex);
    void describeWages(int monthIndex);
    const MonthFigures* figuresOf(int monthIndex) const;
    void printPictures();
    void savePicture();

    std::shared_ptr<ledger::Store> store_;
    std::unique_ptr<BooksAtAGlance> books_;
    int year_ = 0;
    std::optional<YearMonth> month_;
    std::vector<MonthFigures> yearMonths_;
    std::vector<DayFigures> days_;
    std::vector<MonthWages> wages_;
    MonthsPicture monthsPicture_;
    DaysPicture daysPicture_;
    WagesPicture wagesPicture_;

    QSpinBox* yearBox_ = nullptr;
    QLabel* details_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* savePicture_ = nullptr;
    QChartView* monthsView_ = nullptr;
    QChartView* turnoverView_ = nullptr;
    QChartView* differenceView_ = nullptr;
    QChartView* wagesView_ = nullptr;
};

}  // namespace charts
