// SPDX-License-Identifier: GPL-3.0-or-later
#include "command.h"
#include "setup/schema_builder.h"

namespace tools {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {QStringLiteral("create"),
         QStringLiteral("[PATH]"),
         QStringLiteral("a new database with every table, choice list and saved query"),
         1,
         true,
         createCommand,
         0,
         {},
         0},
        {QStringLiteral("demo"),
         QStringLiteral("[PATH]"),
         QStringLiteral("the same, filled with demo staff, days and wages\n(log in as %1, "
                        "password %2)")
             .arg(setup::kDemoLoginName, setup::kDemoLoginPassword),
         1,
         true,
         demoCommand,
         0,
         {},
         0},
        {QStringLiteral("check"),
         QStringLiteral("[PATH]"),
         QStringLiteral("list what the file lacks for the program; exit status 0\nonly when "
                        "nothing is missing; then keep its month totals\n(made for books of "
                        "an earlier version, counted again\nwhen they were changed by hand)"),
         1,
         false,
         checkCommand,
         0,
         {},
         0},
        {QStringLiteral("add-staff"),
         QStringLiteral("[PATH] NAME"),
         QStringLiteral("add a member of staff who can log in; the password is\nread from "
                        "standard input (not shown on a terminal)"),
         2,
         false,
         addStaffCommand,
         0,
         {},
         0},
        {QStringLiteral("backup"),
         QStringLiteral("[PATH [DEST]]"),
         QStringLiteral("copy the file, even while the program has it open, into\n"
                        "the folder DEST (the backups folder beside PATH when not\n"
                        "given) under its date and time to the second, e.g.\n"
                        "breakfast-2026-12-08-093015.mdb (-2, -3, ... when taken\n"
                        "in the same second); the newest 30 there are kept. A DEST\n"
                        "that is no folder and ends in .mdb, .db or .sqlite is the\n"
                        "backup file itself; an existing file is never replaced"),
         1,
         false,
         backupCommand,
         1,
         {},
         0},
        {QStringLiteral("restore"),
         QStringLiteral("BACKUP [PATH]"),
         QStringLiteral("put a backup in place of PATH after the same check as\n"
                        "check; refused while a program has PATH open; the replaced\n"
                        "file is kept as a backup; done only when PATH then holds\n"
                        "exactly what BACKUP holds"),
         2,
         false,
         restoreCommand,
         0,
         {},
         1},
        {QStringLiteral("export"),
         QStringLiteral("[PATH] WHAT [--from YYYY/M/D] [--to YYYY/M/D] [--output FILE]"),
         QStringLiteral("write WHAT (days, months, wages or salaries) as CSV for a\n"
                        "spreadsheet: UTF-8 with a byte-order mark, amounts as the\n"
                        "windows show them, in calendar order; --from and --to keep\n"
                        "the days (or months) in that range; to standard output\n"
                        "unless --output names a file"),
         2,
         false,
         exportCommand,
         0,
         {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("output")},
         0},
        {QStringLiteral("history"),
         QStringLiteral("[PATH] [--from YYYY/M/D] [--to YYYY/M/D] [--output FILE]"),
         QStringLiteral("write every change the books recorded (days, supply\n"
                        "sheets, staff, wages) as CSV for the accountant, oldest\n"
                        "first: when, which till, who was logged in, which row,\n"
                        "each value before and after; --from and --to keep the\n"
                        "changes made on those days; to standard output unless\n"
                        "--output names a file"),
         1,
         false,
         historyCommand,
         0,
         {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("output")},
         0},
        {QStringLiteral("copy"), QStringLiteral("FROM TO"),
         QStringLiteral("copy a whole ledger, every row, between a file and a server\n"
                        "database (postgresql://...) either way; TO is a new file or a\n"
                        "server database without the shop's tables (--force replaces\n"
                        "them); afterwards the rows, the amount totals and every\n"
                        "value are compared on both sides"),
         2, true, copyCommand},
        {QStringLiteral("report"),
         QStringLiteral("[PATH] [--year YYYY] [--output FILE.pdf]"),
         QStringLiteral("the year at a glance as a PDF on A4 pages: the months\n"
                        "with the month table, the wages against the books and\n"
                        "the days of each month; the latest year in the books\n"
                        "unless --year names one; to standard output unless\n"
                        "--output names a file"),
         1,
         false,
         reportCommand,
         0,
         {QStringLiteral("year"), QStringLiteral("output")},
         0,
         true},
    };
    return all;
}

int failure(const CommandCall& call, const QString& message) {
    call.err << "tallowbrook-db: " << message << Qt::endl;
    return 1;
}

int usageError(const CommandCall& call, const QString& message) {
    call.err << "tallowbrook-db: " << message << Qt::endl
             << "Try 'tallowbrook-db --help' for more information." << Qt::endl;
    return 2;
}

const Command* findCommand(const QString& name) {
    for (const Command& command : commands())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace tools
