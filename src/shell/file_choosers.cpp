// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/file_choosers.h"

#include <QFileDialog>
#include <QStandardPaths>

namespace shell {

namespace {

FileChoosers desktopChoosers() {
    return {
        [](QWidget* parent) {
            return QFileDialog::getOpenFileName(
                parent, QStringLiteral("Open existing books"),
                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                QStringLiteral("Books (*.mdb *.db *.sqlite);;All files (*)"));
        },
        [](QWidget* parent) {
            return QFileDialog::getExistingDirectory(
                parent, QStringLiteral("Folder for the accountant's files"),
                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        },
    };
}

}  // namespace

FileChoosers& fileChoosers() {
    static FileChoosers choosers = desktopChoosers();
    return choosers;
}

void resetFileChoosers() { fileChoosers() = desktopChoosers(); }

}  // namespace shell
