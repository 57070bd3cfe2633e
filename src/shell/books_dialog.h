// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

namespace shell {

// The books' chores, from the login window's "Books…" button: where the
// books are ("where"), "Back up now", "Restore a backup…", "Export for the
// accountant…", and other books: "Open existing books…" or "Connect to a
// database server…". The caller lets the books go while it is open and
// opens them again (perhaps others) after it.
class BooksDialog : public QDialog {
    Q_OBJECT
public:
    explicit BooksDialog(QWidget* parent);

private:
    void showWhere();
    void backUpNow();
    void restore();
    void exportForAccountant();
    void takeBooks(bool (*choose)(QWidget*));

    QLabel* where_;
};

}  // namespace shell
