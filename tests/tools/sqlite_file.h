// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// Reading a database file the tool wrote, straight through SQLite.
namespace sqlite_file {

std::vector<std::vector<QVariant>> query(const QString& path, const QString& sql);
void exec(const QString& path, const QString& sql);
// What the schema check finds missing in the file.
QStringList problems(const QString& path);

// Raw bytes of a file, for headers and "left as it was" checks.
bool writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

}  // namespace sqlite_file
