// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QPushButton>
#include <QString>

// Small parts the start-up windows (first start, Books…, restore) share.
namespace shell {

// A path as the user's desktop writes it.
inline QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// A button found by its name; Enter in a field never presses it by itself.
inline QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent) {
    auto* made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

}  // namespace shell
