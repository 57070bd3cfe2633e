// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/error_boundary.h"

#include <QDialog>
#include <QWidget>
#include <utility>

#include "forms/prompts.h"
#include "forms/workspace.h"
#include "ledger/base/ledger_error.h"

namespace forms {

QString errorText(const std::exception& error) {
    if (const auto* ledgerError = dynamic_cast<const ledger::LedgerError*>(&error))
        // What happened and what to do first; the number, for whoever the
        // shop asks for help, last.
        return QStringLiteral("%1 (Error %2)")
            .arg(ledgerError->message())
            .arg(ledgerError->number());
    return QStringLiteral("Unexpected error: %1").arg(QString::fromUtf8(error.what()));
}

void reportError(QWidget* messageParent, const std::exception& error) {
    // The user has just answered not to store it: nothing more to say.
    if (const auto* ledgerError = dynamic_cast<const ledger::LedgerError*>(&error);
        ledgerError && ledgerError->code() == ledger::ErrorCode::CancelledByUser)
        return;
    tell(messageParent, errorText(error));
}

namespace {

using Handlers = std::vector<std::exception_ptr>;

Handlers& handlers() { return workspace().handlers(); }

// One running handler: its entry collects the first failure of the reactions
// it sets off. Leaving it (normally or by an exception) takes the entry away.
class HandlerEntry {
public:
    HandlerEntry() : handlers_(handlers()) { handlers_.emplace_back(); }
    ~HandlerEntry() { handlers_.pop_back(); }
    HandlerEntry(const HandlerEntry&) = delete;
    HandlerEntry& operator=(const HandlerEntry&) = delete;

    std::exception_ptr takeFailure() { return std::exchange(handlers_.back(), nullptr); }

private:
    Handlers& handlers_;
};

// Hands a failure to the handler running now (if it has none yet).
void handOver(std::exception_ptr failure) {
    if (!handlers().empty() && !handlers().back()) handlers().back() = std::move(failure);
}

// Runs `work`; the first failure, whether a reaction's or its own (the
// reaction's came first), or none.
std::exception_ptr runCollecting(const std::function<void()>& work) {
    HandlerEntry entry;
    std::exception_ptr own;
    try {
        work();
    } catch (...) {
        own = std::current_exception();
    }
    std::exception_ptr reaction = entry.takeFailure();
    return reaction ? reaction : own;
}

void report(QWidget* messageParent, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        reportError(messageParent, error);
    } catch (...) {
        tell(messageParent, QStringLiteral("Unexpected error."));
    }
}

}  // namespace

bool runReporting(QWidget* messageParent, const std::function<void()>& step) {
    const std::exception_ptr failure = runCollecting(step);
    if (!failure) return true;
    report(messageParent, failure);
    return false;
}

bool runGuarded(QWidget* messageParent, const std::function<void()>& handler) {
    if (handlers().empty()) return runReporting(messageParent, handler);
    // Set off by another handler: that one shows the error when it ends.
    std::exception_ptr failure = runCollecting(handler);
    if (!failure) return true;
    handOver(std::move(failure));
    return false;
}

void raiseReactionErrors(const std::function<void()>& emitting) {
    if (handlers().empty()) return emitting();
    if (std::exception_ptr failure = runCollecting(emitting)) std::rethrow_exception(failure);
}

int execModal(QDialog& dialog) {
    // The handlers running now wait for the dialog; set them aside so that
    // what runs inside its event loop counts as outermost.
    Handlers waiting;
    std::swap(waiting, handlers());
    struct Restore {
        Handlers& waiting;
        ~Restore() { std::swap(waiting, handlers()); }
    } restore{waiting};
    return dialog.exec();
}

}  // namespace forms
