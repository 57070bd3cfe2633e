// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// Another till on the same books: a program of its own (the day probe of
// tests/ledger) that stores a new day for every line it is sent, unless a
// day of that date is stored, and answers one line each. Ended with the
// object.
class OtherTill {
public:
    // Starts `probe` on `books` and waits until it has them open.
    OtherTill(const QString& probe, const QString& books);
    ~OtherTill();

    // Sends one line; its answer comes with answer().
    void send(const QString& line);
    // The next line it answers ("ready", "stored", "refused", "holding" or
    // an error), or "(no answer)" after 30 s.
    QString answer();

private:
    QProcess process_;
};
