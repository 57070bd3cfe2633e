#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <vector>

// A temporary program folder holding a fresh breakfast.mdb with the complete
// schema (and optionally the demo data). The program folder points at it for
// the object's lifetime.
class TempDatabase {
public:
    explicit TempDatabase(bool withDemoData = false);
    ~TempDatabase();

    QString folder() const { return dir_.path(); }
    QString path() const;

    // Direct access to the file, past every record source, to set up rows and
    // to check what really got stored. Values: QString, double or null QVariant.
    void exec(const QString& sql) const;
    qint64 insert(const QString& table, const QStringList& columns,
                  const std::vector<QVariant>& values) const;
    std::vector<std::vector<QVariant>> query(const QString& sql) const;
    QVariant scalar(const QString& sql) const;

private:
    QTemporaryDir dir_;
};
