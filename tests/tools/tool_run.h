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

// How the process is started, beyond its arguments.
struct ToolSetting {
    QString workingFolder;      // empty: the test's own
    qint64 fileSizeLimit = -1;  // bytes a file may grow to; a write beyond fails
};

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {},
                const ToolSetting& setting = {});
