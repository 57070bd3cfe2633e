#pragma once

#include <QString>
#include <QTextStream>

// The work behind each command of tallowbrook-db. Each returns the process's
// exit status: 0 done, 1 failed (the reason is on `err`).
namespace tools {

int createDatabase(const QString& path, bool withDemoData, bool force, QTextStream& out,
                   QTextStream& err);

// Lists what the file lacks for the program; 0 only when nothing is missing.
int checkDatabase(const QString& path, QTextStream& out, QTextStream& err);

// Adds a member of staff with the password read from standard input (not
// echoed on a terminal, asked twice there).
int addStaff(const QString& path, const QString& name, QTextStream& out, QTextStream& err);

}  // namespace tools
