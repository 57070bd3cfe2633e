// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, started as a user starts it: it opens the breakfast.mdb
// beside itself, whatever folder it was started from.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>

#include "setup/schema_builder.h"

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
    setup::writeDatabaseFile(programFolder.filePath("breakfast.mdb"), true, false);
    // A decoy where the program is started: it must not be the one opened.
    setup::writeDatabaseFile(workingFolder.filePath("breakfast.mdb"), true, false);

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

TEST(ProgramStart, ADisplayThatDoesNotAnswerIsSaidPlainlyNotAborted) {
    int number = 90;
    while (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) ++number;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("DISPLAY", QStringLiteral(":%1").arg(number));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TALLOWBROOK_PROGRAM_PATH), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort";
    EXPECT_EQ(program.exitCode(), 1);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(said.contains("does not answer") && said.contains("xvfb-run"))
        << said.toStdString();
}

// A folder name with a byte that is not UTF-8 ("caf\xe9" in Latin-1): the
// program says so, with the name readable, instead of looking for
// "/breakfast.mdb".
TEST(ProgramStart, AFolderNameThatIsNotUtf8IsSaidPlainly) {
    QTemporaryDir parent;
    const std::filesystem::path folder =
        std::filesystem::path(parent.path().toStdString()) / std::string("caf\xe9 books");
    std::filesystem::create_directory(folder);
    const std::filesystem::path program = folder / "tallowbrook";
    std::filesystem::copy_file(TALLOWBROOK_PROGRAM_PATH, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);

    // A QString cannot carry the byte to exec; the shell's printf makes it.
    QProcess running;
    running.start(
        QStringLiteral("/bin/sh"),
        {"-c", "exec \"$(printf '%s/caf\\351 books/tallowbrook' \"$1\")\"", "sh", parent.path()});
    ASSERT_TRUE(running.waitForStarted());
    QString said;
    for (int tries = 0; tries < 100 && !said.contains("start it again"); ++tries) {
        running.waitForReadyRead(100);
        said += QString::fromUtf8(running.readAllStandardError());
    }
    // The message is also shown in a box, which nobody answers here.
    running.kill();
    running.waitForFinished();
    std::filesystem::remove_all(folder);  // QTemporaryDir cannot name it
    EXPECT_TRUE(said.contains("not valid text")) << said.toStdString();
    EXPECT_TRUE(said.contains("caf\\xe9 books")) << said.toStdString();
    EXPECT_FALSE(said.contains("/breakfast.mdb")) << said.toStdString();
}

// The program copied into a folder of its own with the shop's books and a
// decoy breakfast.mdb beside it, and tallowbrook.ini as the shop wrote it.
class ProgramWithSettings {
public:
    explicit ProgramWithSettings(const QByteArray& ini) {
        program = folder.filePath("tallowbrook");
        QFile::copy(QStringLiteral(TALLOWBROOK_PROGRAM_PATH), program);
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        setup::writeDatabaseFile(folder.filePath("breakfast.mdb"), true, false);
        QFile settings(folder.filePath("tallowbrook.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write(ini);
    }
    ~ProgramWithSettings() {
        running.kill();
        running.waitForFinished();
    }
    // Starts it and waits until it has `wanted` open or has said something.
    QStringList startAndWatch(const QString& wanted) {
        running.start(program, {});
        running.waitForStarted();
        QStringList open;
        for (int tries = 0; tries < 100 && !open.contains(wanted) && said.isEmpty(); ++tries) {
            running.waitForReadyRead(100);
            said += QString::fromUtf8(running.readAllStandardError());
            open = openFilesOf(running.processId());
        }
        return open;
    }
    QString canonical(const QString& name) const {
        return QFileInfo(folder.filePath(name)).canonicalFilePath();
    }

    QTemporaryDir folder;
    QString program;
    QProcess running;
    QString said;
};

TEST(ProgramSettings, ANameWithACommaAndAnAtSignOpensExactlyThatFile) {
    ProgramWithSettings shop("database=shop,@1.mdb\n");
    setup::writeDatabaseFile(shop.folder.filePath("shop,@1.mdb"), true, false);
    const QStringList open = shop.startAndWatch(shop.canonical("shop,@1.mdb"));
    EXPECT_TRUE(open.contains(shop.canonical("shop,@1.mdb")))
        << open.join("\n").toStdString() << shop.said.toStdString();
    EXPECT_FALSE(open.contains(shop.canonical("breakfast.mdb")));
}

TEST(ProgramSettings, AMisspelledSettingOpensNoBooksAndSaysWhereAndWhatToWrite) {
    ProgramWithSettings shop("[General]\ndatabse=shop.mdb\n");
    const QStringList open = shop.startAndWatch(shop.canonical("breakfast.mdb"));
    EXPECT_FALSE(open.contains(shop.canonical("breakfast.mdb"))) << open.join("\n").toStdString();
    EXPECT_TRUE(shop.said.contains(shop.folder.filePath("tallowbrook.ini") + " cannot be used"))
        << shop.said.toStdString();
    EXPECT_TRUE(shop.said.contains("line 2")) << shop.said.toStdString();
    EXPECT_TRUE(shop.said.contains("database=breakfast.mdb")) << shop.said.toStdString();
    EXPECT_FALSE(QFileInfo::exists(shop.folder.filePath("backups"))) << "no backup either";
}

}  // namespace

TEST(ProgramStart, WhereNamesTheFolderInUseWithoutADisplay) {
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.path());
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    for (const char* option : {"--where", "--help"}) {
        SCOPED_TRACE(option);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TALLOWBROOK_PROGRAM_PATH), {option});
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), 0);
        const QString said = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(said.contains("Folder in use: " + home.path() + "/tallowbrook"))
            << said.toStdString();
        EXPECT_TRUE(said.contains(home.path() + "/tallowbrook/breakfast.mdb (not there yet)"))
            << said.toStdString();
    }
}
