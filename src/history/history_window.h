// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "forms/form_window.h"
#include "history/history_lines.h"
#include "interfaces/history_window_face.h"
#include "ledger/records/book_history.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace history {

// "History…": what the books recorded of one day's changes, newest first,
// in the shop's words. "Put back" undoes the chosen line: a value goes
// back to what it was before, a removed day or wage row comes back, each
// through the books' own checks and recorded as a change of its own.
class HistoryWindow : public forms::FormWindow, public HistoryWindowFace {
    Q_OBJECT
public:
    HistoryWindow();

    void showHistoryOfDay(const QString& date) override;

    // The lines listed now, newest first.
    QStringList shownLines() const;

private:
    void putBack();
    // The question asked before the chosen line is put right.
    QString questionFor(const HistoryLine& line) const;
    void showWhatCanBePutBack();

    QString date_;
    std::vector<ledger::RecordedChange> changes_;
    std::vector<HistoryLine> lines_;
    QLabel* day_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* putBack_ = nullptr;
};

}  // namespace history
