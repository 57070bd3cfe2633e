// SPDX-License-Identifier: GPL-3.0-or-later
// The windows opening on full ledgers of every size, each next to a bare
// baseline doing the same work in the same run: a minimal Qt window, and the
// same rows read by bare SQLite and shown in the plainest Qt widgets. "Open"
// is what the user waits for: the window made, loaded, its record sources
// opened and its first picture drawn. Closing is not timed.
//
// Runs on the offscreen platform unless a display is set (xvfb-run -a for a
// real X server).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <map>
#include <memory>

#include "daily/daily_windows.h"
#include "forms/form_window.h"
#include "forms/workspace.h"
#include "full_ledger.h"
#include "ledger/calendar/calendar_day.h"
#include "ledger/schema/schema.h"
#include "ledger/store/sqlite/sqlite_statements.h"
#include "ledger/store/store.h"
#include "monthly/monthly_windows.h"
#include "salary/detail_query.h"
#include "salary/salary_windows.h"
#include "setup/schema_builder.h"
#include "shell/shell_windows.h"
#include "staff/staff_windows.h"
#include "supplies/supplies_windows.h"

namespace {

using forms::FormWindow;

// A program folder holding a full ledger of `days` days, 5,000 members of
// staff and `wages` wage rows (twenty employees a day, or in a real shop's
// shape: two a month for every member, full_ledger.h); made once per size.
// Without kept totals it is a ledger as earlier versions made it: the
// windows add up the rows.
QString ledgerFolder(int days, int wages = 10000, bool keptTotals = true, bool realShop = false) {
    static QTemporaryDir dir;
    static std::map<std::tuple<int, int, bool, bool>, QString> made;
    const auto key = std::tuple{days, wages, keptTotals, realShop};
    if (auto it = made.find(key); it != made.end()) return it->second;
    const QString folder = dir.filePath(
        QStringLiteral("%1-%2-%3-%4").arg(days).arg(wages).arg(keptTotals).arg(realShop));
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/breakfast.mdb");
    bench::writeFullLedger(file, {days, 5000, wages, QString(), realShop});
    if (!keptTotals) {
        ledger::statements::Connection db(file);
        setup::dropKeptTotals(db);
        db.close();
    }
    made[key] = folder;
    return folder;
}

QString fileIn(const QString& folder) { return folder + QStringLiteral("/breakfast.mdb"); }

// What the user waits for: the window drawn on the screen.
void showAndDraw(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) std::abort();
    QCoreApplication::processEvents();
}

