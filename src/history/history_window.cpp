// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/error_boundary.h"
#include "forms/form_window.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/window_names.h"
#include "ledger/amount/amount.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/books.h"
#include "ledger/records/put_back.h"
#include "salary/rules/wage_row.h"

namespace history {

namespace {

using Remedy = HistoryLine::Remedy;

// What the removed wage row's Save had added to its day, worked out from
// the row as it was removed, as the wage window's Delete took it off.
qint32 wageOf(const ledger::RecordedChange& removal) {
    const QStringList& columns = salary::wageRowColumns();
    const salary::WageRowAmounts amounts{removal.before(columns[0]), removal.before(columns[1]),
                                         removal.before(columns[2]), removal.before(columns[3]),
                                         removal.before(columns[4]), removal.before(columns[5]),
                                         removal.before(columns[6])};
    const std::optional<double> added = salary::addedToDay(amounts);
    if (!added)
        ledger::fail(ledger::ErrorCode::Overflow,
                     QStringLiteral("This wage is beyond the whole numbers the ledger takes, so "
                                    "it cannot go back onto its day. Nothing was stored."));
    return static_cast<qint32>(*added);
}

}  // namespace

HistoryWindow::HistoryWindow() : FormWindow(windows::kHistoryWindow) {
    setWindowTitle(QStringLiteral("History"));
    day_ = new QLabel(this);
    day_->setObjectName(QStringLiteral("day"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("changes"));
    putBack_ = new QPushButton(QStringLiteral("Put back"), this);
    putBack_->setObjectName(QStringLiteral("putBack"));
    putBack_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(putBack_);
    auto* all = new QVBoxLayout(this);
    all->addWidget(day_);
    all->addWidget(list_, 1);
    all->addLayout(buttons);
    resize(720, 420);

    using forms::connectGuarded;
    connectGuarded(putBack_, &QPushButton::clicked, this, [this] { putBack(); });
    connectGuarded(list_, &QListWidget::currentRowChanged, this,
                   [this] { showWhatCanBePutBack(); });
}

void HistoryWindow::showHistoryOfDay(const QString& date) {
    date_ = date;
    setWindowTitle(QStringLiteral("History of the day %1").arg(date));
    changes_.clear();
    lines_.clear();
    list_->clear();
    auto books = ledger::openBooks(forms::workspace().books());
    changes_ = ledger::historyOfDay(*books, date);
    lines_ = linesOf(changes_);
    for (const HistoryLine& line : lines_) list_->addItem(line.text);
    day_->setText(lines_.empty()
                      ? QStringLiteral("Nothing is recorded of the day %1.").arg(date)
                      : QStringLiteral("The changes of the day %1, newest first:").arg(date));
    showWhatCanBePutBack();
}

QStringList HistoryWindow::shownLines() const {
    QStringList texts;
    for (const HistoryLine& line : lines_) texts << line.text;
    return texts;
}

void HistoryWindow::showWhatCanBePutBack() {
    const int row = list_->currentRow();
    putBack_->setEnabled(row >= 0 && row < static_cast<int>(lines_.size()) &&
                         lines_[row].remedy != Remedy::None);
}

QString HistoryWindow::questionFor(const HistoryLine& line) const {
    const ledger::RecordedChange& change = changes_[line.change];
    switch (line.remedy) {
        case Remedy::PutBackValue:
            return QStringLiteral("Put %1 of the day %2 back to %3?")
                .arg(line.column, change.date, shownValue(change.before(line.column)));
        case Remedy::BringBackDay:
            return QStringLiteral("Bring the day %1 back with every figure it held?")
                .arg(change.date);
        case Remedy::BringBackWage:
            return QStringLiteral(
                       "Bring the wage of %1 on %2 back, and add %3 to the day's "
                       "Personnel rate again?")
                .arg(change.name, change.date, QString::number(wageOf(change)));
        case Remedy::None:
            break;
    }
    return {};
}

void HistoryWindow::putBack() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(lines_.size())) return;
    const HistoryLine line = lines_[row];
    if (line.remedy == Remedy::None) return;
    const ledger::RecordedChange change = changes_[line.change];
    const QString question = questionFor(line);
    if (!forms::prompts().askYesNoDefaultNo(this, question, forms::programTitle())) return;
    const QString books = forms::workspace().books();
    switch (line.remedy) {
        case Remedy::PutBackValue:
            ledger::putBackValue(books, change, line.column);
            break;
        case Remedy::BringBackDay:
            ledger::bringBackDay(books, change);
            break;
        case Remedy::BringBackWage:
            ledger::bringBackWage(books, change, wageOf(change));
            break;
        case Remedy::None:
            return;
    }
    // The daily window showing this day reads it again, so what it shows is
    // what the books now hold, not the figure just put back.
    if (auto* daily =
            dynamic_cast<daily::DailyWindowFace*>(forms::FormWindow::find(windows::kDailyWindow));
        daily && daily->showsStoredDay() && daily->dayShown() == date_)
        daily->showDay(daily->storedDay());
    // The list shows the change just made too, at the top.
    showHistoryOfDay(date_);
}

}  // namespace history
