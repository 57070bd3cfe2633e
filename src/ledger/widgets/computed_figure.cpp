#include "computed_figure.h"

namespace ledger::ui {

ComputedFigure::ComputedFigure(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
}

void ComputedFigure::setText(const QString& text) {
    if (text == QLabel::text()) return;
    QLabel::setText(text);
    Q_EMIT textChanged(text);
}

}  // namespace ledger::ui
