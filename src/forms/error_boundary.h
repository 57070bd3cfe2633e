// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <type_traits>

class QDialog;
class QWidget;

namespace forms {

// Every handler a window connects runs through here, and no exception ever
// passes through a Qt signal, slot or event.
//
// An error ends the handler at the failing step and shows one message box
// with the program's title, the error's number and message; the program
// carries on. A handler set off from inside another one (a reaction to a
// field that the outer handler filled) keeps its error to itself: the error
// is handed to the handler that set it off, which shows it when it ends, so
// the user sees one message, not a cascade. Returns false when the handler
// or a reaction it set off failed, at any depth.
bool runGuarded(QWidget* messageParent, const std::function<void()>& handler);

// Runs a step and reports its error at once, even inside another handler:
// for steps whose failure must not end the handler that started them (a
// window's load step, opened from another window's button). Returns false
// when the step or a reaction it set off failed.
bool runReporting(QWidget* messageParent, const std::function<void()>& step);

// Runs code that emits signals (a field filled, a figure written) and
// raises, as a plain C++ exception after the signals returned, the first
// error of a guarded reaction they set off, so the code around it ends at
// that step. Outside every handler the reactions show their own errors.
void raiseReactionErrors(const std::function<void()>& emitting);

// Runs a dialog modally. Whatever the user does meanwhile (a button in
// another window) is a handler of its own, not part of the handler that
// opened the dialog: its errors are shown at once.
int execModal(QDialog& dialog);

// Shows an error the way runGuarded does (for errors caught elsewhere).
// CancelledByUser is shown to nobody: the user has just answered.
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

}  // namespace forms