void closeUntimed(benchmark::State& state, QWidget* window) {
    state.PauseTiming();
    if (auto* form = qobject_cast<FormWindow*>(window))
        form->unload();
    else
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

// One of the program's windows opened on the ledger of `folder`.
void openForm(benchmark::State& state, const QString& form, const QString& folder) {
    forms::workspace().setBooks(folder + QStringLiteral("/breakfast.mdb"));
    for (auto _ : state) {
        FormWindow* window = FormWindow::loadWindow(form);
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

struct Bare {
    sqlite3* db = nullptr;
    explicit Bare(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~Bare() { sqlite3_close(db); }
    // Every row of `sql` as texts.
    std::vector<QStringList> rows(const char* sql) const {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        std::vector<QStringList> out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            out.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        return out;
    }
};

// A window's controls as the plainest Qt widgets would show them: the kind,
// place, face and caption of each, read once from the program's window
// (untimed), so the baseline draws as many controls, as large, as the
// window does.
struct PlainControl {
    enum Kind { Field, Caption, Button } kind;
    QRect place;
    QFont face;
    QString text;
};
struct PlainWindow {
    QSize size;
    QString title;
    std::vector<PlainControl> controls;
};

PlainWindow plainCopyOf(const QString& form, const QString& folder) {
    forms::workspace().setBooks(fileIn(folder));
    FormWindow* window = FormWindow::loadWindow(form);
    showAndDraw(window);
    PlainWindow plain{window->size(), window->windowTitle(), {}};
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        const QRect place(child->mapTo(window, QPoint(0, 0)), child->size());
        if (qobject_cast<QLineEdit*>(child) && !qobject_cast<QComboBox*>(child->parent()))
            plain.controls.push_back({PlainControl::Field, place, child->font(), {}});
        else if (auto* label = qobject_cast<QLabel*>(child))
            plain.controls.push_back({PlainControl::Caption, place, child->font(), label->text()});
        else if (auto* button = qobject_cast<QAbstractButton*>(child))
            plain.controls.push_back({PlainControl::Button, place, child->font(), button->text()});
    }
    window->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return plain;
}

// A window of those plain controls: each field shows the next of `texts`,
// each caption and button its caption.
QWidget* plainWindowShowing(const PlainWindow& plain, const QStringList& texts) {
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(plain.title);
    window->resize(plain.size);
    int column = 0;
    for (const PlainControl& control : plain.controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case PlainControl::Field:
                widget = new QLineEdit(texts[column++ % texts.size()], window);
                break;
            case PlainControl::Caption:
                widget = new QLabel(control.text, window);
                break;
            case PlainControl::Button:
                widget = new QPushButton(control.text, window);
                break;
        }
        widget->setFont(control.face);
        widget->setGeometry(control.place);
    }
    return window;
}

// --- a minimal Qt window ------------------------------------------------

void BM_Baseline_MinimalWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        new QLabel(QStringLiteral("Settle account in the month"), window);
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

// --- the month sheet ----------------------------------------------------

void BM_Window_MonthSheet(benchmark::State& state) {
    openForm(state, QStringLiteral("Form4"), ledgerFolder(int(state.range(0))));
}

// A ledger as earlier versions made it: the sheet adds up every day.
void BM_Window_MonthSheetWithoutKeptTotals(benchmark::State& state) {
    openForm(state, QStringLiteral("Form4"), ledgerFolder(int(state.range(0)), 10000, false));
}

// The month totals the sheet shows, read bare (every month, as the sheet's
// row set holds them: the month's text, the figures as numbers), the first
// month shown in as many plain controls as the sheet has.
void BM_Baseline_MonthTotalsBare(benchmark::State& state) {
    const QString path = fileIn(ledgerFolder(int(state.range(0))));
    const PlainWindow plain =
        plainCopyOf(QStringLiteral("Form4"), ledgerFolder(int(state.range(0))));
    for (auto _ : state) {
        Bare bare(path);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare.db, "SELECT * FROM \"Month totals\" ORDER BY \"Month number\"", -1,
                           &st, nullptr);
        std::vector<std::pair<QString, std::vector<double>>> months;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<double> figures;
            for (int c = 2; c < sqlite3_column_count(st); ++c)
                figures.push_back(sqlite3_column_double(st, c));
            months.emplace_back(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))),
                std::move(figures));
        }
        sqlite3_finalize(st);
        QStringList first{months.front().first};
        for (double figure : months.front().second) first << QString::number(figure);
        QWidget* window = plainWindowShowing(plain, first);
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

// --- the monthly salary window --------------------------------------------

void BM_Window_SalaryWindow(benchmark::State& state) {
    openForm(state, QStringLiteral("Form7"), ledgerFolder(3000, int(state.range(0))));
}

// A ledger as earlier versions made it: the window adds up every wage row.
void BM_Window_SalaryWindowWithoutKeptTotals(benchmark::State& state) {
    openForm(state, QStringLiteral("Form7"), ledgerFolder(3000, int(state.range(0)), false));
}

// A real shop's shape: 20,000 wage rows, two a month for each of 5,000
// members, so 10,000 employee-months and more.
void BM_Window_SalaryWindowRealShop(benchmark::State& state) {
    openForm(state, QStringLiteral("Form7"), ledgerFolder(3000, 20000, true, true));
}

