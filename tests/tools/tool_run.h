#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// tallowbrook-db run as a separate process, as the user runs it.
struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {});
