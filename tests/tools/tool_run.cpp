#include "tool_run.h"

#include <gtest/gtest.h>

#include <QProcess>

ToolRun runTool(const QStringList& arguments, const QByteArray& input) {
    QProcess tool;
    tool.start(QStringLiteral(TALLOWBROOK_DB_PATH), arguments);
    if (!input.isEmpty()) tool.write(input);
    tool.closeWriteChannel();
    EXPECT_TRUE(tool.waitForFinished(60000)) << arguments.join(' ').toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}
