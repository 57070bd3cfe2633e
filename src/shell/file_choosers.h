// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace shell {

// The file and folder choosers of the Books windows: the desktop's own
// dialogs in the program, answers from a script in tests.
struct FileChoosers {
    // An existing books file; empty when the user cancelled.
    std::function<QString(QWidget* parent)> booksFile;
    // An existing folder for the accountant's files; empty when cancelled.
    std::function<QString(QWidget* parent)> exportFolder;
};

FileChoosers& fileChoosers();
void resetFileChoosers();  // back to the desktop's dialogs

}  // namespace shell
