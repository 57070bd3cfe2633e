// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/computed_figure.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QScopedValueRollback>
#include <algorithm>
#include <utility>
#include <vector>

#include "forms/error_boundary.h"

namespace forms {

namespace {

// What a figure is written with; anything else is measured as it is shaped.
const QString kFigureCharacters = QStringLiteral("0123456789+-.,E ");

bool writtenAsFigure(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return kFigureCharacters.contains(c); });
}

// The widest of those characters in a face, found once per face (the
// user-interface thread alone draws figures; a window uses a few faces).
qreal widestFigureCharacter(const QFont& face) {
    static std::vector<std::pair<QFont, qreal>> widest;
    for (const auto& [known, width] : widest)
        if (known == face) return width;
    const QFontMetricsF metrics(face);
    qreal width = 0;
    for (QChar c : kFigureCharacters) width = std::max(width, metrics.horizontalAdvance(c));
    widest.emplace_back(face, width);
    return width;
}

}  // namespace

ComputedFigure::ComputedFigure(const QString& objectName, QWidget* parent)
    : QLabel(parent), designFont_(font()), designAlignment_(alignment()) {
    setObjectName(objectName);
}

bool ComputedFigure::setText(const QString& text) {
    if (text == QLabel::text()) return false;
    QLabel::setText(text);
    fitText();
    if (dependents_) dependents_();
    raiseReactionErrors([&] { Q_EMIT textChanged(text); });
    return true;
}

void ComputedFigure::setExplanation(const QString& explanation) {
    explanation_ = explanation;
    fitText();
}

void ComputedFigure::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}

void ComputedFigure::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A face or alignment the window sets is the design; our own shrinking
    // is not.
    if (fitting_) return;
    if (event->type() == QEvent::FontChange) {
        designFont_ = font();
        fitText();
    }
}

void ComputedFigure::fitText() {
    const QScopedValueRollback guard(fitting_, true);
    if (!leftForced_) designAlignment_ = alignment();
    const QString shown = QLabel::text();
    QFont face = designFont_;
    // QLabel's own indent: as set, or, left to it, half an "x" beside a frame.
    auto indentIn = [this](const QFont& f) -> qreal {
        if (indent() >= 0) return indent();
        return frameWidth() > 0 ? QFontMetricsF(f).horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    };
    auto fits = [&] {
        const qreal room = contentsRect().width() - 2 * std::max(0, margin()) - indentIn(face) - 2;
        // A figure no wider than as many of its widest characters fits
        // without shaping it (the shaped text is never wider than that).
        if (writtenAsFigure(shown) && shown.size() * widestFigureCharacter(face) <= room)
            return true;
        return QFontMetricsF(face).horizontalAdvance(shown) <= room;
    };
    // Measured once per face tried: measuring is most of what showing a
    // figure costs, and a day's row changes each figure many times.
    bool fitting = fits();
    while (!fitting && face.pointSizeF() - 0.5 >= kMinimumPointSize) {
        face.setPointSizeF(face.pointSizeF() - 0.5);
        fitting = fits();
    }
    const bool shrunk = face != designFont_;
    if (font() != face) setFont(face);
    // Still too long at the smallest face: show its start (the sign and the
    // leading digits) rather than its end.
    if (!fitting) {
        setAlignment((designAlignment_ & Qt::AlignVertical_Mask) | Qt::AlignLeft);
        leftForced_ = true;
    } else if (leftForced_) {
        setAlignment(designAlignment_);
        leftForced_ = false;
    }
    const QString whole = shrunk || !fitting ? shown : QString();
    if (explanation_.isEmpty())
        setToolTip(whole);
    else
        setToolTip(whole.isEmpty() ? explanation_ : explanation_ + QStringLiteral("\n\n") + whole);
}

}  // namespace forms
