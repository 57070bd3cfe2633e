// The real program, started as a user starts it: it opens the breakfast.mdb
// beside itself, whatever folder it was started from.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "schema_builder.h"

namespace {

// The files a running process has open, as the kernel lists them.
QStringList openFilesOf(qint64 pid) {
    QStringList files;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        files << fd.symLinkTarget();
    return files;
}

TEST(ProgramFolder, TheProgramOpensTheFileBesideItselfFromAnyWorkingFolder) {
    QTemporaryDir programFolder, workingFolder;
    const QString program = programFolder.filePath("tallowbrook");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALLOWBROOK_PROGRAM_PATH), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    ledger::writeDatabaseFile(programFolder.filePath("breakfast.mdb"), true, false);
    // A decoy where the program is started: it must not be the one opened.
    ledger::writeDatabaseFile(workingFolder.filePath("breakfast.mdb"), true, false);

    QProcess running;
    running.setWorkingDirectory(workingFolder.path());
    running.start(program, {});
    ASSERT_TRUE(running.waitForStarted());
    QStringList open;
    const QString expected = QFileInfo(programFolder.filePath("breakfast.mdb")).canonicalFilePath();
    for (int tries = 0; tries < 100 && !open.contains(expected); ++tries) {
        QThread::msleep(100);
        open = openFilesOf(running.processId());
    }
    running.kill();
    running.waitForFinished();
    EXPECT_TRUE(open.contains(expected)) << open.join("\n").toStdString() << "\n"
                                         << running.readAllStandardError().toStdString();
    EXPECT_FALSE(
        open.contains(QFileInfo(workingFolder.filePath("breakfast.mdb")).canonicalFilePath()));
}

}  // namespace
