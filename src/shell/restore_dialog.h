// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QListWidget;

namespace shell {

// "Restore a backup": the backups of the books, newest first, each with
// when it was taken and how many days it holds ("backupList"); Restore
// ("restore") puts the chosen one in place of the books with the checks of
// tallowbrook-db restore, keeping the books it replaces as a backup.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    RestoreDialog(const QString& books, QWidget* parent);

private:
    void restoreChosen();

    QString books_;
    QListWidget* list_;
};

}  // namespace shell
