// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/first_picture.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace forms {

namespace {

class FirstPictureWatch : public QObject {
public:
    FirstPictureWatch(QWidget* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }
    ~FirstPictureWatch() override { run(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            // The picture reaches the screen once this event is handled.
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { run(); });
        } else if (event->type() == QEvent::Hide) {
            run();
        }
        return false;
    }

private:
    void run() {
        if (!then_) return;
        const std::function<void()> then = std::exchange(then_, nullptr);
        then();
    }

    std::function<void()> then_;
};

}  // namespace

QObject* afterFirstPicture(QWidget* window, std::function<void()> then) {
    return new FirstPictureWatch(window, std::move(then));
}

}  // namespace forms
