// SPDX-License-Identifier: GPL-3.0-or-later
#include "supplies/supply_sheet.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "forms/bound_line_edit.h"
#include "forms/computed_figure.h"
#include "forms/data_control.h"
#include "forms/decorative_bar.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/prompts.h"
#include "forms/workspace.h"
#include "interfaces/daily_window_face.h"
#include "interfaces/daily_window_link.h"
#include "ledger/records/record_source.h"
#include "ledger/schema/schema.h"
#include "supplies/item_subtotal.h"

namespace supplies {

using forms::placeTwips;

namespace {

// Item rows: caption column and field column, one row per item.
constexpr int kCaptionLeft = 360;
constexpr int kCaptionWidth = 1815;
constexpr int kFieldLeft = 2280;
constexpr int kFieldWidth = 1695;
constexpr int kFieldHeight = 495;
constexpr int kFirstRowTop = 480;
constexpr int kRowStep = 570;
constexpr int kSubtotalTop = kFirstRowTop + 10 * kRowStep + 60;
constexpr int kSubtotalHeight = 615;

// The right-hand column: the day's commands, the date and the bar.
constexpr int kRightLeft = 5280;
constexpr int kRightWidth = 2895;

constexpr quint32 kSubtotalBackground = 0x00FFC0C0;
constexpr quint32 kDateBackground = 0x00FFFFC0;

}  // namespace

SupplySheet::SupplySheet(const SheetDesign& design, QWidget* parent)
    : FormWindow(design.windowName, parent), design_(design) {
    setWindowTitle(design_.caption);
    setFont(forms::arialFont(9, false));
    resize(forms::twips(design_.clientWidthTwips), forms::twips(design_.clientHeightTwips));

    // The record source first: the fields bind to it.
    data_ =
        new forms::DataControl(QStringLiteral("Data1"), ledger::schema::kLedger, QString(), this);
    buildItemColumn();
    buildRightColumn();
    buildDecoration();
    orderKeyboardFocus();
    centreOnScreen();
}

ledger::RecordSource& SupplySheet::records() { return data_->source(); }

void SupplySheet::buildItemColumn() {
    for (int i = 0; i < 10; ++i) {
        const int top = kFirstRowTop + i * kRowStep;
        auto* caption = new QLabel(design_.itemCaptions.at(i), this);
        caption->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        placeTwips(caption, kCaptionLeft, top, kCaptionWidth, kFieldHeight);

        auto* item = new forms::BoundLineEdit(QStringLiteral("Text%1").arg(i + 1), data_->source(),
                                              design_.itemColumns.at(i), this);
        placeTwips(item, kFieldLeft, top, kFieldWidth, kFieldHeight);
        // Every change of an item, typed or loaded with a row, recomputes.
        forms::connectGuarded(item, &QLineEdit::textChanged, this,
                              [this](const QString&) { recomputeSubtotal(); });
        items_.push_back(item);
    }

    auto* caption = new QLabel(design_.subtotalCaption, this);
    caption->setObjectName(QStringLiteral("Label11"));
    caption->setFont(forms::arialFont(9, true));
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeTwips(caption, kCaptionLeft, kSubtotalTop, kCaptionWidth, kSubtotalHeight);

    subtotal_ = new forms::ComputedFigure(QStringLiteral("Label12"), this);
    subtotal_->setFont(forms::arialFont(9, true));
    subtotal_->setAlignment(Qt::AlignCenter);
    subtotal_->setFrameShape(QFrame::Panel);
    subtotal_->setFrameShadow(QFrame::Sunken);
    forms::setBackground(subtotal_, kSubtotalBackground);
    placeTwips(subtotal_, kFieldLeft, kSubtotalTop, kFieldWidth, kSubtotalHeight);
}

void SupplySheet::buildRightColumn() {
    byHereDay_ = new QPushButton(QStringLiteral("By here day"), this);
    byHereDay_->setObjectName(QStringLiteral("Command1"));
    placeTwips(byHereDay_, kRightLeft, 480, kRightWidth, 615);
    forms::connectGuarded(byHereDay_, &QPushButton::clicked, this,
                          [this](bool) { goToMainWindowDay(); });

    date_ =
        new forms::BoundLineEdit(design_.dateField, data_->source(), QStringLiteral("Date"), this);
    date_->setAlignment(Qt::AlignCenter);
    date_->setFont(forms::arialFont(9.75, true));
    forms::setBackground(date_, kDateBackground);
    placeTwips(date_, kRightLeft, 1560, kRightWidth, 525);

    placeTwips(data_, kRightLeft, 2640, kRightWidth, 495);

    confirm_ = new QPushButton(QStringLiteral("Confirm"), this);
    confirm_->setObjectName(QStringLiteral("Command2"));
    // Beside the subtotal it carries into the daily window.
    placeTwips(confirm_, kRightLeft, kSubtotalTop, kRightWidth, kSubtotalHeight);
    forms::connectGuarded(confirm_, &QPushButton::clicked, this, [this](bool) { confirm(); });
}

void SupplySheet::buildDecoration() {
    // Two bars side by side along the bottom edge, as on the daily window.
    const int top = design_.clientHeightTwips - 480;
    const int half = (design_.clientWidthTwips - 240) / 2;
    placeTwips(new forms::DecorativeBar(QStringLiteral("Image1"), this), 120, top, half, 240);
    placeTwips(new forms::DecorativeBar(QStringLiteral("Image2"), this), 120 + half, top, half,
               240);
}

void SupplySheet::orderKeyboardFocus() {
    // Down the items, then the right-hand column.
    QWidget* previous = items_.front();
    auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (size_t i = 1; i < items_.size(); ++i) chain(items_[i]);
    chain(byHereDay_);
    chain(date_);
    chain(data_);
    chain(confirm_);
}

void SupplySheet::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SupplySheet::loadStep() {
    data_->source().setDatabasePath(forms::workspace().books());
    // The fields are still empty: the subtotal starts at "0".
    recomputeSubtotal();
}

void SupplySheet::recomputeSubtotal() {
    QStringList texts;
    for (const auto* item : items_) texts << item->text();
    subtotal_->setText(itemSubtotalText(texts));
}

daily::DailyWindowFace* SupplySheet::dailyWindowOnStoredDay() {
    daily::DailyWindowFace* main = windows::openDailyWindow();
    if (!main) {
        // Keep the sheet open with its items: nothing is lost, the user can
        // reopen the daily window and try again.
        tellDailyWindowClosed();
        return nullptr;
    }
    if (!main->showsStoredDay()) {
        // A new day before Save: any row found now would be another day's,
        // and items typed into it would land there.
        tellDayNotStored();
        return nullptr;
    }
    return main;
}

void SupplySheet::goToMainWindowDay() {
    daily::DailyWindowFace* main = dailyWindowOnStoredDay();
    if (!main) return;
    // That very sheet of the day, not the first one of its date: a day may
    // have a second sheet saved on purpose, and the items typed here belong
    // to the one the daily window shows. A day saved since this sheet read
    // its rows is found too.
    data_->source().showRow(main->storedDay());
}

void SupplySheet::confirm() {
    daily::DailyWindowFace* main = dailyWindowOnStoredDay();
    if (!main) return;
    if (!showsDay(*main)) {
        // Another day's subtotal would be filed under the daily window's day.
        forms::tell(this, QStringLiteral(
                              "This sheet shows the items of %1, not those of the daily window's "
                              "day %2. Nothing was written. Press \"By here day\" to show that "
                              "day's items, then \"Confirm\".")
                              .arg(date_->text(), main->dayShown()));
        return;
    }
    main->bringForward();
    // A change in the daily window like a keystroke: its figures follow, and
    // its own write-back stores the value with its day. When they fail, the
    // sheet stays open with its items.
    main->takePurchaseSubtotal(design_.purchase, subtotal_->text());
    unload();
}

bool SupplySheet::showsDay(const daily::DailyWindowFace& main) const {
    // The same row of the ledger, not merely the same date text.
    const ledger::RecordSource& sheet = data_->source();
    return sheet.hasCurrentRow() && !sheet.isNewRow() && sheet.bookmark() == main.storedDay();
}

void SupplySheet::tellDailyWindowClosed() {
    // The daily window opens only at login, so the user cannot bring it back
    // now; closing the sheet is the way on, and it keeps the items.
    windows::tellDailyWindowClosed(this, QStringLiteral("no day to work on"),
                                   QStringLiteral("Closing this sheet still stores its items."));
}

void SupplySheet::tellDayNotStored() {
    forms::tell(this, QStringLiteral(
                          "The daily window's day has not been saved yet, so it has no items to "
                          "show here, and this sheet's items belong to another day. Nothing was "
                          "changed. Save the day in the daily window first, then press \"By here "
                          "day\"."));
}

}  // namespace supplies
