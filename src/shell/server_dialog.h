// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;

namespace shell {

// "Connect to a database server": the address of the shop's database on a
// PostgreSQL server ("serverAddress") and, when the server asks for one, a
// password ("serverPassword"). Connect ("connect") tries them before
// anything is kept; a database without the shop's tables is offered them.
// Then the address (never the password) goes into tallowbrook.ini and the
// password into the user's password file for libpq; nothing shows it again.
class ServerDialog : public QDialog {
    Q_OBJECT
public:
    explicit ServerDialog(QWidget* parent);

    // The address now in use, without any password; empty until connected.
    const QString& connectedTo() const { return connected_; }

private:
    void connectToServer();

    QLineEdit* address_;
    QLineEdit* password_;
    QString connected_;
};

}  // namespace shell
