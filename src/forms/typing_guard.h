// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QEvent;
class QWidget;

namespace ledger {
class RecordSource;
}

namespace forms {

// Typing into a bound field needs a row to go to. On an empty table (a new
// shop), after Delete, or when the file could not be opened there is none;
// what was typed could never be stored, and every later write-back would
// fail. Bound fields refuse such edits up front and say why.

// True when `event` would change the text of a field: a printable key,
// Backspace/Delete, cut, paste, undo, redo, an input method's text or a drop.
bool isEditingEvent(const QEvent* event);

// True when the edit may go ahead; otherwise tells the user why not (and
// what to do) and returns false. A field without a record source is free.
bool allowEditOfBoundField(QWidget* field, const ledger::RecordSource* source);

}  // namespace forms
