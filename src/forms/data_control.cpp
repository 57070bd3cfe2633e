// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/data_control.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <algorithm>

#include "forms/error_boundary.h"
#include "ledger/records/record_source.h"

namespace forms {

namespace {

QToolButton* barButton(const QString& name, const QString& glyph, const QString& tip,
                       QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(glyph);
    button->setToolTip(tip);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

}  // namespace

DataControl::DataControl(const QString& objectName, const QString& source, const QString& caption,
                         QWidget* parent)
    : QWidget(parent),
      source_(new ledger::RecordSource(objectName + QStringLiteral("Recordset"), this)) {
    setObjectName(objectName);
    source_->setSource(source);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* first = barButton(QStringLiteral("First"), QStringLiteral("|\u25C0"),
                            QStringLiteral("First"), this);
    auto* previous = barButton(QStringLiteral("Previous"), QStringLiteral("\u25C0"),
                               QStringLiteral("Previous"), this);
    caption_ = new QLabel(caption, this);
    caption_->setObjectName(QStringLiteral("Caption"));
    caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption_->setAutoFillBackground(true);
    caption_->setFrameShape(QFrame::Panel);
    caption_->setFrameShadow(QFrame::Sunken);
    caption_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    auto* next =
        barButton(QStringLiteral("Next"), QStringLiteral("\u25B6"), QStringLiteral("Next"), this);
    auto* last =
        barButton(QStringLiteral("Last"), QStringLiteral("\u25B6|"), QStringLiteral("Last"), this);
    layout->addWidget(first);
    layout->addWidget(previous);
    layout->addWidget(caption_, 1);
    layout->addWidget(next);
    layout->addWidget(last);

    // A failing move shows the store's message and leaves the row as it was.
    auto move = [this](void (ledger::RecordSource::*step)()) {
        return [this, step] {
            if (moveGuard_ && !moveGuard_()) return;
            (source_->*step)();
        };
    };
    connectGuarded(first, &QToolButton::clicked, this, move(&ledger::RecordSource::moveFirst));
    connectGuarded(previous, &QToolButton::clicked, this,
                   move(&ledger::RecordSource::movePrevious));
    connectGuarded(next, &QToolButton::clicked, this, move(&ledger::RecordSource::moveNext));
    connectGuarded(last, &QToolButton::clicked, this, move(&ledger::RecordSource::moveLast));
}

void DataControl::resizeEvent(QResizeEvent* event) {
    // Slim move buttons, as on the shop's forms, so that even a narrow bar
    // leaves its caption room.
    const int slim = std::max(12, std::min(height() * 3 / 5, width() / 8));
    for (auto* move : findChildren<QToolButton*>()) move->setFixedWidth(slim);
    QWidget::resizeEvent(event);
    // Lay out now, not at the next pass of the event loop, so a window that
    // is grabbed or printed right away shows the bar as it will look.
    layout()->activate();
    fitCaption();
}

void DataControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitCaption();
}

void DataControl::fitCaption() {
    QFont face = font();
    const QString text = caption_->text();
    const qreal room = caption_->contentsRect().width() - 4;
    while (QFontMetricsF(face).horizontalAdvance(text) > room && face.pointSizeF() - 0.5 >= 6)
        face.setPointSizeF(face.pointSizeF() - 0.5);
    caption_->setFont(face);
    caption_->setToolTip(face == font() ? QString() : text);
}

QString DataControl::caption() const { return caption_->text(); }

}  // namespace forms
