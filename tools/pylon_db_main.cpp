// pylon-db: creates, fills, checks and prints database files outside the program, for tests, benchmarks and
// support; copies them and puts copies back, exports them as CSV files and prints the sales ledger. No
// windows; the store library does the work.
#include "backup_commands.h"
#include "command_line.h"
#include "db_commands.h"
#include "pdf_command.h"

#include <cstdio>

using namespace pylon::dbtool;

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    const ParsedCommandLine parsed = parseCommandLine(args);
    if (!parsed.error.isEmpty()) {
        printError(parsed.error);
        std::fprintf(stderr, "%s\n", usageLine().toUtf8().constData());
        return 2;
    }
    const Command& c = parsed.command;
    switch (c.action) {
    case Action::Init:
        return initDatabase(c.path);
    case Action::Demo:
        return makeDemo(c.path, c.demo);
    case Action::Check:
        return checkDatabase(c.path);
    case Action::Dump:
        return dumpDatabase(c.path);
    case Action::Pdf:
        return exportPdf(argc, argv, c);
    case Action::Backup:
        return backupDatabase(c.path, c.target);
    case Action::Restore:
        return restoreDatabase(c.source, c.path, c.force);
    case Action::Export:
        return exportTables(c.path, c.target);
    case Action::Import:
        return importTables(c.source, c.path);
    case Action::Journal:
        return printJournal(c.path, c.from, c.to, c.target, c.force);
    case Action::Help:
        break;
    }
    printLine(usageLine());
    return 0;
}
