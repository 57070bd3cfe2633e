// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <vector>

#include "support/server_database.h"

// A temporary program folder holding a fresh breakfast.mdb with the complete
// schema (and optionally the demo data). The program folder points at it for
// the object's lifetime.
//
// On the server run of a test program (TALLOWBROOK_TEST_BACKEND=postgres)
// the ledger is a schema of its own on the test server instead, and the
// folder's tallowbrook.ini names it, so the windows open it as they would
// the shop's server.
class TempDatabase {
public:
    explicit TempDatabase(bool withDemoData = false);
    ~TempDatabase();

    QString folder() const { return dir_.path(); }
    // The database the program opens: the file, or the server's address.
    QString path() const;
    bool onServer() const { return server_ != nullptr; }
    // On the server: the schema holding the ledger.
    QString serverSchema() const { return server_ ? server_->name() : QString(); }

    // Direct access to the database, past every record source, to set up rows
    // and to check what really got stored. Values: QString, double or null
    // QVariant. On the server, bare column names and rowid in the SQL are
    // turned into the server's quoted names and "Row key".
    void exec(const QString& sql) const;
    qint64 insert(const QString& table, const QStringList& columns,
                  const std::vector<QVariant>& values) const;
    std::vector<std::vector<QVariant>> query(const QString& sql) const;
    QVariant scalar(const QString& sql) const;

private:
    QString filePath() const;

    QTemporaryDir dir_;
    std::unique_ptr<test_server::ServerSchema> server_;
};
