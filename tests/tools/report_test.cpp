// SPDX-License-Identifier: GPL-3.0-or-later
// tallowbrook-db report: the year at a glance as a PDF of A4 pages, written
// whole or not at all; on a server database too.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "ledger/schema/schema.h"
#include "support/temp_database.h"
#include "tool_run.h"

namespace {

namespace schema = ledger::schema;

// What pdfinfo (poppler) makes of a file: its pages and page size, or
// nothing when it is no valid PDF.
struct PdfInfo {
    bool valid = false;
    int pages = 0;
    QString pageSize;
};

PdfInfo pdfInfo(const QString& file) {
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {file});
    PdfInfo info;
    if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0) return info;
    info.valid = true;
    for (const QString& line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("Pages:")) info.pages = line.mid(6).trimmed().toInt();
        if (line.startsWith("Page size:")) info.pageSize = line.mid(10).trimmed();
    }
    return info;
}

void addDay(const TempDatabase& db, const QString& day, double turnover) {
    db.insert(schema::kLedger, {"Date", "Turnover"}, {day, turnover});
}

class Report : public ::testing::Test {
protected:
    QString output(const QString& name = QStringLiteral("year.pdf")) const {
        return out.filePath(name);
    }
    QTemporaryDir out;
};

TEST_F(Report, TheDemoShopsLatestYearIsAValidPdfOfThreeA4Pages) {
    TempDatabase demo(true);
    const ToolRun run = runTool({"report", demo.path(), "--output", output()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Reported 2002 on 3 pages to ")) << run.out.toStdString();
    const PdfInfo info = pdfInfo(output());
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.pages, 3) << "the months, the wages, and November with December";
    EXPECT_TRUE(info.pageSize.contains("(A4)")) << info.pageSize.toStdString();
    EXPECT_EQ(QFileInfo(output()).permissions() & 0x0077, 0) << "the owner's alone";
}

// Two pages, and one for every two months that have days.
TEST_F(Report, AYearHasTwoPagesAndOneForEveryTwoMonthsWithDays) {
    TempDatabase db;
    for (const char* day : {"2001/4/2", "2003/1/5", "2003/1/6", "2003/2/7", "2003/5/8"})
        addDay(db, QString::fromLatin1(day), 10);
    addDay(db, "2003/6/31", 5);  // summed into June, on no day of it
    ToolRun run = runTool({"report", db.path(), "--output", output()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdfInfo(output()).pages, 4) << "January, February and May";
    run = runTool({"report", db.path(), "--year", "2001", "--output", output("2001.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdfInfo(output("2001.pdf")).pages, 3);
}

TEST_F(Report, ToStandardOutputTheWholePdfAndTheSummaryOnStandardError) {
    TempDatabase db;
    addDay(db, "2002/3/1", 10);
    const ToolRun run = runTool({"report", db.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("%PDF-"));
    EXPECT_TRUE(run.err.contains("Reported 2002 on 3 pages to standard output."))
        << run.err.toStdString();
}

TEST_F(Report, NothingToReportOrAWrongRequestFailsAndWritesNothing) {
    TempDatabase db;
    ToolRun run = runTool({"report", db.path(), "--output", output()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("holds no days and no wages: there is no year to report"))
        << run.err.toStdString();

    addDay(db, "2002/3/1", 10);
    run = runTool({"report", db.path(), "--year", "2005", "--output", output()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("holds no days and no wages in 2005 (it holds 2002)"))
        << run.err.toStdString();

    run = runTool({"report", db.path(), "--year", "next", "--output", output()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--year 'next' is not a year")) << run.err.toStdString();

    run = runTool({"report", out.filePath("missing.mdb"), "--output", output()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("does not exist")) << run.err.toStdString();

    if (!db.onServer()) {
        run = runTool({"report", db.path(), "--output", db.path()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("is the database being reported on")) << run.err.toStdString();
    }
    run = runTool({"export", db.path(), "days", "--year", "2002"});
    EXPECT_EQ(run.exitCode, 2) << "only the report takes --year";
    EXPECT_FALSE(QFileInfo::exists(output()));
}

TEST_F(Report, AReportThatCannotBeWrittenLeavesTheEarlierFileAsItWas) {
    TempDatabase db;
    addDay(db, "2002/3/1", 10);
    QFile earlier(output());
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier report");
    earlier.close();
    // A file may grow to 2,000 bytes only: the PDF does not fit.
    ToolSetting small;
    small.fileSizeLimit = 2000;
    const ToolRun run = runTool({"report", db.path(), "--output", output()}, {}, small);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the earlier file is left as it was")) << run.err.toStdString();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "an earlier report");
}

}  // namespace
