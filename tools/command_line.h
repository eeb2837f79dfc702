#pragma once
// Reading pylon-db's arguments. A mistake here is the user's, not the file's: the caller answers it with
// the usage line and exit code 2.
#include "demo_data.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace pylon::dbtool {

enum class Action { Init, Demo, Check, Dump, Pdf, Backup, Restore, Export, Import, Journal, Help };

struct Command {
    Action action = Action::Help;
    // The database file the command works on (restore and import: the file they write).
    QString path;
    demo::DemoOptions demo;
    // pdf: one document by its number, or every document of a kind (its stored name, or "Avoir") in a
    // month, into one file.
    qlonglong number = 0;
    QString kind;
    int year = 0, month = 0;
    QString output;
    // restore: the backup to put back; import: the folder of CSV files.
    QString source;
    // backup: where to (empty: the folder of snapshots beside the file); export: the folder given by
    // --csv; journal: the file given by --csv (empty: the standard output).
    QString target;
    // restore: replace an existing file, once a copy of it is kept; journal and pdf: replace an existing
    // file that is neither a database nor one's log.
    bool force = false;
    // journal: the period, both days included.
    QDate from, to;
};

struct ParsedCommandLine {
    Command command;
    QString error; // empty when the arguments make sense
};

// The arguments after the program's name.
ParsedCommandLine parseCommandLine(const QStringList& args);

QString usageLine();

} // namespace pylon::dbtool
