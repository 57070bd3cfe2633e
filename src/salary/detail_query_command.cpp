#include "detail_query_command.h"

#include <QLineEdit>

#include "detail_query.h"
#include "form_window.h"
#include "ledger_error.h"
#include "prompts.h"
#include "typed_text.h"

namespace salary {

namespace {

// The salary window's field, or empty text when that window is not open.
QString salaryWindowText(const QString& fieldName) {
    ledger::ui::FormWindow* salaryWindow = ledger::ui::FormWindow::find(QStringLiteral("Form7"));
    if (!salaryWindow) return {};
    const auto* field = salaryWindow->findChild<QLineEdit*>(fieldName);
    return field ? field->text() : QString();
}

QString askPattern(QWidget* parent, const QString& message, const QString& title,
                   const QString& preset) {
    return ledger::withoutOuterBlanks(ledger::ui::prompts().input(parent, message, title, preset));
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
        ledger::ui::prompts().tell(
            parent,
            QStringLiteral("The %1 pattern \"%2\" cannot be used: %3.\n\nNo wage rows were looked "
                           "up. Press \"Detail\" again and type the pattern without it.")
                .arg(QString::fromLatin1(p.what), p.pattern, problem),
            ledger::ui::programTitle());
        return false;
    }
    return true;
}

void openGridWindow() {
    ledger::ui::FormWindow* grid = ledger::ui::FormWindow::loadWindow(QStringLiteral("Form9"));
    if (!grid)
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The window Form9 is not part of this program."));
    grid->show();
    grid->raise();
    grid->activateWindow();
}

}  // namespace

void runDetailQueryCommand(QWidget* parent) {
    const QString month =
        askPattern(parent, QStringLiteral("Please Input Date--Like\uFF1A2002/1"),
                   QStringLiteral("Inquiry----Month"), salaryWindowText(QStringLiteral("Text1")));
    const QString name =
        askPattern(parent, QStringLiteral("Please Input Name--Like\uFF1ATovena"),
                   QStringLiteral("Inquiry----Name"), salaryWindowText(QStringLiteral("Text3")));
    // A pattern that could end its quoted text never reaches the query: the
    // text is cleared instead, and a grid opened now shows no rows.
    setDetailQueryText(patternsUsable(parent, month, name) ? composeDetailQuery(month, name)
                                                           : QString());
    openGridWindow();
}

}  // namespace salary
