#include "bound_line_edit.h"

namespace ledger::ui {

BoundLineEdit::BoundLineEdit(const QString& objectName, RecordSource& source, const QString& column,
                             QWidget* parent)
    : QLineEdit(parent), source_(&source), column_(column) {
    setObjectName(objectName);
    // Qt emits textChanged only when the text really differs; whatever set
    // it, a change outside a fill is an edit to store.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!filling_) changed_ = true;
    });
    source.bind(this);
}

BoundLineEdit::~BoundLineEdit() {
    if (source_) source_->unbind(this);
}

void BoundLineEdit::showValue(const QString& text) {
    filling_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{filling_};
    changed_ = false;
    setText(text);
    // Show the start of a long value, as a freshly filled field does.
    setCursorPosition(0);
}

}  // namespace ledger::ui
