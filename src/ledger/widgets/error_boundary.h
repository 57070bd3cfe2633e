#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <type_traits>

class QWidget;

namespace ledger::ui {

// Every handler a window connects runs through here. An error ends the handler
// at the failing step and shows one message box with the program's title, the
// error's number and message; the program carries on. A reaction set off from
// inside another guarded handler lets the error pass, so the outermost handler
// ends too and the user sees one message, not a cascade. No exception ever
// reaches the Qt event loop. Returns false when the handler failed.
bool runGuarded(QWidget* messageParent, const std::function<void()>& handler);

// Runs a step and reports its error at once, even inside another handler:
// for steps whose failure must not end the handler that started them (a
// window's load step, opened from another window's button). Returns false
// when the step failed.
bool runReporting(QWidget* messageParent, const std::function<void()>& step);

// Shows an error the way runGuarded does (for errors caught elsewhere).
void reportError(QWidget* messageParent, const std::exception& error);
QString errorText(const std::exception& error);

// connect() whose slot runs through runGuarded. The slot may take the
// signal's arguments or none (a clicked(bool) handler need not take the bool).
template <typename Sender, typename Signal, typename Slot>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QWidget* context, Slot slot) {
    return QObject::connect(sender, signal, context, [context, slot](auto&&... args) {
        runGuarded(context, [&] {
            if constexpr (std::is_invocable_v<Slot, decltype(args)...>)
                slot(args...);
            else
                slot();
        });
    });
}

}  // namespace ledger::ui