// What the salary window shows, read bare: the month rows (every one, or
// only the month shown) and the first employee's rates, in as many plain
// controls as the window has.
void salaryBare(benchmark::State& state, const QString& folder, bool everyMonth = true) {
    const QString path = fileIn(folder);
    const PlainWindow plain = plainCopyOf(QStringLiteral("Form7"), folder);
    const char* const monthRows =
        everyMonth ? "SELECT \"Date /月\", Name, \"Serial numbers\", \"Main "
                     "hour之總計\", \"Work overtime之總計\", \"Insurance之總計\", "
                     "\"Absent-Deduct之總計\" FROM \"Wage month totals\" ORDER BY "
                     "Name, \"Serial numbers\", \"Month number\""
                   : "SELECT \"Date /月\", Name, \"Serial numbers\", \"Main "
                     "hour之總計\", \"Work overtime之總計\", \"Insurance之總計\", "
                     "\"Absent-Deduct之總計\" FROM \"Wage month totals\" ORDER BY "
                     "Name, \"Serial numbers\", \"Month number\" LIMIT 1";
    for (auto _ : state) {
        Bare bare(path);
        const auto months = bare.rows(monthRows);
        const auto rates = bare.rows(
            "SELECT \"Salary hour\", \"Overtime salary hour\" FROM \"Materials forms of staff\" "
            "WHERE Name = 'Member 1' ORDER BY rowid LIMIT 1");
        QWidget* window = plainWindowShowing(plain, months.front() + rates.front());
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

void BM_Baseline_SalaryBare(benchmark::State& state) {
    salaryBare(state, ledgerFolder(3000, int(state.range(0))));
}

void BM_Baseline_SalaryBareRealShop(benchmark::State& state) {
    salaryBare(state, ledgerFolder(3000, 20000, true, true));
}

// The month shown alone: what a window that read only that month would wait
// for.
void BM_Baseline_SalaryBareMonthShownRealShop(benchmark::State& state) {
    salaryBare(state, ledgerFolder(3000, 20000, true, true), false);
}

// --- the wage detail grid -------------------------------------------------

const char* const kEveryWageRow =
    "SELECT Date,Name,[Main hour],[Work overtime],Absent,[Ask for leave],[Daily settlement of "
    "accounts] FROM [Inquiry Detail] WHERE Date LIKE '**'AND Name LIKE'**'order by Date";

void BM_Window_DetailGrid(benchmark::State& state) {
    salary::setDetailQueryText(QString::fromLatin1(kEveryWageRow));
    openForm(state, QStringLiteral("Form9"), ledgerFolder(3000, int(state.range(0))));
}

// A read-only table over rows already read: the plainest Qt grid.
class RowsModel : public QAbstractTableModel {
public:
    RowsModel(std::vector<QStringList> rows, QStringList headings)
        : rows_(std::move(rows)), headings_(std::move(headings)) {}
    int rowCount(const QModelIndex&) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex&) const override { return int(headings_.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return rows_[size_t(index.row())][index.column()];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
        return headings_[section];
    }

private:
    std::vector<QStringList> rows_;
    QStringList headings_;
};

// The same rows in the same order, read by bare SQLite and put in calendar
// order by the day's number (the calendar rule, as the grid orders them),
// shown in a plain table view.
void BM_Baseline_DetailGridBare(benchmark::State& state) {
    const QString path = fileIn(ledgerFolder(3000, int(state.range(0))));
    for (auto _ : state) {
        Bare bare(path);
        auto rows = bare.rows(
            "SELECT Date, Name, \"Main hour\", \"Work overtime\", Absent, \"Ask for leave\", "
            "\"Daily settlement of accounts\" FROM \"Inquiry detail\" WHERE Date LIKE '%' AND "
            "Name LIKE '%'");
        std::vector<std::pair<qint64, QStringList>> keyed;
        keyed.reserve(rows.size());
        for (auto& row : rows)
            keyed.emplace_back(ledger::calendar::dayNumberOf(row[0]), std::move(row));
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<QStringList> ordered;
        ordered.reserve(keyed.size());
        for (auto& row : keyed) ordered.push_back(std::move(row.second));
        auto* window = new QWidget;
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* view = new QTableView(window);
        auto* model = new RowsModel(std::move(ordered), salary::detailColumns());
        model->setParent(view);
        view->setModel(model);
        (new QVBoxLayout(window))->addWidget(view);
        window->resize(900, 400);
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

// The first day shown in those plain controls.
void showFirstDayBare(benchmark::State& state, const Bare& bare, const PlainWindow& plain) {
    const auto first =
        bare.rows("SELECT * FROM \"daily settlement of accounts\" ORDER BY rowid LIMIT 1");
    QWidget* window = plainWindowShowing(plain, first.front());
    showAndDraw(window);
    closeUntimed(state, window);
}

// --- the wage window ------------------------------------------------------

void BM_Window_WageWindow(benchmark::State& state) {
    openForm(state, QStringLiteral("Form5"), ledgerFolder(3000, 10000));
    (void)state;
}

// The name list and the two yes/no lists read bare, and the first wage row,
// shown in three plain lists and as many plain controls as the window has.
void BM_Baseline_WageWindowBare(benchmark::State& state) {
    const QString folder = ledgerFolder(3000, 10000);
    const PlainWindow plain = plainCopyOf(QStringLiteral("Form5"), folder);
    for (auto _ : state) {
        Bare bare(fileIn(folder));
        const auto names =
            bare.rows("SELECT Name FROM \"Materials forms of staff\" ORDER BY rowid");
        const auto choices = bare.rows("SELECT \"Ask for leave\", Absent FROM \"Select\"");
        const auto first =
            bare.rows("SELECT * FROM \"The staff calculate wages\" ORDER BY rowid LIMIT 1");
        QWidget* window = plainWindowShowing(plain, first.front());
        // Placed where they stand, as the window places its lists: no list
        // is asked how wide its longest entry is.
        auto* nameList = new QComboBox(window);
        nameList->setEditable(true);
        QStringList entries;
        for (const auto& row : names) entries << row[0];
        nameList->addItems(entries);
        nameList->setGeometry(10, 10, 200, 25);
        for (int c = 0; c < 2; ++c) {
            auto* list = new QComboBox(window);
            list->setEditable(true);
            for (const auto& row : choices) list->addItem(row[c]);
            list->setGeometry(10, 40 + 30 * c, 200, 25);
        }
        showAndDraw(window);
        closeUntimed(state, window);
    }
}

// --- the daily window after login -----------------------------------------

void BM_Window_DailyWindow(benchmark::State& state) {
    openForm(state, QStringLiteral("Form1"), ledgerFolder(int(state.range(0)), 0));
}

// As after login: the login window has the books open, and the daily window
// goes on with that connection.
void BM_Window_DailyWindowBooksOpen(benchmark::State& state) {
    const QString folder = ledgerFolder(int(state.range(0)), 0);
    const auto books = ledger::openStore(ledger::Connection{fileIn(folder)});
    openForm(state, QStringLiteral("Form1"), folder);
}

// What showing the first day needs at least: a connection, the first row,
// and the window's controls drawn.
void BM_Baseline_FirstDayBare(benchmark::State& state) {
    const QString folder = ledgerFolder(int(state.range(0)), 0);
    const PlainWindow plain = plainCopyOf(QStringLiteral("Form1"), folder);
    for (auto _ : state) {
        Bare bare(fileIn(folder));
        showFirstDayBare(state, bare, plain);
    }
}

// The same with the connection open and its tables read already.
void BM_Baseline_FirstDayBareBooksOpen(benchmark::State& state) {
    const QString folder = ledgerFolder(int(state.range(0)), 0);
    const PlainWindow plain = plainCopyOf(QStringLiteral("Form1"), folder);
    const Bare bare(fileIn(folder));
    bare.rows("SELECT count(*) FROM sqlite_schema");
    for (auto _ : state) showFirstDayBare(state, bare, plain);
}

void ledgerSizes(benchmark::internal::Benchmark* b) {
    b->Arg(3000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
}
void wageSizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Baseline_MinimalWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_MonthTotalsBare)->Apply(ledgerSizes);
BENCHMARK(BM_Window_MonthSheet)->Apply(ledgerSizes);
BENCHMARK(BM_Window_MonthSheetWithoutKeptTotals)->Apply(ledgerSizes);
BENCHMARK(BM_Baseline_SalaryBare)->Apply(wageSizes);
BENCHMARK(BM_Window_SalaryWindow)->Apply(wageSizes);
BENCHMARK(BM_Window_SalaryWindowWithoutKeptTotals)->Apply(wageSizes);
BENCHMARK(BM_Baseline_SalaryBareRealShop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SalaryBareMonthShownRealShop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_SalaryWindowRealShop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_DetailGridBare)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_DetailGrid)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_WageWindowBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_WageWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_FirstDayBare)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_DailyWindow)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_FirstDayBareBooksOpen)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Window_DailyWindowBooksOpen)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    forms::Workspace workspace;
    shell::registerWindows();
    daily::registerWindows();
    supplies::registerWindows();
    monthly::registerWindows();
    staff::registerWindows();
    salary::registerWindows();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
