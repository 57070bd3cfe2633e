#include "error_boundary.h"

#include <QWidget>

#include "ledger_error.h"
#include "prompts.h"

namespace ledger::ui {

namespace {
int depth = 0;  // how many guarded handlers are running, nested
}

QString errorText(const std::exception& error) {
    if (const auto* ledgerError = dynamic_cast<const LedgerError*>(&error))
        return QStringLiteral("Error %1: %2")
            .arg(ledgerError->number())
            .arg(ledgerError->message());
    return QStringLiteral("Unexpected error: %1").arg(QString::fromUtf8(error.what()));
}

void reportError(QWidget* messageParent, const std::exception& error) {
    prompts().tell(messageParent, errorText(error), programTitle());
}

namespace {
struct Depth {
    Depth() { ++depth; }
    ~Depth() { --depth; }
};
}  // namespace

bool runReporting(QWidget* messageParent, const std::function<void()>& step) {
    // Reactions the step sets off pass their errors up to here: one message.
    Depth reporting;
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        reportError(messageParent, error);
    } catch (...) {
        prompts().tell(messageParent, QStringLiteral("Unexpected error."), programTitle());
    }
    return false;
}

bool runGuarded(QWidget* messageParent, const std::function<void()>& handler) {
    if (depth == 0) return runReporting(messageParent, handler);
    // Nested inside another handler: let the error end that one too.
    Depth nested;
    handler();
    return true;
}

}  // namespace ledger::ui
