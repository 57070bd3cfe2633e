// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QProcess>
#include <csignal>

ToolRun runTool(const QStringList& arguments, const QByteArray& input, const ToolSetting& setting) {
    QProcess tool;
    if (!setting.workingFolder.isEmpty()) tool.setWorkingDirectory(setting.workingFolder);
    const qint64 limit = setting.fileSizeLimit;
    tool.setChildProcessModifier([limit] {
        // The usual umask, which lets everyone read new files: whatever the
        // tool makes for the owner alone it must make so itself.
        ::umask(022);
        if (limit < 0) return;
        // A write beyond the limit fails with EFBIG, as one on a full disk
        // fails with ENOSPC, instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        ::setrlimit(RLIMIT_FSIZE, &size);
    });
    if (!setting.dataHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), setting.dataHome);
        tool.setProcessEnvironment(environment);
    }
    tool.start(setting.program.isEmpty() ? QStringLiteral(TALLOWBROOK_DB_PATH) : setting.program,
               arguments);
    if (!input.isEmpty()) tool.write(input);
    tool.closeWriteChannel();
    EXPECT_TRUE(tool.waitForFinished(setting.waitMs)) << arguments.join(' ').toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}
