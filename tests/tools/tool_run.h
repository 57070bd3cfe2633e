// SPDX-License-Identifier: GPL-3.0-or-later
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
    QString dataHome = {};      // XDG_DATA_HOME; empty: the test run's scratch folder
    QString program = {};       // empty: the tool as built
    int waitMs = 60000;         // longer is a failure: the tool is stopped
};

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {},
                const ToolSetting& setting = {});
