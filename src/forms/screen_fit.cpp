// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

#include "forms/decorative_bar.h"
#include "forms/workspace.h"

namespace forms {

namespace {

// Room for the window manager's title bar and borders, which a window does
// not know before it is first shown.
constexpr int kFrameAllowance = 40;

QSize availableRoom(const QWidget* window) {
    if (const QSize pinned = workspace().screen().available; pinned.isValid()) return pinned;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QSize room = screen->availableGeometry().size();
    return {room.width(), room.height() - kFrameAllowance};
}

QRect controlsExtent(const QWidget* window) {
    QRect extent;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->isWindow() || qobject_cast<DecorativeBar*>(child)) continue;
        extent |= child->geometry();
    }
    return extent;
}

// Keeps the scroll area over the whole window as the window is resized.
class ScrollAreaSizer : public QObject {
public:
    ScrollAreaSizer(QWidget* window, QScrollArea* area) : QObject(area), area_(area) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            area_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QScrollArea* area_;
};

// Moves the window's controls, each at its own place, onto a page of the
// given size that scrolls inside the window.
void scrollControls(QWidget* window, const QSize& page) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrolledControls"));
    content->resize(page);
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;
        const bool hidden = child->isHidden();
        child->setParent(content);  // a new parent hides a widget until shown
        child->setHidden(hidden);
    }
    auto* area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("ScreenFitScroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setBackgroundRole(window->backgroundRole());
    area->setWidget(content);
    area->setGeometry(window->rect());
    area->show();
    new ScrollAreaSizer(window, area);
}

}  // namespace

QSize fittedSize(const QSize& given, const QRect& controls, const QSize& available) {
    QSize wanted = given;
    if (controls.isValid())
        wanted = wanted.expandedTo(QSize(controls.right() + 1, controls.bottom() + 1));
    return available.isValid() ? wanted.boundedTo(available) : wanted;
}

void fitToScreen(QWidget* window) {
    if (window->findChild<QScrollArea*>(QStringLiteral("ScreenFitScroll"))) return;
    const QRect controls = controlsExtent(window);
    const QSize room = availableRoom(window);
    QSize fitted = fittedSize(window->size(), controls, room);
    const QSize whole = fittedSize(window->size(), controls, {});
    if (fitted != whole) {
        // A scroll bar along one side takes room the other side's controls
        // need: widen (or heighten) by it where the screen has room.
        const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (whole.height() > fitted.height())
            fitted.setWidth(std::min(room.width(), std::max(fitted.width(), whole.width() + bar)));
        if (whole.width() > fitted.width())
            fitted.setHeight(
                std::min(room.height(), std::max(fitted.height(), whole.height() + bar)));
    }
    if (fitted != window->size()) window->resize(fitted);
    if (fitted != whole) scrollControls(window, whole);
    // A window grown or placed past its screen's edge is brought back onto it.
    if (QScreen* screen = window->screen(); screen && !workspace().screen().available.isValid()) {
        const QRect area = screen->availableGeometry();
        QPoint place = window->pos();
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - fitted.width())));
        place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - fitted.height() -
                                                                kFrameAllowance)));
        if (place != window->pos()) window->move(place);
    }
}

}  // namespace forms
