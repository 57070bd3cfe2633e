// SPDX-License-Identifier: GPL-3.0-or-later
#include "salary/detail_query_command.h"

#include <QLineEdit>

#include "forms/form_window.h"
#include "forms/prompts.h"
#include "forms/window_opening.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/query/typed_text.h"
#include "salary/detail_query.h"
#include "salary/salary_window.h"
#include "salary/wage_detail_grid.h"

namespace salary {

namespace {

// The salary window, or nullptr when it is not open.
const Form7* salaryWindow() {
    return qobject_cast<const Form7*>(forms::FormWindow::find(windows::kSalaryWindow));
}

QString askPattern(QWidget* parent, const QString& message, const QString& title,
                   const QString& preset) {
    return ledger::withoutOuterBlanks(forms::prompts().input(parent, message, title, preset));
}

// One message for the first pattern that cannot be used; true when both can.
bool patternsUsable(QWidget* parent, const QString& month, const QString& name) {
    const struct {
        const char* what;
        const QString& pattern;
    } patterns[] = {{"month", month}, {"name", name}};
    for (const auto& p : patterns) {
        const QString problem = patternProblem(p.pattern);
        if (problem.isEmpty()) continue;
        forms::tell(
            parent,
            QStringLiteral("The %1 pattern \"%2\" cannot be used: %3.\n\nNo wage rows were looked "
                           "up. Press \"Detail\" again and type the pattern without it.")
                .arg(QString::fromLatin1(p.what), p.pattern, problem));
        return false;
    }
    return true;
}

void openGridWindow(bool newRows) {
    // An open grid shows what was just asked for; a refused pattern leaves
    // it as it was.
    if (auto* open = qobject_cast<Form9*>(forms::FormWindow::find(windows::kWageDetailGrid)))
        if (newRows) open->showAskedRows();
    forms::openWindow(windows::kWageDetailGrid);
}

}  // namespace

void runDetailQueryCommand(QWidget* parent) {
    const Form7* shown = salaryWindow();
    const QString month =
        askPattern(parent, QStringLiteral("Please Input Date--Like\uFF1A2002/1"),
                   QStringLiteral("Inquiry----Month"), shown ? shown->shownMonth() : QString());
    // The salary window may have been closed by the first prompt's time.
    shown = salaryWindow();
    const QString name =
        askPattern(parent, QStringLiteral("Please Input Name--Like\uFF1ATovena"),
                   QStringLiteral("Inquiry----Name"), shown ? shown->shownName() : QString());
    // A pattern that could end its quoted text never reaches the query: the
    // text is cleared instead, and a grid opened now shows no rows.
    const bool usable = patternsUsable(parent, month, name);
    setDetailQueryText(usable ? composeDetailQuery(month, name) : QString());
    openGridWindow(usable);
}

}  // namespace salary
